#include "data/ChunkArena.h"

#include "data/DbError.h"

#include <algorithm>
#include <system_error>

#include <sys/mman.h>

namespace talveros::data {

namespace {
constexpr size_t kMaxBytes = ChunkArena::kChunkBytes * ChunkArena::kMaxChunks;

} // namespace

void throwResultTooLarge()
{
    throw DbError(QStringLiteral("HY001"), 0,
                  QStringLiteral("Het resultaat is te groot om in het geheugen te houden."));
}

ChunkArena::ChunkArena(ChunkArena &&other) noexcept
    : m_chunks(std::move(other.m_chunks)), m_chunkBytes(std::move(other.m_chunkBytes)),
      m_ahead(std::move(other.m_ahead)), m_faulting(std::move(other.m_faulting)), m_used(other.m_used),
      m_capacity(other.m_capacity), m_recordBytes(other.m_recordBytes), m_records(other.m_records),
      m_expectedRecords(other.m_expectedRecords)
{
    other.clear();
}

ChunkArena &ChunkArena::operator=(ChunkArena &&other) noexcept
{
    if (this != &other) {
        m_chunks = std::move(other.m_chunks);
        m_chunkBytes = std::move(other.m_chunkBytes);
        dropAhead();
        m_ahead = std::move(other.m_ahead);
        m_faulting = std::move(other.m_faulting);
        m_used = other.m_used;
        m_capacity = other.m_capacity;
        m_recordBytes = other.m_recordBytes;
        m_records = other.m_records;
        m_expectedRecords = other.m_expectedRecords;
        other.clear();
    }
    return *this;
}

ChunkArena::~ChunkArena()
{
    dropAhead();
}

void ChunkArena::clear() noexcept
{
    dropAhead();
    m_chunks.clear();
    m_chunkBytes.clear();
    m_used = 0;
    m_capacity = 0;
    m_recordBytes = 0;
    m_records = 0;
    m_expectedRecords = 0;
}

char *ChunkArena::newChunk(size_t bytes)
{
    if (m_chunks.size() >= kMaxChunks || bytes >= kMaxBytes)
        throwResultTooLarge();
    // Room in the lists first, so that a chunk once allocated is never lost.
    if (m_chunks.size() == m_chunks.capacity())
        m_chunks.reserve(std::max<size_t>(16, 2 * m_chunks.size()));
    if (m_chunkBytes.size() == m_chunkBytes.capacity())
        m_chunkBytes.reserve(std::max<size_t>(16, 2 * m_chunkBytes.size()));
    const size_t size = (std::max(bytes + record::kSlack, kChunkBytes) + kChunkBytes - 1) & ~(kChunkBytes - 1);
    const std::uint64_t toCome = bytesToCome();
    char *p = allocate(size, toCome);
    if (!m_chunks.empty() && m_used < m_capacity)
        m_chunks.back().get()[m_used] = char(record::kJump);
    m_chunks.emplace_back(p);
    m_chunkBytes.push_back(size);
    m_used = 0;
    m_capacity = size;
    if (!m_ahead && toCome > size)
        faultInAhead(toCome - size);
    return p;
}

std::uint64_t ChunkArena::bytesToCome() const
{
    if (m_expectedRecords > m_records && m_records > 0)
        return std::uint64_t(double(m_recordBytes) / double(m_records) * double(m_expectedRecords - m_records));
    return 0;
}

char *ChunkArena::allocate(size_t size, std::uint64_t toCome)
{
    if (m_ahead && size == kChunkBytes) {
        if (m_faulting.valid())
            m_faulting.wait();
        m_faulting = {};
        return m_ahead.release();
    }
    // Not value-initialised: every byte of a record is written before it is read.
    auto *p = static_cast<char *>(std::aligned_alloc(kChunkBytes, size));
    if (!p)
        throwResultTooLarge();
    // A large result is faulted in two megabytes at a time instead of four kilobytes; a
    // small one, or the last chunk of one whose size is known, would only pay for the
    // unused rest of a huge page.
    if (!m_chunks.empty() && (m_expectedRecords <= m_records || toCome >= size))
        madvise(p, size, MADV_HUGEPAGE);
    return p;
}

void ChunkArena::faultInAhead(std::uint64_t rest)
{
    auto *p = static_cast<char *>(std::aligned_alloc(kChunkBytes, kChunkBytes));
    if (!p)
        return;
    m_ahead.reset(p);
    // The last chunk of a result is no huge page and is only faulted in as far as it will
    // be filled (and a little more, the estimate being one).
    const bool whole = rest >= kChunkBytes;
    if (whole)
        madvise(p, kChunkBytes, MADV_HUGEPAGE);
    const size_t reach = whole ? kChunkBytes : std::min<size_t>(kChunkBytes, size_t(rest) + kChunkBytes / 8);
    try {
        m_faulting = std::async(std::launch::async, [p, reach] {
            for (size_t at = 0; at < reach; at += 4096)
                static_cast<volatile char *>(p)[at] = 0;
        });
    } catch (const std::system_error &) {
        // No thread to spare: the chunk is faulted in as it is filled.
    }
}

void ChunkArena::dropAhead() noexcept
{
    if (m_faulting.valid())
        m_faulting.wait();
    m_faulting = {};
    m_ahead.reset();
}

} // namespace talveros::data
