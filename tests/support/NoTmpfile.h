#pragma once

#include <cerrno>
#include <cstddef>
#include <fcntl.h>
#include <iterator>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>

// From now on this process (and what it executes) sees file systems without unnamed temporary
// files: an open with O_TMPFILE fails with error, EOPNOTSUPP as on such a file system or EISDIR as
// on a kernel that predates them. For a child process only. False when the filter cannot be
// installed.
inline bool WithoutTmpfile(int error = EOPNOTSUPP) {
    // The bit O_TMPFILE adds to O_DIRECTORY.
    constexpr unsigned TmpfileBit = O_TMPFILE & ~O_DIRECTORY;
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 4),
        // The low half of openat's flags.
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
        BPF_STMT(BPF_ALU | BPF_AND | BPF_K, TmpfileBit),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, TmpfileBit, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | static_cast<unsigned>(error)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) == 0;
}
