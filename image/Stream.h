#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TStream {
public:
    virtual ~TStream() = default;
    // Writes all count bytes or raises "Stream write error".
    virtual void WriteBuffer(const void* data, std::size_t count) = 0;
};

class TMemoryStream : public TStream {
public:
    void WriteBuffer(const void* data, std::size_t count) override;
    void Reserve(std::size_t count) { FData.reserve(count); }
    void Clear() { FData.clear(); }
    const std::vector<std::uint8_t>& Data() const { return FData; }

private:
    std::vector<std::uint8_t> FData;
};

// Whose write this is. Single: a file the user named, flushed to the disk with its directory
// entry (fsync) before the write returns, as a single Save needs before it reports success; it may
// be a FIFO or a device. Batch: one of a batch's files, which only ever are regular files; the
// kernel writes them back when it likes and the batch syncs its destination once at its end
// (SyncFileSystemOf).
enum class TWriteRole { Single, Batch };

// Writes a whole file, the pieces one after the other, without losing anything that was there:
// - A regular file, new or replaced, is written into an unnamed temporary file in its directory
//   and only then linked into place or renamed over the old one, so a failure or a kill leaves
//   the old file as it was and no temporary file behind. A replaced file keeps its owner and
//   group, its mode without set-user-ID and set-group-ID, and its extended attributes (ACLs).
// - Where that cannot be kept (more than one hard link, an owner or attribute this process
//   cannot set, a directory it cannot write, a file that cannot be renamed over), the bytes are
//   written into the existing file in place, as a plain overwrite does; SIGINT, SIGTERM and
//   SIGHUP wait until it is whole (THeldSignals).
// - The name is followed one component at a time, each opened in the one before without
//   following links, so that nothing can be swapped in between a check and its use. A symbolic
//   link is followed, never replaced, and a dangling one creates the file it names, except in a
//   sticky directory that others may write (/tmp): there a link, a FIFO or a regular file that
//   belongs neither to the process's user nor to the directory's owner is refused, whatever the
//   kernel's protected_* settings, as someone else may have planted it.
// - A name that leads to one of the process's own descriptors (/dev/stdout, /dev/fd/N,
//   /proc/self/fd/N, however spelled) is written through that descriptor, never reopened, so an
//   append stays an append; other FIFOs and devices through their opened name. A batch refuses
//   them.
// Raises "Cannot create file %s: %s" when the target cannot be created and "Stream write error:
// %s: %s" when writing fails, with the name as given and the reason.
void WriteFileAtomically(const std::string& name,
                         std::span<const std::span<const std::uint8_t>> pieces,
                         TWriteRole role = TWriteRole::Single);

// Appends what the open file holds from where it stands to its end to text, reading again after
// an interrupted read. False, with errno set, when a read fails.
bool ReadAll(int file, std::string& text);

// Flushes the file system that holds file's directory to the disk (syncfs). Raises "Stream write
// error: %s: %s" with the directory when that fails.
void SyncFileSystemOf(const std::string& file);

// The name as messages show it: control characters (C0, DEL and C1) as \n, \t, \r or \xNN (two
// upper-case hex digits for each byte), and so every byte that starts no UTF-8 character;
// everything else as it stands.
std::string EscapedFileName(std::string_view name);
