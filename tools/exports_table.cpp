#include "exports_table.h"

#include <cstring>

const ExportInfo kExports[] = {
    {"RunProcess", 1, CallKind::Stack, 8, "sn", "COMMAND WAIT", true},
    {"UnquoteString", 2, CallKind::Stack, 4, "s", "TEXT", true},
    {"GetResourceMacro", 3, CallKind::Stack, 4, "n", "[VALUE]", false},
    {"RunAssociatedFile", 4, CallKind::Buffer, 0, "", "FILE", true},
    {"PutIniW", 5, CallKind::Buffer, 0, "", "SECTION,KEY,VALUE,FILE", false},
    {"SaveConfigFile", 6, CallKind::Buffer, 0, "", "SCHEME", true},
    {"SaveDictionaryFile", 7, CallKind::Buffer, 0, "", "DICTIONARY", true},
    {"GetFileName", 8, CallKind::Buffer, 0, "", "FILE-NAME", true},
    {"GetFileNameOnly", 9, CallKind::Buffer, 0, "", "FILE-NAME", true},
    {"VLWGetTempPath", 10, CallKind::Buffer, 0, "", "", true},
    {"VLWGetTempFilename", 11, CallKind::Buffer, 0, "", "[PREFIX]", true},
    {"wDebug", 12, CallKind::Buffer, 0, "", "TEXT", false},
    {"ProCheckTXA", 13, CallKind::Buffer, 0, "", "", true},
    {"ReporterSelectLayout", 14, CallKind::Buffer, 0, "", "BASE-NAME", true},
    {"UsingLargeFonts", 15, CallKind::Buffer, 0, "", "", true},
    {"GetCSIDL", 16, CallKind::Buffer, 0, "", "CSIDL_NAME", false},
};
const int kExportCount = sizeof kExports / sizeof kExports[0];

const ExportInfo* find_export(const char* name) {
    for (const ExportInfo& e : kExports)
        if (std::strcmp(e.name, name) == 0)
            return &e;
    return nullptr;
}
