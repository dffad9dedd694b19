/* A C host as a host developer would write one: it includes VLRun32.h, links
   the stack exports through the import library and calls a buffer export
   through VLRun32_CallBuffer. Exits 0 when every answer is right. */
#define VLRUN32_IMPORTS
#include "VLRun32.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

static int failures = 0;

static void expect_text(const char* what, const char* got, const char* want)
{
    if (strcmp(got, want) != 0) {
        printf("FAIL %s: got \"%s\", want \"%s\"\n", what, got, want);
        ++failures;
    }
}

int main(void)
{
    char text[] = "'quoted'";
    char buffer[1024] = "abc.txt";
    HMODULE dll = GetModuleHandleA("VLRun32.dll");
    VLRun32_BufferExport get_file_name;
    unsigned long result;

    /* Stack exports, linked by name. */
    GetResourceMacro(7);
    if (UnquoteString(text) != text)
        printf("FAIL UnquoteString did not return its argument\n"), ++failures;
    expect_text("UnquoteString", text, "quoted");
    if (RunProcess("no-such-program-for-the-header-test.exe", 1) != 0)
        printf("FAIL RunProcess started a missing program\n"), ++failures;

    /* A buffer export, through the header's call. */
    get_file_name = (VLRun32_BufferExport)GetProcAddress(dll, "GetFileName");
    if (!get_file_name) {
        printf("FAIL no GetFileName\n");
        return 1;
    }
    result = VLRun32_CallBuffer(get_file_name, buffer);
    expect_text("GetFileName", buffer, ".\\abc.txt");
    if (result != (unsigned long)buffer)
        printf("FAIL GetFileName returned 0x%08lX\n", result), ++failures;

    printf("%s\n", failures ? "header host: FAILED" : "header host: all answers right");
    return failures ? 1 : 0;
}
