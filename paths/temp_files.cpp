// VLWGetTempPath and VLWGetTempFilename: the system's temporary directory,
// and a new empty file created there, answered without its extension. Both
// leave a trace in the debugger output.
#include <cstring>

#include "frame/buffer_export.h"
#include "frame/copy_out.h"
#include "frame/load_state.h"
#include "paths/append_text.h"
#include "paths/file_name_split.h"
#include "platform/win32.h"

namespace {

constexpr DWORD kWorkBufferSize = 1024;

// The temporary directory into `path`; the empty text when the platform gives
// none or it does not fit.
void temp_path(char (&path)[kWorkBufferSize]) {
    const DWORD length = GetTempPathA(kWorkBufferSize, path);
    if (length == 0 || length >= kWorkBufferSize)
        path[0] = '\0';
}

// The prefix for a temporary file: the first three characters of `text`,
// where a double-byte character counts as one and is never cut in two. The
// host's text itself is left as it is.
void take_prefix(const char* text, char (&prefix)[7]) {
    const LeadBytes& lead = g_load_state.lead_bytes;
    std::size_t n = 0;
    for (int characters = 0; characters < 3 && text[n] != '\0'; ++characters) {
        const bool double_byte = double_byte_at(lead, reinterpret_cast<const unsigned char*>(text + n));
        prefix[n] = text[n];
        ++n;
        if (double_byte) {
            prefix[n] = text[n];
            ++n;
        }
    }
    prefix[n] = '\0';
}

}  // namespace

VL_BUFFER_EXPORT(VLWGetTempPath, host) {
    char path[kWorkBufferSize];
    temp_path(path);
    OutputDebugStringA(path);
    copy_out(host, path);
    return vl_result(host);
}

VL_BUFFER_EXPORT(VLWGetTempFilename, host) {
    OutputDebugStringA("VLWGetTempFilename");
    if (host[0] == '\0')
        copy_out(host, "VLP");
    char prefix[7];
    take_prefix(host, prefix);

    char path[kWorkBufferSize];
    temp_path(path);
    // Without a temporary directory no file is made (the platform would put
    // it in the current directory instead); the answer is then the empty text.
    char file[kWorkBufferSize];
    file[0] = '\0';
    if (path[0] != '\0' && GetTempFileNameA(path, prefix, 0, file) == 0)
        file[0] = '\0';

    char drive[3], dir[kSplitPartMax + 1], name[kSplitPartMax + 1], ext[kSplitPartMax + 1];
    split_file_name(file, g_load_state.lead_bytes, drive, dir, name, ext);
    // The extension is left out; the file on disk keeps it.
    char answer[sizeof drive + sizeof dir + sizeof name];
    char* end = answer;
    append_text(&end, drive);
    append_text(&end, dir);
    append_text(&end, name);
    *end = '\0';
    copy_out(host, answer);
    return vl_result(host);
}
