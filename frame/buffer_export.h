// Buffer exports take their one argument, the host's text buffer, in EBX and
// return with a plain `ret`: a calling convention no compiler offers. Each one
// is therefore a few instructions of assembly in front of an ordinary cdecl
// routine, which the compiler keeps honest about EBX, ESI, EDI, EBP and ESP.
//
//   VL_BUFFER_EXPORT(GetFileName, host) { ...; return vl_result(host); }
//
// declares the export's stub and opens the routine behind it. The stub clears
// the direction flag, passes EBX as the routine's argument and leaves the
// routine's result in EAX. A null host buffer returns 0 at once, untouched.
#pragma once

#include <cstdint>

#define VL_BUFFER_EXPORT(Export, host)                                        \
    __asm__(".text\n"                                                         \
            "\t.globl _" #Export "\n"                                         \
            "\t.def _" #Export "; .scl 2; .type 32; .endef\n"                 \
            "\t.p2align 4\n"                                                  \
            "_" #Export ":\n"                                                 \
            "\tcld\n"                                                         \
            "\txorl %eax, %eax\n"                                             \
            "\ttestl %ebx, %ebx\n"                                            \
            "\tjz 1f\n"                                                       \
            "\tpushl %ebx\n"                                                  \
            "\tcall _vl_" #Export "\n"                                        \
            "\taddl $4, %esp\n"                                               \
            "1:\tret\n");                                                     \
    extern "C" std::uintptr_t vl_##Export(char* host)

// The result of an export that answers with the host buffer's address.
inline std::uintptr_t vl_result(const char* host) {
    return reinterpret_cast<std::uintptr_t>(host);
}
