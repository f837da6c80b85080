#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

// One row's values as a record of bytes, and back. Nothing here allocates or knows
// where records are kept: the caller hands over the room to write into (ChunkArena) and,
// for a value that refers to bytes stored before, says where those bytes are.
//
// The first byte of a record is its kind:
//
//   short    kind, the record's size (2 bytes), a length byte per value, the values'
//            bytes one after another. Only for rows without NULLs whose values are at
//            most 255 bytes and whose record is at most 65,535 bytes: nearly every row.
//   sharing  as short, with a bit per value after the lengths ((n + 7) / 8 bytes); a
//            flagged value is four bytes, a reference to the same bytes stored before.
//            At most kMostSharingColumns columns.
//   long     kind, where each value ends (4 bytes per value, the high bit set for
//            NULL), the values' bytes one after another.
//   jump     written by the arena, not the codec: the next record starts in the next
//            chunk.
//
// Integers are little-endian, unaligned.
namespace talveros::data::record {

static_assert(std::endian::native == std::endian::little);

// A value as the fetch loop hands it over: `size` bytes at `data`, or NULL when `size`
// is negative.
struct Field {
    const char *data = nullptr;
    std::int64_t size = -1;
};

// A decoded value: `length` bytes at `data`, or NULL when `length` has kNullLength set.
inline constexpr std::uint32_t kNullLength = 0x80000000u;
struct Value {
    const char *data = nullptr;
    std::uint32_t length = kNullLength;
};

inline constexpr unsigned char kShortRow = 0;
inline constexpr unsigned char kLongRow = 1;
inline constexpr unsigned char kJump = 2;
inline constexpr unsigned char kSharingRow = 3;

inline constexpr size_t kShortHead = 3;
inline constexpr size_t kLongestShortRow = 0xFFFF;
inline constexpr std::int64_t kLongestShortValue = 255;
// A sharing row's flags are read and written as one word.
inline constexpr size_t kMostSharingColumns = 60;
// Encoding and decoding may read and write this many bytes past a record (copyWords,
// the flags' word), and a block's values are read this far past their buffer's end:
// whoever holds the records leaves this room after the last.
inline constexpr size_t kSlack = 64;

// What encoding needs to know of a row first: its values' bytes, all summed as unsigned
// (a NULL's -1 included), and whether one is NULL or longer than a byte can say.
struct Measure {
    std::uint64_t total = 0;
    std::uint64_t beyondShort = 0;
};

inline void measureValue(Measure &m, std::int64_t size)
{
    // A NULL's negative size is far beyond any short one.
    static_assert(kLongestShortValue == 255);
    m.beyondShort |= std::uint64_t(size) >> 8;
    m.total += std::uint64_t(size);
}

inline Measure measure(const Field *fields, size_t n)
{
    Measure m;
    for (size_t c = 0; c < n; ++c)
        measureValue(m, fields[c].size);
    return m;
}

// The values of a short row that are not written as plain bytes: those `shared` are a
// reference (`at`) to bytes stored before; those `kept` are written whole and reported
// to the caller, so that later rows may refer to them. Disjoint; only columns below
// kMostSharingColumns.
struct References {
    std::uint64_t shared = 0;
    std::uint64_t kept = 0;
    // The bytes the references save.
    size_t saved = 0;
    std::uint32_t at[kMostSharingColumns];
};

// The size of the short (or sharing) record of a row without NULLs or values beyond a
// byte's length (Measure::beyondShort 0), or 0 when its values are too long in all.
inline size_t shortRecordBytes(size_t n, const Measure &m, const References &refs)
{
    const size_t flags = refs.shared != 0 ? (n + 7) / 8 : 0;
    const std::uint64_t bytes = kShortHead + n + flags + m.total - refs.saved;
    return bytes > kLongestShortRow ? 0 : size_t(bytes);
}

// The values' bytes of a long record (NULLs take none) and the head before them. A row
// whose values reach kNullLength bytes in all cannot be stored.
inline std::uint64_t longValueBytes(const Field *fields, size_t n)
{
    std::uint64_t total = 0;
    for (size_t c = 0; c < n; ++c)
        total += std::uint64_t(fields[c].size > 0 ? fields[c].size : 0);
    return total;
}
inline size_t longHeadBytes(size_t n) { return 1 + n * sizeof(std::uint32_t); }

namespace detail {
// Most values are a few bytes long: copied inline, with loads and stores that stay
// inside both, instead of a call for each.
inline void copyBytes(char *to, const char *from, size_t size)
{
    if (size >= 8) {
        std::uint64_t w = 0;
        for (size_t i = 0; i + 8 < size; i += 8) {
            std::memcpy(&w, from + i, 8);
            std::memcpy(to + i, &w, 8);
        }
        std::memcpy(&w, from + size - 8, 8);
        std::memcpy(to + size - 8, &w, 8);
    } else if (size >= 4) {
        std::uint32_t head = 0, tail = 0;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + size - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + size - 4, &tail, 4);
    } else if (size > 0) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    }
}

// A value of a fetched block, copied 32 bytes at a time: the bytes after it in the
// fetch buffer and in the record are read and overwritten (kSlack).
inline void copyWords(char *to, const char *from, size_t size)
{
    size_t i = 0;
    do {
        std::memcpy(to + i, from + i, 32);
        i += 32;
    } while (i < size);
}

template <bool words>
inline void copyValue(char *to, const char *from, size_t size)
{
    if constexpr (words)
        copyWords(to, from, size);
    else
        copyBytes(to, from, size);
}

