#pragma once
// The name a save writes under: the name chosen in its dialog, completed with
// the save's own extension.
#include <string>

// `path` with `extension` ("kva" or ".kva") added, unless its file name (not
// its folders) already ends in it, in any case. A name with a dot of its
// own ("yagi 14.2") still gets it: a save must not write a file its Open
// does not list, nor replace another kind of file of the same stem. An
// empty extension or path leaves the path as it is.
std::string WithOwnExtension(const std::string& path, const std::string& extension);
