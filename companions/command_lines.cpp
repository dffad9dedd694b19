#include "companions/command_lines.h"

#include <cstring>

namespace {

// Length of s, or `limit` when s has no terminator in its first `limit` bytes.
// Never reads past the terminator or past `limit` bytes.
size_t bounded_length(const char* s, size_t limit)
{
    size_t n = 0;
    while (n < limit && s[n] != 0)
        ++n;
    return n;
}

bool fail(char* out, size_t cap)
{
    if (cap > 0)
        out[0] = 0;
    return false;
}

// Writes head followed by the tail pieces into out. head may be out itself.
bool join(char* out, size_t cap, const char* head, const char* const* tail, size_t tail_count)
{
    if (cap == 0)
        return false;
    size_t used = bounded_length(head, cap);
    if (used >= cap)
        return fail(out, cap);
    if (head != out)
        std::memcpy(out, head, used);
    for (size_t i = 0; i < tail_count; ++i) {
        size_t room = cap - 1 - used;       // bytes left before the terminator
        size_t len = bounded_length(tail[i], room + 1);
        if (len > room)
            return fail(out, cap);
        std::memcpy(out + used, tail[i], len);
        used += len;
    }
    out[used] = 0;
    return true;
}

}  // namespace

bool build_wizard_command(char* out, size_t cap, const char* data_path)
{
    const char* const tail[] = {"vlwizpro.exe \"99\""};
    return join(out, cap, data_path, tail, 1);
}

bool build_selector_command(char* out, size_t cap, const char* location, const char* base)
{
    const char* const tail[] = {" \"", base, " \""};
    return join(out, cap, location, tail, 3);
}

bool build_answer_file_name(char* out, size_t cap, const char* base)
{
    const char* const tail[] = {".txa"};
    return join(out, cap, base, tail, 1);
}
