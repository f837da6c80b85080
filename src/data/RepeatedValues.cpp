#include "data/RepeatedValues.h"

#include <bit>
#include <cstring>

namespace talveros::data {

namespace {
// A value shorter than this is stored again: a reference takes four bytes.
constexpr std::int64_t kShortestShared = 8;
constexpr unsigned kStoredBits = 14;
static_assert(kStoredBits <= 16);
// A column is looked at this many times before its share of repeats decides.
constexpr std::uint32_t kTrialValues = 512;

// Whether two values of `size` bytes, at least eight, are the same.
bool sameBytes(const char *a, const char *b, size_t size)
{
    std::uint64_t x = 0, y = 0;
    for (size_t i = 0; i + 8 < size; i += 8) {
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y)
            return false;
    }
    std::memcpy(&x, a + size - 8, 8);
    std::memcpy(&y, b + size - 8, 8);
    return x == y;
}

size_t storedSlot(const char *data, std::int64_t size)
{
    std::uint64_t head = 0, tail = 0;
    std::memcpy(&head, data, sizeof head);
    std::memcpy(&tail, data + size - std::int64_t(sizeof tail), sizeof tail);
    const std::uint64_t h = (head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full) ^ std::uint64_t(size);
    return size_t((h * 0xD6E8FEB86659FD93ull) >> (64 - kStoredBits));
}
} // namespace

void RepeatedValues::find(const record::Field *fields, size_t n, const ChunkArena &arena, Found &found)
{
    if (m_stored.empty()) {
        m_stored.assign(size_t(1) << kStoredBits, 0);
        m_looked.assign(n, 0);
        m_found.assign(n, 0);
        m_lookedFor = (std::uint64_t(1) << n) - 1;
    }
    // A column whose values are mostly too short to share is no longer looked at either.
    for (std::uint64_t look = m_lookedFor; look != 0; look &= look - 1) {
        const auto c = size_t(std::countr_zero(look));
        const std::uint64_t bit = std::uint64_t(1) << c;
        if (++m_looked[c] == kTrialValues && m_found[c] * 4 < kTrialValues)
            m_lookedFor &= ~bit;
        const std::int64_t size = fields[c].size;
        if (size < kShortestShared)
            continue;
        const char *data = fields[c].data;
        found.slot[c] = std::uint16_t(storedSlot(data, size));
        const std::uint64_t entry = m_stored[found.slot[c]];
        const auto at = std::uint32_t(entry >> 32);
        if (std::int64_t(entry & 0xFFFFFFFFu) != size || !sameBytes(arena.referred(at), data, size_t(size))) {
            found.kept |= bit;
            continue;
        }
        ++m_found[c];
        found.shared |= bit;
        found.at[c] = at;
        found.saved += size_t(size) - sizeof at;
    }
}

void RepeatedValues::clear() noexcept
{
    m_stored.clear();
    m_looked.clear();
    m_found.clear();
    m_lookedFor = 0;
}

} // namespace talveros::data
