#include "Stream.h"

#include "Exception.h"
#include "TemporaryName.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
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

[[noreturn]] void CannotCreate(const std::string& name, int error) {
    throw EFCreateError("Cannot create file " + EscapedFileName(name) + ": " +
                        std::strerror(error));
}

[[noreturn]] void WriteFailed(const std::string& name, int error) {
    throw EWriteError("Stream write error: " + EscapedFileName(name) + ": " + std::strerror(error));
}

// Closes its descriptor on every way out; Close() reports what closing the written file says.
class TOpenFile {
public:
    explicit TOpenFile(int fd) : FFd(fd) {}
    ~TOpenFile() {
        if (FFd >= 0) {
            close(FFd);
        }
    }
    TOpenFile(const TOpenFile&) = delete;
    TOpenFile& operator=(const TOpenFile&) = delete;

    int Fd() const { return FFd; }
    bool Close() { return close(std::exchange(FFd, -1)) == 0; }

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
bool Flushed(int fd, TDurability durability) {
    struct stat status {};
    if (durability == TDurability::Cache || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        return true;
    }
    return fsync(fd) == 0;
}

void FlushDirectory(const std::string& dir, const std::string& name) {
    TOpenFile directory(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // Some file systems cannot flush a directory (EINVAL); their entries need no flushing.
    if (directory.Fd() < 0 || (fsync(directory.Fd()) != 0 && errno != EINVAL)) {
        WriteFailed(name, errno);
    }
}

// The descriptor that a name of the process's own descriptors stands for, or -1.
int OwnDescriptor(const std::string& path) {
    if (path == "/dev/stdout") {
        return STDOUT_FILENO;
    }
    if (path == "/dev/stderr") {
        return STDERR_FILENO;
    }
    for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (!path.starts_with(prefix) || path.size() == prefix.size()) {
            continue;
        }
        const char* end = path.data() + path.size();
        int fd = -1;
        if (std::from_chars(path.data() + prefix.size(), end, fd).ptr == end) {
            return fd;
        }
    }
    return -1;
}

// Where the bytes of a name go once its symbolic links are followed.
struct TTarget {
    std::string Path;
    // One of the process's own descriptors, or -1.
    int Descriptor = -1;
    bool Exists = false;
    struct stat Status {};
};

TTarget Resolve(const std::string& name) {
    TTarget target{name};
    for (int links = 0; links <= 40; ++links) {
        target.Descriptor = OwnDescriptor(target.Path);
        if (target.Descriptor >= 0) {
            return target;
        }
        if (lstat(target.Path.c_str(), &target.Status) != 0) {
            if (errno != ENOENT) {
                CannotCreate(name, errno);
            }
            return target;
        }
        target.Exists = true;
        if (!S_ISLNK(target.Status.st_mode)) {
            return target;
        }
        std::string link(static_cast<std::size_t>(target.Status.st_size) + 1, '\0');
        const ssize_t length = readlink(target.Path.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<std::size_t>(length) >= link.size()) {
            CannotCreate(name, length < 0 ? errno : ELOOP);
        }
        link.resize(static_cast<std::size_t>(length));
        target.Path = link.starts_with('/') ? link : DirectoryOf(target.Path) + "/" + link;
        target.Exists = false;
    }
    CannotCreate(name, ELOOP);
}

void WriteThrough(int fd, const std::string& name,
                  std::span<const std::span<const std::uint8_t>> pieces, TDurability durability) {
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        CannotCreate(name, errno);
    }
    if (!WriteAll(fd, pieces) || !Flushed(fd, durability)) {
        WriteFailed(name, errno);
    }
}

