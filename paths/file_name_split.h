#pragma once
// The file-name split: divides a file name into drive, directory, name and
// extension. Pure text work; it touches no file and keeps nothing between calls.

#include "paths/lead_bytes.h"

// Largest number of input bytes that take part in a split, and largest length
// of the directory, name and extension parts.
constexpr size_t kSplitInputMax = 260;
constexpr size_t kSplitPartMax = 255;

// Splits `text` into the four outputs, which it empties first. Only the first
// 260 bytes take part, never ending inside a double-byte character; a lone
// lead byte at the end of the text is dropped. Parts longer than 255 bytes are
// cut, at 254 when the 255th byte begins a double-byte character.
// Buffers: `drive` at least 3 bytes, `dir`, `name` and `ext` at least 256.
// Drive, directory, name and extension put together give back the considered
// text, unless a part was cut.
void split_file_name(const char* text, const LeadBytes& lead,
                     char* drive, char* dir, char* name, char* ext);
