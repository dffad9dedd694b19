#pragma once
// Quote stripping: takes away a single quote (') at the start and one at the
// end of a text.

// Rewrites `text` in place: less its first character when that is a single
// quote, and less its last character when that is a single quote. Each end is
// looked at once; quotes inside the text stay. Works on texts of any length.
// Bytes behind the new terminator keep their old values. Returns `text`.
char* unquote_text(char* text);
