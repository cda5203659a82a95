#include "model/SafeFile.h"

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <climits>
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

namespace {

bool WriteAll(int fd, const uint8_t* p, std::size_t n) {
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

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Links followed before a chain counts as a loop, as the system counts them.
constexpr int MaxLinkHops = 40;

// A save through a symbolic link replaces the file the link names, not the
// link; a link that names no file yet has it made where it points, as an
// editor writing through the link would. False (errno set) for a chain of
// links that never ends or a link that cannot be read.
bool ResolveLink(const std::string& path, std::string& resolved) {
    std::string at = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            resolved = at;
            return true;
        }
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(at.c_str(), target.data(), target.size());
        if (n < 0) return false;
        if (n == 0 || static_cast<std::size_t>(n) >= target.size()) {
            errno = ENOENT;  // emptied or changed while read
            return false;
        }
        target.resize(static_cast<std::size_t>(n));
        at = target[0] == '/' ? target : FolderOf(at) + "/" + target;
    }
    errno = ELOOP;
    return false;
}

// The temporary file of a save: the target's name, the program's mark and
// the saving process, then mkstemp's six characters.
constexpr const char* TempMark = ".korva-";
// What follows the target's name: the mark, a process id of up to nine
// digits, a dash and six characters.
constexpr std::size_t TempTailLength = 7 + 9 + 1 + 6;

// The target's name as its temporaries begin: cut short where the whole
// temporary's name would pass the folder's limit for a name, so that a file
// with a long name can still be saved.
std::string TempBaseName(const std::string& folder, const std::string& targetName) {
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t nameMax = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    const std::size_t room = nameMax > TempTailLength ? nameMax - TempTailLength : 1;
    return targetName.substr(0, room);
}

std::string TempPrefix(const std::string& path) {
    const std::string folder = FolderOf(path);
    return folder + "/" + TempBaseName(folder, NameOf(path)) + TempMark;
}

// A killed save leaves its temporary behind. Only the temporaries of this
// target are candidates: the exact name mkstemp made, a plain file of this
// user, not touched for an hour (a folder may be shared with other machines,
// whose saves in progress have process ids that mean nothing here), and not
// of a process that still runs here.
constexpr time_t StaleTemporaryAge = 3600;

bool IsTemporaryName(const std::string& name, const std::string& baseName) {
    const std::string prefix = baseName + TempMark;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
    // <pid>-<six characters>
    const std::string tail = name.substr(prefix.size());
    const std::size_t dash = tail.find('-');
    if (dash == std::string::npos || dash == 0 || dash > 9 || tail.size() != dash + 7) return false;
    if (tail.find_first_not_of("0123456789") != dash) return false;
    return tail.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", dash + 1) ==
           std::string::npos;
}

bool IsStaleTemporary(const std::string& full, const std::string& name) {
    struct stat st {};
    if (::lstat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) return false;
    const time_t now = ::time(nullptr);
    if (st.st_mtime > now || now - st.st_mtime < StaleTemporaryAge) return false;
    const long pid = std::strtol(name.c_str() + name.rfind(TempMark) + std::strlen(TempMark), nullptr, 10);
    return pid > 0 && pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

void RemoveStaleTemporaries(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string baseName = TempBaseName(folder, NameOf(path));
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!IsTemporaryName(name, baseName)) continue;
        const std::string full = folder + "/" + name;
        if (IsStaleTemporary(full, name)) ::unlink(full.c_str());
    }
    ::closedir(dir);
}

std::string UnableToWrite(const std::string& path) { return "Unable to write to " + path; }

// An existing file that this user may not write.
bool IsProtected(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return !(st.st_mode & S_IWUSR) || (::access(path.c_str(), W_OK) != 0 && errno != ENOENT);
}

// Makes the rename itself durable: a power cut must not bring back the old name.
bool SyncFolder(const std::string& path) {
    const std::string folder = FolderOf(path);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    // Some file systems cannot sync a folder; they keep names in order anyway.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

}  // namespace

bool CanReplaceFile(const std::string& target, std::string* error) {
    std::string path;
    if (!ResolveLink(target, path) || IsProtected(path) || ::access(FolderOf(path).c_str(), W_OK) != 0) {
        if (error) *error = UnableToWrite(target);
        return false;
    }
    return true;
}

bool ReplacingFile::Begin(const std::string& target, std::string* error) {
    Discard();
    // Beyond a file-size limit the kernel would kill the program with SIGXFSZ;
    // ignored, the write fails with EFBIG and the save is reported.
    static const bool sizeSignalIgnored = [] { return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR; }();
    (void)sizeSignalIgnored;
    std::string path;
    if (!ResolveLink(target, path)) {
        SetError(error, "link");
        return false;
    }
    if (IsProtected(path)) {
        if (error) *error = UnableToWrite(target);
        return false;
    }
    RemoveStaleTemporaries(path);
    std::string tmp = TempPrefix(path) + std::to_string(::getpid()) + "-XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) {
        SetError(error, "create");
        return false;
    }
    path_ = path;
    tmp_ = tmp;
    fd_ = fd;
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
    if (::fchmod(fd, mode) != 0) {
        SetError(error, "chmod");
        Discard();
        return false;
    }
    return true;
}

bool ReplacingFile::Commit(std::string* error) {
    auto fail = [&](const char* what) {
        SetError(error, what);
        Discard();
        return false;
    };
    if (fd_ < 0) {
        errno = EBADF;
        return fail("write");
    }
    if (::fsync(fd_) != 0) return fail("sync");
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return fail("close");
    if (::rename(tmp_.c_str(), path_.c_str()) != 0) return fail("rename");
    tmp_.clear();
    if (!SyncFolder(path_)) {
        SetError(error, "sync folder");
        return false;
    }
    return true;
}

void ReplacingFile::Discard() {
    const int saved = errno;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tmp_.empty()) ::unlink(tmp_.c_str());
    tmp_.clear();
    errno = saved;
}

bool WriteFileReplacing(const std::string& target, const void* data, std::size_t size, std::string* error) {
    ReplacingFile file;
    if (!file.Begin(target, error)) return false;
    if (!WriteAll(file.Descriptor(), static_cast<const uint8_t*>(data), size)) {
        SetError(error, "write");
        return false;
    }
    return file.Commit(error);
}
