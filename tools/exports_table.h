// The one table of VLRun32.dll's exports and how each is called: vlcall and
// the tests learn the calling conventions from here.
#pragma once

enum class CallKind { Buffer, Stack };

struct ExportInfo {
    const char* name;
    int ordinal;
    CallKind kind;
    int stack_bytes;      // arguments a stack export removes
    const char* params;   // a stack export's arguments: 's' text, 'n' number
    const char* usage;    // what the host passes; "[...]" optional, "" nothing
    bool returns_value;   // false: EAX holds nothing defined on return
};

extern const ExportInfo kExports[];
extern const int kExportCount;

// The entry for `name` (exact case), or null.
const ExportInfo* find_export(const char* name);
