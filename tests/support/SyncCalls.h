#pragma once

#include <array>
#include <atomic>
#include <csignal>
#include <cstddef>
#include <iterator>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <ucontext.h>

// The calls that push written data to the disk, counted in this process instead of made: each
// returns 0 at once. For a child process only.
enum SyncCall { Fsync, Fdatasync, Syncfs, Sync, SyncCallCount };

inline std::array<std::atomic<int>, SyncCallCount> SyncCallsMade{};

namespace sync_calls {

constexpr std::array<long, SyncCallCount> Numbers = {SYS_fsync, SYS_fdatasync, SYS_syncfs,
                                                     SYS_sync};

extern "C" inline void Count(int, siginfo_t* info, void* context) {
    for (int call = 0; call < SyncCallCount; ++call) {
        if (info->si_syscall == Numbers[static_cast<std::size_t>(call)]) {
            ++SyncCallsMade[static_cast<std::size_t>(call)];
        }
    }
    auto* registers = &static_cast<ucontext_t*>(context)->uc_mcontext;
#if defined(__x86_64__)
    registers->gregs[REG_RAX] = 0;
#elif defined(__aarch64__)
    registers->regs[0] = 0;
#endif
}

} // namespace sync_calls

// False where the calls cannot be counted on this machine.
inline bool CountSyncCalls() {
#if defined(__x86_64__) || defined(__aarch64__)
    struct sigaction action {};
    action.sa_sigaction = sync_calls::Count;
    action.sa_flags = SA_SIGINFO;
    if (sigaction(SIGSYS, &action, nullptr) != 0) {
        return false;
    }
    using sync_calls::Numbers;
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, Numbers[0], 4, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, Numbers[1], 3, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, Numbers[2], 2, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, Numbers[3], 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRAP),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) == 0;
#else
    return false;
#endif
}
