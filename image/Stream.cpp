#include "Stream.h"

#include "Exception.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

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

bool WriteAll(int fd, const std::uint8_t* data, std::size_t count) {
    while (count > 0) {
        const ssize_t n = write(fd, data, count);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

void WriteFileAtomically(const std::string& name, const std::uint8_t* data, std::size_t count) {
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
    const bool written = WriteAll(fd, data, count);
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
