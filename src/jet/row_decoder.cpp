// Row layouts of Jet 3 and Jet 4 and the decoding of each column type.
#include "jet/row_decoder.h"

#include <algorithm>
#include <cmath>

#include "jet/complex_field.h"

namespace kavero::jet {

namespace {

constexpr std::size_t kJet3JumpSpan = 256; // a Jet 3 row has one jump byte per 256 bytes
constexpr std::uint8_t kMaxDecimalScale = 28;

constexpr std::int64_t kDigitCap = 100'000'000'000'000'000;

// `count` ASCII digits from `at`, or the corrupt-data error naming `what`.
std::int64_t storedDigits(const ByteView& bytes, std::size_t at, std::size_t count, const char* what) {
    std::int64_t value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        const std::uint8_t c = bytes.u8(i);
        if (c < '0' || c > '9') bytes.corrupt(i, std::string("extended date has a non-digit in its ") + what);
        // Nineteen digits may pass the int64 range; any count that large is refused anyway.
        value = std::min<std::int64_t>(value, kDigitCap) * 10 + (c - '0');
    }
    return value;
}

ExtendedDateTime decodeExtendedDate(const ByteView& bytes) {
    if (bytes.size() != kExtendedDateSize) {
        bytes.corrupt(0, "extended date of " + std::to_string(bytes.size()) + " bytes, not " +
                             std::to_string(kExtendedDateSize));
    }
    if (bytes.u8(kExtendedDateDayDigits) != ':') bytes.corrupt(kExtendedDateDayDigits, "extended date lacks its ':'");
    for (std::size_t i = 0; i < sizeof kExtendedDateTrailer; ++i) {
        if (bytes.u8(kExtendedDateTrailerOffset + i) != static_cast<std::uint8_t>(kExtendedDateTrailer[i]))
            bytes.corrupt(kExtendedDateTrailerOffset + i, "extended date does not end in \":7\" and a zero byte");
    }
    const std::int64_t days = storedDigits(bytes, 0, kExtendedDateDayDigits, "days");
    const std::int64_t seconds = storedDigits(bytes, kExtendedDateSecondsOffset, kExtendedDateSecondDigits, "seconds");
    const std::int64_t ticks = storedDigits(bytes, kExtendedDateTicksOffset, kExtendedDateTickDigits, "fraction");
    if (days > kExtendedDateMaxDays)
        bytes.corrupt(0, "extended date of day " + std::to_string(days) + " after 9999-12-31");
    if (seconds >= 86400) {
        bytes.corrupt(kExtendedDateSecondsOffset, "extended date of " + std::to_string(seconds) + " seconds in a day");
    }
    return {static_cast<std::int32_t>(days), static_cast<std::int32_t>(seconds), static_cast<std::int32_t>(ticks)};
}

std::size_t fixedSize(const Column& c) {
    if (c.type == kTypeBoolean) return 0;
    const std::size_t size = valueSizeOf(c.type);
    return size != 0 ? size : c.length;
}

} // namespace

struct RowDecoder::Layout {
    std::size_t columnCount = 0;
    std::size_t maskStart = 0;
    std::size_t fixedStart = 0;
    std::size_t variableCount = 0; // entries in m_offsets minus the end marker
};

RowDecoder::RowDecoder(const PageChannel& channel, const TableDefinition& table, const CodePageDecoder& codePage)
    : m_table(table), m_codePage(codePage), m_format(channel.format()), m_longValues(channel) {}

RowDecoder::Layout RowDecoder::locate(const ByteView& row) {
    Layout layout;
    const std::size_t size = row.size();
    layout.fixedStart = m_format.rowColumnCountSize;
    layout.columnCount = m_format.rowColumnCountSize == 1 ? row.u8(0) : row.u16(0);
    const std::size_t maskBytes = (layout.columnCount + 7) / 8;
    if (!fits(size, layout.fixedStart, maskBytes)) {
        row.corrupt(0, "row of " + std::to_string(size) + " bytes is too short for " +
                           std::to_string(layout.columnCount) + " columns");
    }
    layout.maskStart = size - maskBytes;
    if (m_table.variableColumns == 0) return layout;

    const std::size_t tail = maskBytes; // bytes at the end already spoken for
    if (m_format.version == Version::Jet3) {
        if (!fits(size, layout.fixedStart, tail + 1)) row.corrupt(0, "row too short for its variable column count");
        layout.variableCount = row.u8(size - tail - 1);
        std::size_t jumps = (size - 1) / kJet3JumpSpan;
        if (!fits(size, layout.fixedStart, tail + 1 + jumps + layout.variableCount + 1)) {
            row.corrupt(size - tail - 1, "variable offset table does not fit the row");
        }
        const std::size_t columnOffsets = size - tail - 1 - jumps - 1; // offset of off[0]
        // The last jump byte is a dummy when the offsets cannot have reached that far.
        if ((columnOffsets - layout.variableCount) / kJet3JumpSpan < jumps) --jumps;
        m_offsets.assign(layout.variableCount + 1, 0);
        std::size_t used = 0;
        for (std::size_t i = 0; i <= layout.variableCount; ++i) {
            while (used < jumps && row.u8(size - tail - 2 - used) == i) ++used;
            m_offsets[i] = row.u8(columnOffsets - i) + kJet3JumpSpan * used;
        }
    } else {
        if (!fits(size, layout.fixedStart, tail + 2)) row.corrupt(0, "row too short for its variable column count");
        layout.variableCount = row.u16(size - tail - 2);
        if (!fits(size, layout.fixedStart, tail + 2 + 2 * (layout.variableCount + 1))) {
            row.corrupt(size - tail - 2, "variable offset table of " + std::to_string(layout.variableCount) +
                                             " entries does not fit the row");
        }
        m_offsets.assign(layout.variableCount + 1, 0);
        for (std::size_t i = 0; i <= layout.variableCount; ++i) m_offsets[i] = row.u16(size - tail - 4 - 2 * i);
    }
    return layout;
}

