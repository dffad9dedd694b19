// PutIniW: one INI write named by a request "section,key,value,file". The
// request is divided on a heap copy, so the host buffer is only read; absent
// fields go to the platform as null arguments. The outcome is not reported.
#include <cstring>

#include "frame/buffer_export.h"
#include "platform/scoped.h"
#include "settings/profile_text.h"
#include "settings/request_fields.h"

VL_BUFFER_EXPORT(PutIniW, host) {
    const std::size_t length = std::strlen(host);
    ScopedHeapBlock copy(length + 1);
    // Without memory for the copy there is nothing to divide: no write.
    if (!copy.get())
        return 0;
    std::memcpy(copy.get(), host, length + 1);

    char* fields[4];
    split_request(copy.get(), fields);
    for (const char* field : fields)
        if (!fits_profile_text(field))
            return 0;
    WritePrivateProfileStringA(fields[0], fields[1], fields[2], fields[3]);
    return 0;
}
