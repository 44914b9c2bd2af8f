#include "Stream.h"

#include "Exception.h"
#include "TemporaryName.h"
#include "Utf8.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <optional>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/uio.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>
#include <vector>

void TMemoryStream::WriteBuffer(const void* data, std::size_t count) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    FData.insert(FData.end(), bytes, bytes + count);
}

namespace {

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void CannotCreate(const std::string& name, const std::string& reason) {
    throw EFCreateError("Cannot create file " + EscapedFileName(name) + ": " + reason);
}

[[noreturn]] void CannotCreate(const std::string& name, int error) {
    CannotCreate(name, std::strerror(error));
}

[[noreturn]] void WriteFailed(const std::string& name, int error) {
    throw EWriteError("Stream write error: " + EscapedFileName(name) + ": " + std::strerror(error));
}

// Closes its descriptor on every way out; Close() reports what closing the written file says.
class TOpenFile {
public:
    explicit TOpenFile(int fd = -1) : FFd(fd) {}
    ~TOpenFile() {
        if (FFd >= 0) {
            close(FFd);
        }
    }
    TOpenFile(TOpenFile&& other) noexcept : FFd(std::exchange(other.FFd, -1)) {}
    TOpenFile& operator=(TOpenFile&& other) noexcept {
        std::swap(FFd, other.FFd);
        return *this;
    }

