#include "frame/load_state.h"

LoadState g_load_state;

void take_load_state() {
    CPINFO info{};
    if (GetCPInfo(GetACP(), &info) && info.MaxCharSize > 1)
        lead_bytes_from_ranges(g_load_state.lead_bytes, info.LeadByte, MAX_LEADBYTES);
    g_load_state.std_output = GetStdHandle(STD_OUTPUT_HANDLE);
}
