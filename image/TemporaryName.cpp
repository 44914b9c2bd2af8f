#include "TemporaryName.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <random>
#include <sys/random.h>
#include <unistd.h>

namespace {

// What the signal handler reads: a name is in NameDirectory/NamePath exactly while Named is set.
// Only the holder of Lock writes them.
char NamePath[32];
int NameDirectory = -1;
std::atomic<bool> Named{false};
std::mutex Lock;

// Free, Held (no signal yet), or the number of the signal held.
constexpr int Free = 0;
constexpr int Held = -1;
std::atomic<int> Holding{Free};

static_assert(std::atomic<bool>::is_always_lock_free, "read from a signal handler");
static_assert(std::atomic<int>::is_always_lock_free, "changed in a signal handler");

extern "C" void RemoveTemporaryAndExit(int signal) {
    int state = Held;
    if (Holding.compare_exchange_strong(state, signal) || state > 0) {
        return;
    }
    if (Named.load()) {
        unlinkat(NameDirectory, NamePath, 0);
    }
    _exit(128 + signal);
}

} // namespace

TTemporaryName::TTemporaryName() {
    Lock.lock();
}

TTemporaryName::~TTemporaryName() {
    if (Named.load()) {
        unlinkat(NameDirectory, NamePath, 0);
        Named.store(false);
    }
    Lock.unlock();
}

int TTemporaryName::Create(int directory,
                           const std::function<int(int directory, const char* name)>& make) {
    // Seeded from the kernel: std::random_device's set-up costs a short run more than the write.
    static std::mt19937_64 random{[] {
        std::uint64_t seed = 0;
        if (getrandom(&seed, sizeof seed, 0) != sizeof seed) {
            seed = static_cast<std::uint64_t>(getpid()) ^
                   static_cast<std::uint64_t>(
                       std::chrono::steady_clock::now().time_since_epoch().count());
        }
        return seed;
    }()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Named before the entry exists, so that a signal arriving just after make() finds it.
        std::snprintf(NamePath, sizeof NamePath, ".quillmark-%016llx",
                      static_cast<unsigned long long>(random()));
        NameDirectory = directory;
        Named.store(true);
        const int result = make(directory, NamePath);
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

const char* TTemporaryName::Name() const {
    return NamePath;
}

void TTemporaryName::Renamed() {
    Named.store(false);
}

THeldSignals::THeldSignals() {
    Lock.lock();
    Holding.store(Held);
}

THeldSignals::~THeldSignals() {
    if (const int signal = Holding.exchange(Free); signal > 0) {
        _exit(128 + signal);
    }
    Lock.unlock();
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
