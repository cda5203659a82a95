#include "model/SafeFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void SetError(std::string* error, const char* what) {
    if (error) *error = std::string(what) + ": " + std::strerror(errno);
}

// Closes a descriptor on every path out of a function.
struct FdGuard {
    int fd;
    ~FdGuard() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

ReadFileStatus ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::size_t maxBytes,
                             std::string* error) {
    constexpr auto Failed = ReadFileStatus::Failed;
    // Without O_NONBLOCK a named pipe would block the open until some writer
    // came; it is no regular file and is refused below like any device.
    FdGuard f{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (f.fd < 0) {
        SetError(error, "open");
        return Failed;
    }
    struct stat st {};
    if (::fstat(f.fd, &st) != 0) {
        SetError(error, "stat");
        return Failed;
    }
    if (!S_ISREG(st.st_mode)) {
        if (error) *error = "not a regular file";
        return Failed;
    }
    if (static_cast<uint64_t>(st.st_size) > maxBytes) {
        if (error) *error = "file too large";
        return ReadFileStatus::TooLarge;
    }
    std::vector<uint8_t> data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    uint8_t chunk[65536];
    for (;;) {
        ssize_t n = ::read(f.fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            SetError(error, "read");
            return Failed;
        }
        if (n == 0) break;
        if (data.size() + static_cast<std::size_t>(n) > maxBytes) {
            if (error) *error = "file too large";
            return ReadFileStatus::TooLarge;
        }
        data.insert(data.end(), chunk, chunk + n);
    }
    bytes.swap(data);
    return ReadFileStatus::Ok;
}

static bool WriteAll(int fd, const uint8_t* p, std::size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

// A save through a symbolic link replaces the file the link names, not the link.
static std::string ResolveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string resolved(real);
    std::free(real);
    return resolved;
}

bool WriteFileReplacing(const std::string& target, const void* data, std::size_t size, std::string* error) {
    const std::string path = ResolveLink(target);
    std::string tmp = path + ".XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) {
        SetError(error, "create");
        return false;
    }
    FdGuard guard{fd};
    auto fail = [&](const char* what) {
        SetError(error, what);
        ::unlink(tmp.c_str());
        return false;
    };

    // mkstemp makes the file private; give it the target's mode, or the
    // usual mode of a new file.
    struct stat st {};
    mode_t mode;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) return fail("chmod");
    if (!WriteAll(fd, static_cast<const uint8_t*>(data), size)) return fail("write");
    if (::fsync(fd) != 0) return fail("sync");
    guard.fd = -1;
    if (::close(fd) != 0) return fail("close");
    if (::rename(tmp.c_str(), path.c_str()) != 0) return fail("rename");
    return true;
}
