// The CSIDL constant names that GetCSIDL knows, with the shell's values for
// them. Plain data and a lookup, no Windows header: the values are fixed.
#pragma once

struct CsidlName {
    const char* name;
    int value;
};

// In ascending value order: 0 to 11, then 16 to 48. Values 12 to 15 and
// everything above 48 have no entry.
inline constexpr CsidlName kCsidlNames[] = {
    {"CSIDL_DESKTOP", 0},
    {"CSIDL_INTERNET", 1},
    {"CSIDL_PROGRAMS", 2},
    {"CSIDL_CONTROLS", 3},
    {"CSIDL_PRINTERS", 4},
    {"CSIDL_PERSONAL", 5},
    {"CSIDL_FAVORITES", 6},
    {"CSIDL_STARTUP", 7},
    {"CSIDL_RECENT", 8},
    {"CSIDL_SENDTO", 9},
    {"CSIDL_BITBUCKET", 10},
    {"CSIDL_STARTMENU", 11},
    {"CSIDL_DESKTOPDIRECTORY", 16},
    {"CSIDL_DRIVES", 17},
    {"CSIDL_NETWORK", 18},
    {"CSIDL_NETHOOD", 19},
    {"CSIDL_FONTS", 20},
    {"CSIDL_TEMPLATES", 21},
    {"CSIDL_COMMON_STARTMENU", 22},
    {"CSIDL_COMMON_PROGRAMS", 23},
    {"CSIDL_COMMON_STARTUP", 24},
    {"CSIDL_COMMON_DESKTOPDIRECTORY", 25},
    {"CSIDL_APPDATA", 26},
    {"CSIDL_PRINTHOOD", 27},
    {"CSIDL_LOCAL_APPDATA", 28},
    {"CSIDL_ALTSTARTUP", 29},
    {"CSIDL_COMMON_ALTSTARTUP", 30},
    {"CSIDL_COMMON_FAVORITES", 31},
    {"CSIDL_INTERNET_CACHE", 32},
    {"CSIDL_COOKIES", 33},
    {"CSIDL_HISTORY", 34},
    {"CSIDL_COMMON_APPDATA", 35},
    {"CSIDL_WINDOWS", 36},
    {"CSIDL_SYSTEM", 37},
    {"CSIDL_PROGRAM_FILES", 38},
    {"CSIDL_MYPICTURES", 39},
    {"CSIDL_PROFILE", 40},
    {"CSIDL_SYSTEMX86", 41},
    {"CSIDL_PROGRAM_FILESX86", 42},
    {"CSIDL_PROGRAM_FILES_COMMON", 43},
    {"CSIDL_PROGRAM_FILES_COMMONX86", 44},
    {"CSIDL_COMMON_TEMPLATES", 45},
    {"CSIDL_COMMON_DOCUMENTS", 46},
    {"CSIDL_COMMON_ADMINTOOLS", 47},
    {"CSIDL_ADMINTOOLS", 48},
};

// What a name outside the table selects: the personal documents folder.
inline constexpr int kCsidlDefault = 5;

// The value of the entry whose name equals `name` byte for byte over its
// whole length, or kCsidlDefault when none does. No case folding here.
int csidl_value(const char* name);
