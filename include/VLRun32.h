/*
 * VLRun32.h - calling VLRun32.dll from a C or C++ host.
 *
 * Three exports are ordinary stdcall functions (declared below). The other
 * thirteen, the buffer exports, take the address of one writable text buffer
 * in register EBX, return with a plain `ret` and keep EBX, ESI, EDI, EBP and
 * ESP; EAX holds the result (the buffer's address, the platform's result, or
 * nothing defined, depending on the export). No C compiler declares such a
 * function, so call them through VLRun32_CallBuffer():
 *
 *     VLRun32_BufferExport fn = (VLRun32_BufferExport)GetProcAddress(dll, "GetFileName");
 *     char buffer[1024] = "abc.txt";
 *     VLRun32_CallBuffer(fn, buffer);          // buffer now holds ".\abc.txt"
 *
 * A buffer of 1,024 bytes holds the result of every export.
 */
#ifndef VLRUN32_H
#define VLRUN32_H

#ifdef __cplusplus
extern "C" {
#endif

#if !defined(_M_IX86) && !defined(__i386__)
#error "VLRun32.dll is a 32-bit x86 library; build the host for i386."
#endif

/* Stack exports (stdcall). With the import library, link them by name. */
#ifdef VLRUN32_IMPORTS
__declspec(dllimport) unsigned long __stdcall RunProcess(const char* command, long wait);
__declspec(dllimport) char* __stdcall UnquoteString(char* text);
__declspec(dllimport) void __stdcall GetResourceMacro(unsigned long ignored);
#endif

typedef unsigned long(__stdcall* VLRun32_RunProcess)(const char* command, long wait);
typedef char*(__stdcall* VLRun32_UnquoteString)(char* text);
typedef void(__stdcall* VLRun32_GetResourceMacro)(unsigned long ignored);

/* A buffer export as GetProcAddress gives it: not callable directly. */
typedef void (*VLRun32_BufferExport)(void);

/* Calls a buffer export with `buffer` in EBX; returns what it left in EAX. */
static __inline unsigned long VLRun32_CallBuffer(VLRun32_BufferExport fn, char* buffer)
{
    unsigned long result;
#if defined(_MSC_VER)
    __asm {
        push ebx
        mov ebx, buffer
        call fn
        pop ebx
        mov result, eax
    }
#else
    __asm__ __volatile__("call *%2"
                         : "=a"(result)
                         : "b"(buffer), "r"(fn)
                         : "ecx", "edx", "memory", "cc");
#endif
    return result;
}

#ifdef __cplusplus
}
#endif

#endif /* VLRUN32_H */
