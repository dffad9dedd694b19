// Stack exports use the platform's standard calling convention (stdcall):
// arguments pushed right to left and removed by the export. The module
// definition file maps each undecorated export name to its decorated symbol.
#pragma once

#define VL_STACK_EXPORT(type) extern "C" type __stdcall
