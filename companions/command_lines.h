#pragma once
// Texts that the companion launchers build: the two command lines and the
// answer file name. Each builder writes into `out` of `cap` bytes, terminator
// included. When the result does not fit it is not cut: the builder returns
// false and leaves the empty text in `out` (when cap > 0).
//
// The launchers read an INI value straight into their work buffer and append
// to it, so the first text of the wizard and selector command lines (and the
// base of the answer file name) may be `out` itself: the rest is then appended
// in place. Any other overlap between an input and `out` is not allowed.

#include <cstddef>

// data_path immediately followed by: vlwizpro.exe "99"
// No backslash is added and nothing is quoted around data_path.
bool build_wizard_command(char* out, size_t cap, const char* data_path);

// location, space, double quote, base, space, double quote. `base` must not
// overlap `out`.
bool build_selector_command(char* out, size_t cap, const char* location, const char* base);

// base followed by ".txa".
bool build_answer_file_name(char* out, size_t cap, const char* base);
