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

// The same replacing write in two steps, for a writer that fills the file by
// its name (a print engine): Begin makes the temporary beside the target
// under the rules above, the writer writes TemporaryPath() in place, and
// Commit puts it on disk and over the target. A temporary not committed is
// removed with the object.
class ReplacingFile {
public:
    ReplacingFile() = default;
    ~ReplacingFile() { Discard(); }
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool Begin(const std::string& target, std::string* error = nullptr);
    const std::string& TemporaryPath() const { return tmp_; }
    int Descriptor() const { return fd_; }
    bool Commit(std::string* error = nullptr);
    // Removes the temporary; the target stays as it was.
    void Discard();

private:
    std::string path_;  // the target, links followed
    std::string tmp_;
    int fd_ = -1;
};
