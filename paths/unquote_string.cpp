// UnquoteString: takes away a single quote at the start and one at the end of
// the caller's text, in place, and gives back the text's address.
#include "frame/stack_export.h"
#include "paths/unquote_text.h"

// The text is rewritten where it lies, with no staging copy, so a text of any
// length gets the same treatment as a short one.
VL_STACK_EXPORT(char*) UnquoteString(char* text) {
    if (text == nullptr)
        return nullptr;
    return unquote_text(text);
}
