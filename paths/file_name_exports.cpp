// GetFileName and GetFileNameOnly: the host's file name divided by the
// file-name split, and answered either whole, with ".\" in front when it names
// neither drive nor directory, or as its bare name.
#include "frame/buffer_export.h"
#include "frame/copy_out.h"
#include "frame/load_state.h"
#include "paths/append_text.h"
#include "paths/file_name_split.h"

namespace {

// The four parts of one split, in buffers of their own.
struct FileNameParts {
    char drive[3];
    char dir[kSplitPartMax + 1];
    char name[kSplitPartMax + 1];
    char ext[kSplitPartMax + 1];

    explicit FileNameParts(const char* text) {
        split_file_name(text, g_load_state.lead_bytes, drive, dir, name, ext);
    }
};

}  // namespace

VL_BUFFER_EXPORT(GetFileName, host) {
    FileNameParts parts(host);
    // The parts are joined in a buffer of the export's own, then copied out
    // whole. Together they never exceed the 260 considered bytes (262 with
    // ".\" in front); the buffer has room for every part at its limit anyway.
    char answer[2 + sizeof parts.drive + 3 * kSplitPartMax + 1];
    char* end = answer;
    if (parts.drive[0] == '\0' && parts.dir[0] == '\0') {
        append_text(&end, ".\\");
    } else {
        append_text(&end, parts.drive);
        append_text(&end, parts.dir);
    }
    append_text(&end, parts.name);
    append_text(&end, parts.ext);
    *end = '\0';
    copy_out(host, answer);
    return vl_result(host);
}

VL_BUFFER_EXPORT(GetFileNameOnly, host) {
    FileNameParts parts(host);
    copy_out(host, parts.name);
    return vl_result(host);
}
