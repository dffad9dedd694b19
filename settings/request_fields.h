#pragma once
// Division of an INI write request "section,key,value,file" into its fields.

// Divides the writable text `copy` into at most four fields: section, key,
// value, file name. Commas only separate: leading commas are skipped and a run
// of commas is one separator, so a field is never empty. Nothing is trimmed.
// A terminator is written over the comma that ends each field taken, so the
// fourth field ends at the next comma and the rest of the text is ignored.
// fields[i] points into `copy`, or is null when the field is absent; absent
// fields always follow the present ones. Returns the number found, 0 to 4.
int split_request(char* copy, char* fields[4]);