    int Fd() const { return FFd; }
    bool Close() { return close(std::exchange(FFd, -1)) == 0; }
    // A name that reaches the file itself, for the calls that take no descriptor.
    std::string ProcName() const { return "/proc/self/fd/" + std::to_string(FFd); }

private:
    int FFd;
};

// Gathers the pieces with as few system calls as the kernel allows, picking up after a short
// write where it stopped.
bool WriteAll(int fd, std::span<const std::span<const std::uint8_t>> pieces) {
    std::vector<iovec> pending;
    pending.reserve(pieces.size());
    for (const auto piece : pieces) {
        if (!piece.empty()) {
            pending.push_back({const_cast<std::uint8_t*>(piece.data()), piece.size()});
        }
    }
    auto next = pending.begin();
    while (next != pending.end()) {
        const int count = static_cast<int>(std::min<std::ptrdiff_t>(pending.end() - next, IOV_MAX));
        ssize_t n = writev(fd, &*next, count);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        for (; next != pending.end() && static_cast<std::size_t>(n) >= next->iov_len; ++next) {
            n -= static_cast<ssize_t>(next->iov_len);
        }
        if (n > 0) {
            next->iov_base = static_cast<std::uint8_t*>(next->iov_base) + n;
            next->iov_len -= static_cast<std::size_t>(n);
        }
    }
    return true;
}

// Flushes a written file; pipes and devices have nothing to flush.
bool Flushed(int fd, TWriteRole role) {
    struct stat status {};
    if (role == TWriteRole::Batch || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        return true;
    }
    return fsync(fd) == 0;
}

void FlushDirectory(int dir, const std::string& name) {
    TOpenFile directory(openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // Some file systems cannot flush a directory (EINVAL); their entries need no flushing.
    if (directory.Fd() < 0 || (fsync(directory.Fd()) != 0 && errno != EINVAL)) {
        WriteFailed(name, errno);
    }
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A directory where anyone may make entries, but only their owners and the directory's may
// remove them: what is found there may have been planted by someone else.
bool Shared(const struct stat& dir) {
    return (dir.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
}

// Neither the process's user's nor the shared directory's owner's: the kernel's protected_*
// rules refuse to follow or open such an entry.
bool Foreign(const struct stat& entry, const struct stat& dir) {
    return Shared(dir) && entry.st_uid != geteuid() && entry.st_uid != dir.st_uid;
}

// Where the bytes of a name go once its symbolic links are followed.
struct TTarget {
    // The directory that holds the target (O_PATH), and the target's name in it.
    TOpenFile Dir;
    std::string Last;
    // The target itself (O_PATH, not followed) and its status, when it exists.
    TOpenFile Entry;
    struct stat Status {};
    // One of the process's own descriptors, or -1.
    int Descriptor = -1;
    // Reached through a descriptor's link under /proc: written in place, never replaced.
    bool Through = false;

    bool Exists() const { return Entry.Fd() >= 0; }
};

TOpenFile OpenPath(int dir, const char* name, int flags = 0) {
    return TOpenFile(openat(dir, name, O_PATH | O_CLOEXEC | flags));
}

// A link in a process's descriptor directory under /proc stands for an open file, whatever its
// text says: the kernel follows it to that file, and so does the writer. The target becomes that
// file, written in place, or the process's own descriptor of the same number when that holds the
// same file. False for any other link.
bool ThroughDescriptorLink(TTarget& target) {
    struct statfs system {};
    if (fstatfs(target.Dir.Fd(), &system) != 0 || system.f_type != PROC_SUPER_MAGIC) {
        return false;
    }
    TOpenFile file = OpenPath(target.Dir.Fd(), target.Last.c_str());
    if (file.Fd() < 0 || fstat(file.Fd(), &target.Status) != 0) {
        return false;
    }
    int fd = -1;
    const char* end = target.Last.data() + target.Last.size();
    struct stat own {};
    if (std::from_chars(target.Last.data(), end, fd).ptr == end && fd != file.Fd() &&
        fstat(fd, &own) == 0 && SameFile(own, target.Status)) {
        target.Descriptor = fd;
    }
    target.Entry = std::move(file);
    target.Through = true;
    return true;
}

// The components of a path, in order; a path that ends in "/" ends in "." too, as it names a
// directory.
void PushComponents(std::vector<std::string>& pending, std::string_view path) {
    std::vector<std::string> parts;
    std::size_t begin = 0;
    while (begin <= path.size()) {
        const std::size_t slash = std::min(path.find('/', begin), path.size());
        if (slash > begin) {
            parts.emplace_back(path.substr(begin, slash - begin));
        }
        begin = slash + 1;
    }
    if (path.ends_with('/')) {
        parts.emplace_back(".");
    }
    // Kept in reverse, so the next component is the last element.
    pending.insert(pending.end(), parts.rbegin(), parts.rend());
}

// What the link open as fd says. Its size is a hint only: /proc states 0 for its links.
std::string LinkText(int fd, const struct stat& status, const std::string& name) {
    std::string text(std::max<std::size_t>(static_cast<std::size_t>(status.st_size), 64), '\0');
    for (;;) {
        const ssize_t length = readlinkat(fd, "", text.data(), text.size());
        if (length < 0) {
            CannotCreate(name, errno);
        }
        if (static_cast<std::size_t>(length) < text.size()) {
            text.resize(static_cast<std::size_t>(length));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

// Follows name the way the kernel would, one component at a time, each opened in the directory
// before it without following links (O_NOFOLLOW), so that nothing can be swapped in between.
TTarget Resolve(const std::string& name) {
    std::vector<std::string> pending;
    PushComponents(pending, name);
    TTarget target;
    target.Dir = OpenPath(AT_FDCWD, name.starts_with('/') ? "/" : ".", O_DIRECTORY);
    int links = 0;
    while (!pending.empty()) {
        if (target.Dir.Fd() < 0) {
            CannotCreate(name, errno);
        }
        std::string part = std::move(pending.back());
        pending.pop_back();
        const bool last = pending.empty();
        if (last && (part == "." || part == "..")) {
            CannotCreate(name, EISDIR);
        }
        if (part == ".") {
            continue;
        }
        TOpenFile entry = OpenPath(target.Dir.Fd(), part.c_str(), O_NOFOLLOW);
        struct stat status {};
        if (entry.Fd() < 0 || fstat(entry.Fd(), &status) != 0) {
            if (last && errno == ENOENT) {
                target.Last = std::move(part);
                return target;
            }
            CannotCreate(name, errno);
        }
        if (S_ISLNK(status.st_mode)) {
            target.Last = part;
            if (last && ThroughDescriptorLink(target)) {
                return target;
            }
            struct stat dir {};
            if (fstat(target.Dir.Fd(), &dir) != 0) {
                CannotCreate(name, errno);
            }
            if (Foreign(status, dir)) {
                CannotCreate(name, "a symbolic link in a shared directory that belongs to another "
                                   "user");
            }
            if (++links > 40) {
                CannotCreate(name, ELOOP);
            }
            const std::string link = LinkText(entry.Fd(), status, name);
            PushComponents(pending, link);
            if (link.starts_with('/')) {
                target.Dir = OpenPath(AT_FDCWD, "/", O_DIRECTORY);
            }
            continue;
        }
        if (last) {
            if (S_ISDIR(status.st_mode)) {
                CannotCreate(name, EISDIR);
            }
            target.Last = std::move(part);
            target.Entry = std::move(entry);
            target.Status = status;
            return target;
        }
        if (!S_ISDIR(status.st_mode)) {
            CannotCreate(name, ENOTDIR);
        }
        target.Dir = std::move(entry);
    }
    CannotCreate(name, EISDIR);
}

void WriteThrough(int fd, const std::string& name,
                  std::span<const std::span<const std::uint8_t>> pieces, TWriteRole role) {
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        CannotCreate(name, errno);
    }
    if (!WriteAll(fd, pieces) || !Flushed(fd, role)) {
        WriteFailed(name, errno);
    }
}

// Opens the target as it is and writes into it: a FIFO or a device, or a regular file that cannot
// be replaced (then emptied first, and whole before a signal may end the process).
void WriteInPlace(const TTarget& target, const std::string& name,
                  std::span<const std::span<const std::uint8_t>> pieces, TWriteRole role) {
    // Reopened from the file found, so that it is the file checked whatever its name holds now.
    TOpenFile file(open(target.Entry.ProcName().c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (file.Fd() < 0 || fstat(file.Fd(), &opened) != 0) {
        CannotCreate(name, errno);
    }
    const bool regular = S_ISREG(opened.st_mode);
    std::optional<THeldSignals> held;
    if (regular) {
        held.emplace();
    }
    if ((regular && ftruncate(file.Fd(), 0) != 0) || !WriteAll(file.Fd(), pieces) ||
        !Flushed(file.Fd(), role) || !file.Close()) {
        WriteFailed(name, errno);
    }
}

// The mode a replacement gets: the old file's without set-user-ID and set-group-ID.
mode_t KeptMode(const struct stat& old) {
    return old.st_mode & 01777;
}

// Gives the new file, created with the kept mode, what belongs to the old one: owner and group,
// that mode where the umask took bits away, extended attributes. False when the process may not.
bool KeepAttributes(int fd, const TTarget& target, const struct stat& fresh) {
    const struct stat& old = target.Status;
    if ((fresh.st_uid != old.st_uid || fresh.st_gid != old.st_gid) &&
        fchown(fd, old.st_uid, old.st_gid) != 0) {
        return false;
    }
    if ((fresh.st_mode & 07777) != KeptMode(old) && fchmod(fd, KeptMode(old)) != 0) {
        return false;
    }
    const std::string path = target.Entry.ProcName();
    const ssize_t size = listxattr(path.c_str(), nullptr, 0);
    if (size <= 0) {
        return size == 0 || errno == ENOTSUP;
    }
    std::vector<char> names(static_cast<std::size_t>(size));
    if (listxattr(path.c_str(), names.data(), names.size()) != size) {
        return false;
    }
    std::vector<char> value;
    for (const char* attribute = names.data(); attribute < names.data() + size;
         attribute += std::strlen(attribute) + 1) {
        const ssize_t length = getxattr(path.c_str(), attribute, nullptr, 0);
        value.resize(static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
        if (length < 0 || getxattr(path.c_str(), attribute, value.data(), value.size()) != length ||
            fsetxattr(fd, attribute, value.data(), value.size(), 0) != 0) {
            return false;
        }
    }
    return true;
}

// A rename that fails for one of these leaves a file the process may still write into.
bool RefusedByDirectory(int error) {
    return error == EACCES || error == EPERM || error == EROFS || error == EBUSY || error == EXDEV;
}

enum class TReplaced { Done, WriteInPlace };

// The bytes go to a new file in the target's directory: unnamed (O_TMPFILE) where the file
// system can, else under a temporary name. It is linked into place when there is no file yet,
// or linked to a temporary name and renamed over the old file.
TReplaced WriteReplacement(const TTarget& target, const std::string& name,
                           std::span<const std::span<const std::uint8_t>> pieces, TWriteRole role) {
    const int dir = target.Dir.Fd();
    TTemporaryName temporary;
    const mode_t mode = target.Exists() ? KeptMode(target.Status) : 0666;
    int fd = openat(dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    const bool unnamed = fd >= 0;
    if (!unnamed && (errno == EOPNOTSUPP || errno == EISDIR)) {
        fd = temporary.Create(dir, [mode](int in, const char* path) {
            return openat(in, path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        });
    }
    TOpenFile file(fd);
    if (file.Fd() < 0) {
        if (target.Exists() && RefusedByDirectory(errno)) {
            return TReplaced::WriteInPlace;
        }
        CannotCreate(name, errno);
    }
    if (target.Exists()) {
        struct stat fresh {};
        if (fstat(file.Fd(), &fresh) != 0) {
            return TReplaced::WriteInPlace;
        }
        // A rename would replace a file the process may not write: it stays as it is, as it
        // would for a plain overwrite. The new file's owner is the process, so a file of the
        // same owner with the owner's write bit needs no asking.
        if ((fresh.st_uid != target.Status.st_uid || (target.Status.st_mode & S_IWUSR) == 0) &&
            access(target.Entry.ProcName().c_str(), W_OK) != 0) {
            CannotCreate(name, errno);
        }
        if (!KeepAttributes(file.Fd(), target, fresh)) {
            return TReplaced::WriteInPlace;
        }
    }
    if (!WriteAll(file.Fd(), pieces) || !Flushed(file.Fd(), role)) {
        WriteFailed(name, errno);
    }
    bool linkedIntoPlace = false;
    if (unnamed) {
        const std::string self = file.ProcName();
        const auto link = [&](int in, const char* path) {
            return linkat(AT_FDCWD, self.c_str(), in, path, AT_SYMLINK_FOLLOW);
        };
        // A file that appeared meanwhile is replaced like any other.
        if (!target.Exists() && link(dir, target.Last.c_str()) == 0) {
            linkedIntoPlace = true;
        } else if ((!target.Exists() && errno != EEXIST) || temporary.Create(dir, link) != 0) {
            CannotCreate(name, errno);
        }
    }
    if (!file.Close()) {
        WriteFailed(name, errno);
    }
    if (!linkedIntoPlace) {
        if (renameat(dir, temporary.Name(), dir, target.Last.c_str()) != 0) {
            if (target.Exists() && RefusedByDirectory(errno)) {
                return TReplaced::WriteInPlace;
            }
            CannotCreate(name, errno);
        }
        temporary.Renamed();
    }
    if (role == TWriteRole::Single) {
        FlushDirectory(dir, name);
    }
    return TReplaced::Done;
}

} // namespace

void WriteFileAtomically(const std::string& name,
                         std::span<const std::span<const std::uint8_t>> pieces, TWriteRole role) {
    if (name.empty() || name.back() == '/') {
        CannotCreate(name, name.empty() ? ENOENT : EISDIR);
    }
    const TTarget target = Resolve(name);
    if (target.Descriptor >= 0) {
        WriteThrough(target.Descriptor, name, pieces, role);
        return;
    }
    if (target.Exists()) {
        struct stat dir {};
        if (fstat(target.Dir.Fd(), &dir) != 0) {
            CannotCreate(name, errno);
        }
        const bool regular = S_ISREG(target.Status.st_mode);
        if ((regular || S_ISFIFO(target.Status.st_mode)) && Foreign(target.Status, dir)) {
            CannotCreate(name, "a file in a shared directory that belongs to another user");
        }
        if (!regular && role == TWriteRole::Batch) {
            CannotCreate(name, "not a regular file");
        }
    }
    const bool replaceable = !target.Exists() || (S_ISREG(target.Status.st_mode) &&
                                                  target.Status.st_nlink == 1 && !target.Through);
    if (!replaceable || WriteReplacement(target, name, pieces, role) == TReplaced::WriteInPlace) {
        WriteInPlace(target, name, pieces, role);
    }
}

bool ReadAll(int file, std::string& text) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(file, buffer, sizeof buffer);
        if (got == 0) {
            return true;
        }
        if (got < 0 && errno != EINTR) {
            return false;
        }
        if (got > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
        }
    }
}

void SyncFileSystemOf(const std::string& file) {
    const std::string dir = DirectoryOf(file);
    TOpenFile directory(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Fd() < 0 || syncfs(directory.Fd()) != 0) {
        WriteFailed(dir, errno);
    }
}

std::string EscapedFileName(std::string_view name) {
    std::string shown;
    shown.reserve(name.size());
    const auto hex = [&](unsigned char byte) {
        char digits[5];
        std::snprintf(digits, sizeof digits, "\\x%02X", byte);
        shown += digits;
    };
    for (std::size_t i = 0; i < name.size();) {
        const char c = name[i];
        const auto byte = static_cast<unsigned char>(c);
        const std::size_t length = byte < 0x80 ? 1 : Utf8CharLength(name, i);
        // A C1 control (U+0080..U+009F) drives a terminal as a C0 one does, and so may a byte
        // that starts no UTF-8 character.
        const bool c1 =
            length == 2 && byte == 0xC2 && static_cast<unsigned char>(name[i + 1]) < 0xA0;
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && length == 1) || c1) {
            for (std::size_t k = 0; k < length; ++k) {
                hex(static_cast<unsigned char>(name[i + k]));
            }
        } else {
            shown.append(name.substr(i, length));
        }
        i += length;
    }
    return shown;
}