// Opens path as it is and writes into it: a FIFO or a device, or a regular file that cannot be
// replaced (then emptied first).
void WriteInPlace(const TTarget& target, const std::string& name,
                  std::span<const std::span<const std::uint8_t>> pieces, TDurability durability) {
    const int truncate = S_ISREG(target.Status.st_mode) ? O_TRUNC : 0;
    TOpenFile file(open(target.Path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | truncate));
    if (file.Fd() < 0) {
        CannotCreate(name, errno);
    }
    if (!WriteAll(file.Fd(), pieces) || !Flushed(file.Fd(), durability) || !file.Close()) {
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
    const char* path = target.Path.c_str();
    const ssize_t size = listxattr(path, nullptr, 0);
    if (size <= 0) {
        return size == 0 || errno == ENOTSUP;
    }
    std::vector<char> names(static_cast<std::size_t>(size));
    if (listxattr(path, names.data(), names.size()) != size) {
        return false;
    }
    std::vector<char> value;
    for (const char* attribute = names.data(); attribute < names.data() + size;
         attribute += std::strlen(attribute) + 1) {
        const ssize_t length = getxattr(path, attribute, nullptr, 0);
        value.resize(static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
        if (length < 0 || getxattr(path, attribute, value.data(), value.size()) != length ||
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
                           std::span<const std::span<const std::uint8_t>> pieces,
                           TDurability durability) {
    const std::string dir = DirectoryOf(target.Path);
    TTemporaryName temporary;
    const mode_t mode = target.Exists ? KeptMode(target.Status) : 0666;
    int fd = open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    const bool unnamed = fd >= 0;
    if (!unnamed && (errno == EOPNOTSUPP || errno == EISDIR)) {
        fd = temporary.Create(dir, [mode](const char* path) {
            return open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        });
    }
    TOpenFile file(fd);
    if (file.Fd() < 0) {
        if (target.Exists && RefusedByDirectory(errno)) {
            return TReplaced::WriteInPlace;
        }
        CannotCreate(name, errno);
    }
    if (target.Exists) {
        struct stat fresh {};
        if (fstat(file.Fd(), &fresh) != 0) {
            return TReplaced::WriteInPlace;
        }
        // A rename would replace a file the process may not write: it stays as it is, as it
        // would for a plain overwrite. The new file's owner is the process, so a file of the
        // same owner with the owner's write bit needs no asking.
        if ((fresh.st_uid != target.Status.st_uid || (target.Status.st_mode & S_IWUSR) == 0) &&
            access(target.Path.c_str(), W_OK) != 0) {
            CannotCreate(name, errno);
        }
        if (!KeepAttributes(file.Fd(), target, fresh)) {
            return TReplaced::WriteInPlace;
        }
    }
    if (!WriteAll(file.Fd(), pieces) || !Flushed(file.Fd(), durability)) {
        WriteFailed(name, errno);
    }
    bool linkedIntoPlace = false;
    if (unnamed) {
        const std::string self = "/proc/self/fd/" + std::to_string(file.Fd());
        const auto link = [&](const char* path) {
            return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path, AT_SYMLINK_FOLLOW);
        };
        // A file that appeared meanwhile is replaced like any other.
        if (!target.Exists && link(target.Path.c_str()) == 0) {
            linkedIntoPlace = true;
        } else if ((!target.Exists && errno != EEXIST) || temporary.Create(dir, link) != 0) {
            CannotCreate(name, errno);
        }
    }
    if (!file.Close()) {
        WriteFailed(name, errno);
    }
    if (!linkedIntoPlace) {
        if (rename(temporary.Path(), target.Path.c_str()) != 0) {
            if (target.Exists && RefusedByDirectory(errno)) {
                return TReplaced::WriteInPlace;
            }
            CannotCreate(name, errno);
        }
        temporary.Renamed();
    }
    if (durability == TDurability::Flush) {
        FlushDirectory(dir, name);
    }
    return TReplaced::Done;
}

} // namespace

void WriteFileAtomically(const std::string& name,
                         std::span<const std::span<const std::uint8_t>> pieces,
                         TDurability durability) {
    if (name.empty() || name.back() == '/') {
        CannotCreate(name, name.empty() ? ENOENT : EISDIR);
    }
    const TTarget target = Resolve(name);
    if (target.Descriptor >= 0) {
        WriteThrough(target.Descriptor, name, pieces, durability);
        return;
    }
    const bool replaceable =
        !target.Exists || (S_ISREG(target.Status.st_mode) && target.Status.st_nlink == 1);
    if (!replaceable ||
        WriteReplacement(target, name, pieces, durability) == TReplaced::WriteInPlace) {
        WriteInPlace(target, name, pieces, durability);
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
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            shown += hex;
        } else {
            shown += c;
        }
    }
    return shown;
}
