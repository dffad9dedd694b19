#pragma once
// Expected division of INI write requests into section, key, value and file
// name, shared by the native tests and the tests of the built library.
// Plain data only: no test framework. A null field is absent.

struct RequestFieldCase {
    const char* request;
    int count;
    const char* fields[4];
};

constexpr RequestFieldCase kRequestFieldCases[] = {
    // The five shapes.
    {"Sec,Key,Val,file.ini", 4, {"Sec", "Key", "Val", "file.ini"}},
    {"Sec,Key,Val", 3, {"Sec", "Key", "Val", nullptr}},
    {"Sec,Key", 2, {"Sec", "Key", nullptr, nullptr}},
    {"Sec", 1, {"Sec", nullptr, nullptr, nullptr}},
    {"", 0, {nullptr, nullptr, nullptr, nullptr}},
    {",", 0, {nullptr, nullptr, nullptr, nullptr}},
    {",,,,", 0, {nullptr, nullptr, nullptr, nullptr}},
    // Everything after the comma that ends the fourth field is ignored.
    {"Sec,Key,Val,file.ini,extra,more", 4, {"Sec", "Key", "Val", "file.ini"}},
    {"Sec,Key,Val,file.ini,", 4, {"Sec", "Key", "Val", "file.ini"}},
    // A comma inside the value splits it; the second piece becomes the file.
    {"Sec,Key,v1,v2,file.ini", 4, {"Sec", "Key", "v1", "v2"}},
    // An empty field lets the next one move up.
    {"Sec,,Val,file.ini", 3, {"Sec", "Val", "file.ini", nullptr}},
    {"a,,,,b", 2, {"a", "b", nullptr, nullptr}},
    // Leading and trailing commas change nothing.
    {",,Sec,Key,Val,file.ini,,", 4, {"Sec", "Key", "Val", "file.ini"}},
    {",Sec", 1, {"Sec", nullptr, nullptr, nullptr}},
    {"Sec,", 1, {"Sec", nullptr, nullptr, nullptr}},
    {",Sec,Key,", 2, {"Sec", "Key", nullptr, nullptr}},
    // Nothing is trimmed: blanks and quotes belong to their field.
    {"  Sec , Key\t,\"Val\", 'f.ini' ", 4, {"  Sec ", " Key\t", "\"Val\"", " 'f.ini' "}},
    {"Sec, Key", 2, {"Sec", " Key", nullptr, nullptr}},
    {" ", 1, {" ", nullptr, nullptr, nullptr}},
    {" , ", 2, {" ", " ", nullptr, nullptr}},
    {"Last scheme,x=y;z", 2, {"Last scheme", "x=y;z", nullptr, nullptr}},
};
