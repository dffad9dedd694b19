#include "settings/request_fields.h"

int split_request(char* copy, char* fields[4])
{
    for (int i = 0; i < 4; ++i)
        fields[i] = nullptr;

    int count = 0;
    char* p = copy;
    while (count < 4) {
        while (*p == ',')
            ++p;
        if (*p == 0)
            break;
        fields[count++] = p;
        while (*p != 0 && *p != ',')
            ++p;
        if (*p == 0)
            break;
        *p++ = 0;
    }
    return count;
}
