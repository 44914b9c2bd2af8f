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

// How far a write goes before it returns. Flush: the file and its directory entry are on the
// disk (fsync), as a single Save needs before it reports success. Cache: the kernel writes them
// back when it likes; a batch syncs its destination once at its end (SyncFileSystemOf).
enum class TDurability { Flush, Cache };

// Writes a whole file, the pieces one after the other, without losing anything that was there:
// - A regular file, new or replaced, is written into an unnamed temporary file in its directory
//   and only then linked into place or renamed over the old one, so a failure or a kill leaves
//   the old file as it was and no temporary file behind. A replaced file keeps its owner and
//   group, its mode without set-user-ID and set-group-ID, and its extended attributes (ACLs).
// - Where that cannot be kept (more than one hard link, an owner or attribute this process
//   cannot set, a directory it cannot write, a file that cannot be renamed over), the bytes are
//   written into the existing file in place, as a plain overwrite does.
// - A symbolic link is followed, never replaced; a dangling one creates the file it names.
// - /dev/stdout, /dev/stderr and /dev/fd/N are written through the descriptor the process
//   already has (never reopened, so an append stays an append); FIFOs and devices through their
//   opened path.
// Raises "Cannot create file %s: %s" when the target cannot be created and "Stream write error:
// %s: %s" when writing fails, with the name as given and the system's reason.
void WriteFileAtomically(const std::string& name,
                         std::span<const std::span<const std::uint8_t>> pieces,
                         TDurability durability = TDurability::Flush);

// Flushes the file system that holds file's directory to the disk (syncfs). Raises "Stream write
// error: %s: %s" with the directory when that fails.
void SyncFileSystemOf(const std::string& file);

// The name as messages show it: control characters as \n, \t, \r or \xNN (two upper-case hex
// digits), everything else as it stands.
std::string EscapedFileName(std::string_view name);
