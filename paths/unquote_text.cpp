#include "paths/unquote_text.h"

#include <cstring>

char* unquote_text(char* text)
{
    size_t n = std::strlen(text);
    size_t start = (n > 0 && text[0] == '\'') ? 1 : 0;
    size_t end = (n > 0 && text[n - 1] == '\'') ? n - 1 : n;
    if (start >= end) {
        text[0] = 0;
        return text;
    }
    size_t len = end - start;
    if (start != 0)
        std::memmove(text, text + start, len);
    text[len] = 0;
    return text;
}
