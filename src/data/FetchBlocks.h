#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace talveros::data {

// How a result is fetched: every column bound as UTF-8 text in a buffer of `widths[c]`
// bytes a row, `blockRows` rows a fetch. The record sets and the benchmarks' baseline
// both fetch this way, so that what the baseline measures is the same driver work.
struct FetchBlocks {
    std::vector<size_t> widths;
    size_t blockRows = 1;
    // A column may hold a value longer than its buffer; such a value can only be read
    // whole one row a fetch, so the block is then a single row.
    bool mayBeLonger = false;
};

// `columnSizes` as the driver describes the columns, in characters; 0 for unknown.
inline FetchBlocks fetchBlocks(const std::vector<std::uint64_t> &columnSizes)
{
    constexpr size_t kMaxWidth = 256 * 1024;
    // Blocks fetch no faster beyond some 64 rows; buffers that stay in the cache help.
    constexpr size_t kBlockBudget = 512 * 1024;
    FetchBlocks b;
    b.widths.reserve(columnSizes.size());
    size_t rowWidth = 0;
    for (const std::uint64_t size : columnSizes) {
        // Four bytes a character, a terminator, and room for numbers written as text.
        const size_t width = size == 0 ? kMaxWidth : std::max<size_t>(size_t(size) * 4 + 1, 64);
        b.mayBeLonger = b.mayBeLonger || size == 0 || width > kMaxWidth;
        b.widths.push_back(std::min(width, kMaxWidth));
        rowWidth += b.widths.back();
    }
    b.blockRows = b.mayBeLonger ? 1 : std::clamp<size_t>(kBlockBudget / std::max<size_t>(rowWidth, 1), 1, 1024);
    return b;
}

} // namespace talveros::data
