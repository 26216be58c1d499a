// Decodes inline and page-referenced usage maps into page numbers.
#include "jet/usage_map.h"

#include <algorithm>
#include <set>

#include "jet/data_page.h"

namespace kavero::jet {

namespace {

// Stands for a listed page whose number does not even fit a page number.
constexpr std::uint64_t kPastTheEnd = 0xFFFFFFFF;

// Adds page base + i for each set bit i of the bitmap, LSB first. Returns false after adding
// the first page past the end of the file: every later bit names a page further out, and one
// is enough to report the damage without a hostile map filling memory.
bool addBits(const ByteView& bitmap, std::uint64_t base, std::uint32_t pageCount, std::vector<std::uint32_t>& out) {
    for (std::size_t i = 0; i < bitmap.size(); ++i) {
        const std::uint8_t bits = bitmap.u8(i);
        if (bits == 0) continue;
        for (unsigned b = 0; b < 8; ++b) {
            if ((bits & (1u << b)) == 0) continue;
            const std::uint64_t page = base + i * 8 + b;
            out.push_back(static_cast<std::uint32_t>(std::min<std::uint64_t>(page, kPastTheEnd)));
            if (page >= pageCount) return false;
        }
    }
    return true;
}

} // namespace

std::vector<std::uint32_t> UsageMap::pages(const PageChannel& channel, std::uint32_t pointer) {
    const Format& f = channel.format();
    std::vector<std::byte> buffer;
    const DataPage mapPage(channel.readPageOfType(pointerPage(pointer), kPageData, buffer, "usage map"), f);
    const ByteView row = mapPage.row(mapPage.slot(pointerRow(pointer)));
    if (row.size() < 1) row.corrupt(0, "empty usage map row");

    std::vector<std::uint32_t> out;
    const std::uint8_t type = row.u8(0);
    if (type == kUsageMapInline) {
        row.require(0, kUsageMapInlineBitmapOffset, "inline usage map header");
        const std::uint32_t start = row.u32(kUsageMapInlineStartOffset);
        addBits(row.sub(kUsageMapInlineBitmapOffset, row.size() - kUsageMapInlineBitmapOffset), start,
                channel.pageCount(), out);
    } else if (type == kUsageMapReference) {
        const std::size_t count = (row.size() - kUsageMapReferencePointersOffset) / 4;
        const std::uint64_t pagesPerMapPage = (f.pageSize - kUsageMapPageBitmapOffset) * 8;
        std::set<std::uint32_t> seen;
        std::vector<std::byte> bitmapBuffer;
        for (std::size_t k = 0; k < count; ++k) {
            const std::uint32_t mapPageNumber = row.u32(kUsageMapReferencePointersOffset + 4 * k);
            if (mapPageNumber == 0 || !seen.insert(mapPageNumber).second) continue;
            const ByteView bitmapPage =
                channel.readPageOfType(mapPageNumber, kPageUsageMap, bitmapBuffer, "usage bitmap");
            if (!addBits(bitmapPage.sub(kUsageMapPageBitmapOffset, bitmapPage.size() - kUsageMapPageBitmapOffset),
                         k * pagesPerMapPage, channel.pageCount(), out)) {
                break;
            }
        }
    } else {
        row.corrupt(0, "unknown usage map type " + std::to_string(type));
    }
    return out; // ascending: windows are visited in order and bits within each in order
}

} // namespace kavero::jet