void RowDecoder::decode(const ByteView& row, std::vector<Value>& values, const std::vector<bool>& wanted) {
    const Layout layout = locate(row);
    values.assign(m_table.columns.size(), Null{});
    for (std::size_t i = 0; i < m_table.columns.size(); ++i) {
        if (!wanted.empty() && !wanted[i]) continue;
        const Column& column = m_table.columns[i];
        try {
            values[i] = decodeColumn(column, row, layout);
        } catch (const FormatError& e) {
            throw e.withContext("column '" + column.name + "'");
        }
    }
}

Value RowDecoder::decodeColumn(const Column& column, const ByteView& row, const Layout& layout) {
    // Columns added after the row was written are absent: Null, or False for Yes/No.
    if (column.number >= layout.columnCount) {
        return column.type == kTypeBoolean ? Value(false) : Value(Null{});
    }
    const bool present = (row.u8(layout.maskStart + column.number / 8) >> (column.number % 8)) & 1;
    if (column.type == kTypeBoolean) return present;
    if (!present) return Null{};

    if (column.fixed()) {
        const std::size_t size = fixedSize(column);
        const std::size_t at = layout.fixedStart + column.fixedOffset;
        if (!fits(layout.maskStart, at, size)) {
            row.corrupt(at, "fixed column of " + std::to_string(size) + " bytes lies outside the row");
        }
        return decodeBytes(column, row.sub(at, size));
    }
    if (column.varIndex >= layout.variableCount) return Null{};
    const std::size_t start = m_offsets[column.varIndex];
    const std::size_t end = m_offsets[column.varIndex + 1u];
    if (start > end || end > layout.maskStart || start < layout.fixedStart) {
        row.corrupt(start, "variable column spans " + std::to_string(start) + ".." + std::to_string(end) +
                               " outside the row's data");
    }
    return decodeBytes(column, row.sub(start, end - start));
}

std::string RowDecoder::decodeText(std::span<const std::byte> bytes) const {
    return m_format.version == Version::Jet3 ? m_codePage.decode(bytes) : decodeJet4Text(bytes);
}

Value RowDecoder::decodeBytes(const Column& column, const ByteView& stored) {
    ByteView bytes = stored;
    std::vector<std::uint8_t> longValue;
    if (column.isLongValue()) {
        if (bytes.size() == 0) return Null{};
        longValue = m_longValues.read(bytes);
        bytes = ByteView(std::as_bytes(std::span<const std::uint8_t>(longValue)), ByteView::kNoPage, 0);
    }
    if (column.calculated()) {
        // A calculated value is wrapped: 16 bytes, u32 length at +16, the data from +20.
        constexpr std::size_t kWrapper = 20;
        if (bytes.size() < kWrapper) return Null{};
        const std::uint32_t length = bytes.u32(16);
        bytes = bytes.sub(kWrapper, std::min<std::size_t>(length, bytes.size() - kWrapper));
        if (bytes.size() == 0) return Null{};
    }
    auto need = [&](std::size_t n) {
        if (bytes.size() < n) bytes.corrupt(0, std::to_string(bytes.size()) + " bytes where the type needs " + std::to_string(n));
    };
    switch (column.type) {
    case kTypeByte: need(1); return bytes.u8(0);
    case kTypeInteger: need(2); return bytes.i16(0);
    case kTypeLong: need(4); return bytes.i32(0);
    case kTypeBigInt: need(8); return bytes.i64(0);
    case kTypeCurrency: need(8); return Currency{bytes.i64(0)};
    case kTypeSingle: need(4); return bytes.f32(0);
    case kTypeDouble: need(8); return bytes.f64(0);
    case kTypeDateTime: {
        need(8);
        const double days = bytes.f64(0);
        if (!std::isfinite(days) || days < kMinDateDays || days >= kMaxDateDays) {
            bytes.corrupt(0, "date value " + shortestText(days) + " outside the years 100 to 9999");
        }
        return DateTime{days};
    }
    case kTypeGuid: {
        need(kGuidSize);
        Guid guid;
        for (std::size_t i = 0; i < kGuidSize; ++i) guid.bytes[i] = bytes.u8(i);
        return guid;
    }
    case kTypeDecimal: {
        need(kDecimalSize);
        if (column.scale > kMaxDecimalScale) bytes.corrupt(0, "decimal scale " + std::to_string(column.scale) + " above 28");
        Decimal d;
        d.negative = (bytes.u8(0) & kDecimalNegative) != 0;
        d.scale = column.scale;
        for (std::size_t w = 0; w < 4; ++w) d.magnitude[3 - w] = bytes.u32(1 + 4 * w);
        return d;
    }
    case kTypeExtendedDate:
        return decodeExtendedDate(bytes);
    case kTypeText:
    case kTypeMemo: return Text{decodeText(bytes.all())};
    // The number of this record's set of values in the field's values table.
    case kTypeComplex: need(kComplexValueIdSize); return bytes.i32(0);
    default: {
        // Binary, OLE and types without a decoder of their own keep their raw bytes.
        Bytes raw;
        raw.data.resize(bytes.size());
        if (bytes.size() != 0) std::memcpy(raw.data.data(), bytes.all().data(), bytes.size());
        if (column.attachmentData) raw.data = decodeAttachment(raw.data);
        return raw;
    }
    }
}

} // namespace kavero::jet
