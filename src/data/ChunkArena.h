#pragma once

#include "data/RecordCodec.h"

#include <cstdint>
#include <cstdlib>
#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace talveros::data {

// A DbError: the result is too large to keep in memory.
[[noreturn]] void throwResultTooLarge();

// Where a store's records live: large chunks, the records laid one after another in the
// order they came, so that a table takes little more memory than its text and no
// allocation a row. A record never moves once written, and record::kSlack bytes
// after each may be written over while it is encoded. The arena only knows how long a
// record is (record::recordBytes) to step from one to the next.
class ChunkArena {
public:
    static constexpr size_t kChunkBytes = size_t(1) << 21;
    static constexpr size_t kMaxChunks = size_t(1) << 11;

    // Where a record starts.
    struct Place {
        std::uint32_t chunk = 0;
        std::uint32_t offset = 0;
    };

    ChunkArena() = default;
    ChunkArena(ChunkArena &&other) noexcept;
    ChunkArena &operator=(ChunkArena &&other) noexcept;
    ChunkArena(const ChunkArena &) = delete;
    ChunkArena &operator=(const ChunkArena &) = delete;
    ~ChunkArena();

    // Frees every chunk.
    void clear() noexcept;
    // How many records a result whose size is known will have in all: the chunks after
    // the first are then allocated ahead and faulted in while the records before them
    // are written.
    void expect(size_t records) { m_expectedRecords = records; }

    // Room for a record of `bytes` where the last one ended, or at the start of a new
    // chunk, the rest of the old one marked as a jump; one larger than a chunk gets a
    // chunk its size. Throws (throwResultTooLarge) past kMaxChunks or when out of memory.
    char *room(size_t bytes, Place &place)
    {
        char *chunk = m_chunks.empty() || bytes + record::kSlack > m_capacity - m_used ? newChunk(bytes)
                                                                                         : m_chunks.back().get();
        place = Place{std::uint32_t(m_chunks.size() - 1), std::uint32_t(m_used)};
        m_used += bytes;
        m_recordBytes += bytes;
        ++m_records;
        return chunk + place.offset;
    }

    const char *at(Place p) const { return m_chunks[p.chunk].get() + p.offset; }
    // The record after the one at `p` of `bytes`.
    Place next(Place p, std::uint32_t bytes) const
    {
        p.offset += bytes;
        if (p.offset >= m_chunkBytes[p.chunk] || static_cast<unsigned char>(at(p)[0]) == record::kJump)
            return Place{p.chunk + 1, 0};
        return p;
    }

    // Bytes at `offset` in a chunk as 32 bits, for a later record to refer to: the chunk
    // in the high bits, the offset in the low. None for bytes that lie too deep inside a chunk
    // larger than the others.
    static std::optional<std::uint32_t> reference(std::uint32_t chunk, size_t offset)
    {
        if (offset > kOffsetMask)
            return std::nullopt;
        return (chunk << kOffsetBits) | std::uint32_t(offset);
    }
    const char *referred(std::uint32_t reference) const
    {
        return m_chunks[reference >> kOffsetBits].get() + (reference & kOffsetMask);
    }

private:
    static constexpr unsigned kOffsetBits = 21;
    static constexpr std::uint32_t kOffsetMask = (std::uint32_t(1) << kOffsetBits) - 1;
    static_assert(kChunkBytes - 1 == kOffsetMask && (kMaxChunks << kOffsetBits) - 1 == 0xFFFFFFFFu);

    char *newChunk(size_t bytes);
    // What the rest of a result whose size is known will take, as far as its records so
    // far tell.
    std::uint64_t bytesToCome() const;
    // A chunk of `size` bytes: the one faulted in ahead when it is that size.
    char *allocate(size_t size, std::uint64_t toCome);
    void faultInAhead(std::uint64_t rest);
    void dropAhead() noexcept;

    struct FreeChunk { void operator()(char *p) const { std::free(p); } };
    std::vector<std::unique_ptr<char, FreeChunk>> m_chunks;
    std::vector<size_t> m_chunkBytes;
    // The chunk after the last one of a large result, allocated ahead and faulted in on
    // another thread while the records before it are written: the kernel clears a
    // result's memory as it is first touched, two megabytes at a time, which would
    // otherwise hold up the copy. Nothing else touches it until m_faulting is done,
    // which is waited for before the chunk is used or freed.
    std::unique_ptr<char, FreeChunk> m_ahead;
    std::future<void> m_faulting;
    size_t m_used = 0;     // of the last chunk
    size_t m_capacity = 0; // of the last chunk
    size_t m_recordBytes = 0;
    size_t m_records = 0;
    size_t m_expectedRecords = 0;
};

} // namespace talveros::data
