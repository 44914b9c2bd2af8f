#include "Stream.h"

#include "Exception.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
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

// Opens a new, uniquely named file in dir; the process umask applies to its mode as it would to
// the target's. Returns -1 when none can be created.
int CreateTemporaryFile(const std::string& dir, std::string& path) {
    static std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[20];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        path = dir + "/.quillmark-" + suffix;
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

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
        if (n <= 0) {
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

} // namespace

void WriteFileAtomically(const std::string& name,
                         std::span<const std::span<const std::uint8_t>> pieces) {
    const EFCreateError cannotCreate("Cannot create file " + name);
    if (name.empty() || name.back() == '/') {
        throw cannotCreate;
    }
    std::string target = name;
    struct stat existing {};
    const bool exists = stat(name.c_str(), &existing) == 0;
    if (exists) {
        if (!S_ISREG(existing.st_mode) || access(name.c_str(), W_OK) != 0) {
            throw cannotCreate;
        }
        // Through a symbolic link the file it names is replaced, not the link.
        if (char* real = realpath(name.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }

    std::string temporary;
    const int fd = CreateTemporaryFile(DirectoryOf(target), temporary);
    if (fd < 0) {
        throw cannotCreate;
    }
    if (exists) {
        fchmod(fd, existing.st_mode & 07777);
    }
    const bool written = WriteAll(fd, pieces);
    const bool closed = close(fd) == 0;
    if (!written || !closed) {
        unlink(temporary.c_str());
        throw EWriteError("Stream write error");
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        throw cannotCreate;
    }
}
