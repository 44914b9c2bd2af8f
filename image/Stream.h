#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
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

// Writes a whole file atomically: the pieces, one after the other, go to a temporary file beside
// the target, which replaces the target only once everything was written. On any failure the
// target keeps its old bytes and the temporary file is removed.
void WriteFileAtomically(const std::string& name,
                         std::span<const std::span<const std::uint8_t>> pieces);
