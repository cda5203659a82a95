#pragma once
// The first lines every antenna file has: a name, then a frequency and a
// wire count that read as numbers. A text without them is some other file
// (a list, a note, another program's model) opened by mistake; loading it
// would put an empty antenna under that file's name, and the next Save
// would overwrite the file.
#include <string_view>

bool HasAntennaHeader(std::string_view text);
