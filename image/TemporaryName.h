#pragma once

#include <functional>
#include <string>

// A file name that lives only for a moment: from its creation until it is renamed over its
// target. While one exists, SIGINT, SIGTERM and SIGHUP remove it before the process ends (see
// InstallFileSignalHandlers), and the destructor removes it unless Renamed() was called. Holding
// one excludes every other thread's, so the signal handler always knows the single name to
// remove.
class TTemporaryName {
public:
    TTemporaryName();
    ~TTemporaryName();
    TTemporaryName(const TTemporaryName&) = delete;
    TTemporaryName& operator=(const TTemporaryName&) = delete;

    // Creates an entry ".quillmark-<16 hex digits>" in directory with make(path), trying another
    // random name while make fails with EEXIST. Returns make's last result (-1 with errno set on
    // failure).
    int Create(const std::string& directory, const std::function<int(const char* path)>& make);
    const char* Path() const;
    // The entry was renamed over its target: nothing is left to remove.
    void Renamed();
};

// Installs the process's handlers, once, from main(): SIGINT, SIGTERM and SIGHUP remove a
// temporary name that exists at that moment and end the process with exit status 128 + the
// signal's number (a signal the process was started with ignored stays ignored); SIGXFSZ is
// ignored, so a write past the file size limit fails with its error instead of killing the
// process.
void InstallFileSignalHandlers();