// The kind, the size and the flags of a short or sharing record; its values start where
// this returns, their lengths are left to write.
inline char *encodeShortHead(char *r, size_t bytes, size_t n, std::uint64_t shared)
{
    r[0] = char(shared != 0 ? kSharingRow : kShortRow);
    const auto size16 = std::uint16_t(bytes);
    std::memcpy(r + 1, &size16, sizeof size16);
    // The flags in one word: what lies past them is written over by the values, or is
    // the slack after the record.
    std::memcpy(r + kShortHead + n, &shared, sizeof shared);
    return r + kShortHead + n + (shared != 0 ? (n + 7) / 8 : 0);
}
} // namespace detail

// Writes the short or sharing record of `bytes` (shortRecordBytes) at `r`, and calls
// kept(column, where) for every value of refs.kept once its bytes are written.
// `words`: every value may be read in whole 32-byte words (a fetched block).
template <bool words, class Kept>
inline void encodeShort(char *r, size_t bytes, const Field *fields, size_t n, const References &refs, Kept &&kept)
{
    char *out = detail::encodeShortHead(r, bytes, n, refs.shared);
    auto *length = reinterpret_cast<unsigned char *>(r + kShortHead);
    // The runs of plain values between the special ones are straight copies.
    size_t c = 0;
    for (std::uint64_t special = refs.shared | refs.kept;; special &= special - 1) {
        const size_t stop = special != 0 ? size_t(std::countr_zero(special)) : n;
        for (; c < stop; ++c) {
            const auto size = size_t(fields[c].size);
            length[c] = static_cast<unsigned char>(size);
            detail::copyValue<words>(out, fields[c].data, size);
            out += size;
        }
        if (c == n)
            return;
        const auto size = size_t(fields[c].size);
        length[c] = static_cast<unsigned char>(size);
        if ((refs.shared >> c) & 1u) {
            std::memcpy(out, &refs.at[c], sizeof refs.at[c]);
            out += sizeof refs.at[c];
        } else {
            detail::copyValue<words>(out, fields[c].data, size);
            kept(c, static_cast<const char *>(out));
            out += size;
        }
        ++c;
    }
}

// Writes the long record of a row at `r`: longHeadBytes(n) + longValueBytes() bytes.
inline void encodeLong(char *r, const Field *fields, size_t n)
{
    r[0] = char(kLongRow);
    char *out = r + longHeadBytes(n);
    std::uint32_t end = 0;
    for (size_t c = 0; c < n; ++c) {
        const std::int64_t size = fields[c].size;
        if (size > 0) {
            std::memcpy(out + end, fields[c].data, size_t(size));
            end += std::uint32_t(size);
        }
        const std::uint32_t e = size < 0 ? (end | kNullLength) : end;
        std::memcpy(r + 1 + c * sizeof e, &e, sizeof e);
    }
}

// The size of the record at `record` of a row of `n` values; 0 for a jump.
inline std::uint32_t recordBytes(const char *record, size_t n)
{
    const auto kind = static_cast<unsigned char>(record[0]);
    if (kind == kJump)
        return 0;
    if (kind != kLongRow) {
        std::uint16_t bytes = 0;
        std::memcpy(&bytes, record + 1, sizeof bytes);
        return bytes;
    }
    const size_t head = longHeadBytes(n);
    if (n == 0)
        return std::uint32_t(head);
    std::uint32_t end = 0;
    std::memcpy(&end, record + head - sizeof end, sizeof end);
    return std::uint32_t(head + (end & ~kNullLength));
}

namespace detail {
inline void decodeLong(const char *record, size_t n, Value *values)
{
    const char *text = record + longHeadBytes(n);
    std::uint32_t begin = 0;
    for (size_t c = 0; c < n; ++c) {
        std::uint32_t end = 0;
        std::memcpy(&end, record + 1 + c * sizeof end, sizeof end);
        values[c].data = text + begin;
        values[c].length = (end & kNullLength) ? kNullLength : (end & ~kNullLength) - begin;
        begin = end & ~kNullLength;
    }
}

inline void decodeShort(const char *record, size_t n, Value *values)
{
    const auto *length = reinterpret_cast<const unsigned char *>(record + kShortHead);
    const char *text = record + kShortHead + n;
    for (size_t c = 0; c < n; ++c) {
        const std::uint32_t bytes = length[c];
        values[c] = Value{text, bytes};
        text += bytes;
    }
}

template <class Referred>
inline void decodeSharing(const char *record, size_t n, Value *values, const Referred &referred)
{
    const auto *length = reinterpret_cast<const unsigned char *>(record + kShortHead);
    // The word read with the flags lies inside the record's room: the values follow
    // them, and the slack the last record.
    std::uint64_t shared = 0;
    std::memcpy(&shared, record + kShortHead + n, sizeof shared);
    shared &= (std::uint64_t(1) << n) - 1;
    const char *text = record + kShortHead + n + (n + 7) / 8;
    size_t c = 0;
    for (;; shared &= shared - 1) {
        const size_t stop = shared != 0 ? size_t(std::countr_zero(shared)) : n;
        for (; c < stop; ++c) {
            const std::uint32_t bytes = length[c];
            values[c] = Value{text, bytes};
            text += bytes;
        }
        if (c == n)
            return;
        std::uint32_t reference = 0;
        std::memcpy(&reference, text, sizeof reference);
        values[c] = Value{referred(reference), length[c]};
        text += sizeof reference;
        ++c;
    }
}
} // namespace detail

// Fills values[0 .. n) from the record at `record`; views into it, or for a sharing
// row's references into what referred(reference) returns.
template <class Referred>
inline void decode(const char *record, size_t n, Value *values, const Referred &referred)
{
    switch (static_cast<unsigned char>(record[0])) {
    case kLongRow:
        return detail::decodeLong(record, n, values);
    case kShortRow:
        return detail::decodeShort(record, n, values);
    default:
        return detail::decodeSharing(record, n, values, referred);
    }
}

} // namespace talveros::data::record
