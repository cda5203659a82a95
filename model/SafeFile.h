#pragma once
// Whole-file reading and replacing writes. A save goes to a temporary file in
// the target's folder that is renamed over the target only when every byte is
// on disk, so a failed save (full disk, no permission) leaves the old file as
// it was and is reported.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class ReadFileStatus { Ok, Failed, TooLarge };

// Reads the whole regular file, refusing one larger than maxBytes; on a
// failure `error` says why and `bytes` is left alone.
ReadFileStatus ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::size_t maxBytes,
                             std::string* error = nullptr);

// Whether a save may replace `path`: a file its owner protected is refused
// (the replacing rename would succeed over it), and so is a folder that takes
// no file. `error` then holds the program's "Unable to write to" message.
// Saves that compute long ask this before they start.
bool CanReplaceFile(const std::string& path, std::string* error = nullptr);

// Writes the bytes to a temporary file beside `path` ("<path>.korva-<pid>-
// XXXXXX", the name part cut short where the whole would pass the folder's
// limit for a name), flushes it, renames it over `path` and syncs the folder.
// An existing file keeps its permissions; a link is written through (a link
// to a file not yet there makes that file where the link points, a loop of
// links is refused); a protected file is refused as CanReplaceFile says. This
// target's temporaries left by a save killed long ago are removed first. A write
// beyond the file-size limit fails (SIGXFSZ is ignored) and is reported.
bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size,
                        std::string* error = nullptr);
inline bool WriteFileReplacing(const std::string& path, std::string_view text, std::string* error = nullptr) {
    return WriteFileReplacing(path, text.data(), text.size(), error);
}
