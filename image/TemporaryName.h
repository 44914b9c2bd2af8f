#pragma once

#include <functional>

// A file name that lives only for a moment: from its creation until it is renamed over its
// target. While one exists, SIGINT, SIGTERM and SIGHUP remove it before the process ends (see
// InstallFileSignalHandlers), and the destructor removes it unless Renamed() was called. Holding
// one excludes every other thread's, and THeldSignals, so the signal handler always knows the
// single name to remove.
class TTemporaryName {
public:
    TTemporaryName();
    ~TTemporaryName();
    TTemporaryName(const TTemporaryName&) = delete;
    TTemporaryName& operator=(const TTemporaryName&) = delete;

    // Creates an entry ".quillmark-<16 hex digits>" in the open directory with
    // make(directory, name), trying another random name while make fails with EEXIST. The name
    // is short and relative to the directory, so it fits wherever the target's name fits. The
    // directory must stay open until the name is renamed or removed. Returns make's last result
    // (-1 with errno set on failure).
    int Create(int directory, const std::function<int(int directory, const char* name)>& make);
    const char* Name() const;
    // The entry was renamed over its target: nothing is left to remove.
    void Renamed();
};

// While one exists, SIGINT, SIGTERM and SIGHUP do not end the process: the first to arrive is
// held, and the destructor ends the process with it (exit status 128 + its number) once the
// guarded work is done. For writing into a file that cannot be replaced, which a signal would
// otherwise leave cut. Excludes every other thread's, and TTemporaryName.
class THeldSignals {
public:
    THeldSignals();
    ~THeldSignals();
    THeldSignals(const THeldSignals&) = delete;
    THeldSignals& operator=(const THeldSignals&) = delete;
};

// Installs the process's handlers, once, from main(): SIGINT, SIGTERM and SIGHUP remove a
// temporary name that exists at that moment and end the process with exit status 128 + the
// signal's number (a signal the process was started with ignored stays ignored), or wait for
// THeldSignals; SIGXFSZ is ignored, so a write past the file size limit fails with its error
// instead of killing the process.
void InstallFileSignalHandlers();
