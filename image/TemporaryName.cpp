#include "TemporaryName.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <random>
#include <unistd.h>

namespace {

// What the signal handler reads: a name is in NamePath exactly while Named is set. Only the
// holder of Lock writes them.
char NamePath[PATH_MAX];
std::atomic<bool> Named{false};
std::mutex Lock;

static_assert(std::atomic<bool>::is_always_lock_free, "read from a signal handler");

extern "C" void RemoveTemporaryAndExit(int signal) {
    if (Named.load()) {
        unlink(NamePath);
    }
    _exit(128 + signal);
}

} // namespace

TTemporaryName::TTemporaryName() {
    Lock.lock();
}

TTemporaryName::~TTemporaryName() {
    if (Named.load()) {
        unlink(NamePath);
        Named.store(false);
    }
    Lock.unlock();
}

int TTemporaryName::Create(const std::string& directory,
                           const std::function<int(const char* path)>& make) {
    static std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Named before the entry exists, so that a signal arriving just after make() finds it.
        const int length =
            std::snprintf(NamePath, sizeof NamePath, "%s/.quillmark-%016llx", directory.c_str(),
                          static_cast<unsigned long long>(random()));
        if (length >= static_cast<int>(sizeof NamePath)) {
            errno = ENAMETOOLONG;
            return -1;
        }
        Named.store(true);
        const int result = make(NamePath);
        if (result >= 0) {
            return result;
        }
        const int error = errno;
        Named.store(false);
        if (error != EEXIST) {
            errno = error;
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

const char* TTemporaryName::Path() const {
    return NamePath;
}

void TTemporaryName::Renamed() {
    Named.store(false);
}

void InstallFileSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryAndExit;
    sigfillset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaction(signal, &action, nullptr);
        }
    }
    std::signal(SIGXFSZ, SIG_IGN);
}
