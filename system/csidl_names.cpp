#include "system/csidl_names.h"

#include <cstring>

namespace {

constexpr bool ascending_without_12_to_15_or_above_48() {
    int previous = -1;
    for (const CsidlName& entry : kCsidlNames) {
        if (entry.value <= previous || (entry.value >= 12 && entry.value <= 15) || entry.value > 48)
            return false;
        previous = entry.value;
    }
    return true;
}
static_assert(sizeof kCsidlNames / sizeof kCsidlNames[0] == 45, "the table has 45 names");
static_assert(ascending_without_12_to_15_or_above_48(), "the table runs 0 to 11, then 16 to 48");

}  // namespace

int csidl_value(const char* name) {
    for (const CsidlName& entry : kCsidlNames)
        if (std::strcmp(entry.name, name) == 0)
            return entry.value;
    return kCsidlDefault;
}
