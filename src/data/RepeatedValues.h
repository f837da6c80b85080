#pragma once

#include "data/ChunkArena.h"
#include "data/RecordCodec.h"

#include <cstdint>
#include <vector>

namespace talveros::data {

// The values stored whole so far, found again by their bytes, so that a later short row
// refers to one instead of storing it again: a name, a project, a description repeat
// row after row (most of a declaration). Only rows of at most
// record::kMostSharingColumns columns look; a column whose values hardly repeat
// (numbers, amounts) is no longer looked at after a trial.
class RepeatedValues {
public:
    // What find() saw: the codec's references, and for each value looked for, the slot
    // under which keep() remembers where it was written.
    struct Found : record::References {
        std::uint16_t slot[record::kMostSharingColumns];
    };

    // Looks for each value of a short row of `n` columns among those stored in `arena`.
    void find(const record::Field *fields, size_t n, const ChunkArena &arena, Found &found);
    // Remembers where a value that find() looked for (found.kept) was written whole.
    void keep(const Found &found, size_t column, std::int64_t size, std::uint32_t reference)
    {
        m_stored[found.slot[column]] = (std::uint64_t(reference) << 32) | std::uint64_t(size);
    }
    void clear() noexcept;

private:
    // Where each value is and how long (zero for none), by a hash of its bytes.
    std::vector<std::uint64_t> m_stored;
    // Per column, how often a value was looked for and found.
    std::vector<std::uint32_t> m_looked, m_found;
    std::uint64_t m_lookedFor = 0; // a bit per column still looked at
};

} // namespace talveros::data
