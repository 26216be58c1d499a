// Byte layout of the Access file formats, one constant set per version. The reader and the
// fixture writer both take every offset and size from here. Integers are little-endian
// unless a field says otherwise; offsets are from the start of the structure named.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kavero::jet {

enum class Version { Jet3, Jet4, Ace };

struct Format {
    Version version;

    // Page 0, the database header.
    std::size_t pageSize;                 // 2048 (Jet 3) or 4096
    std::size_t engineNameOffset = 0x04;  // "Standard Jet DB" / "Standard ACE DB"
    std::size_t versionByteOffset = 0x14; // 0 Jet 3, 1 Jet 4, >= 2 ACE
    std::size_t maskedOffset = 0x18;      // start of the RC4-masked block
    std::size_t maskedLength;             // 126 (Jet 3) or 128 bytes
    std::size_t codePageOffset = 0x3C;    // u16, in the unmasked block
    std::size_t databaseKeyOffset = 0x3E; // u32; non-zero means encoded pages
    std::size_t passwordOffset = 0x42;
    std::size_t passwordLength;           // 20 (Jet 3) or 40 bytes
    std::size_t sortOrderOffset;          // u16 LCID: 0x3A (Jet 3) or 0x6E
    std::size_t creationDateOffset = 0x72; // f64, Jet 4 and ACE
    std::size_t cryptoProviderOffset = 0x299; // ACE: u16 length, u16 major, u16 minor

    // Data and LVAL pages (type 0x01).
    std::size_t dataOwnerOffset = 4;      // u32 tdef page, or the bytes "LVAL"
    std::size_t dataRowCountOffset;       // u16: 8 (Jet 3) or 12
    std::size_t dataRowTableOffset;       // u16 per slot: 10 (Jet 3) or 14

    // Table definition (type 0x02), offsets into the concatenated tdef chain.
    std::size_t tdefNextPageOffset = 4;   // u32 in each tdef page's 8-byte header
    std::size_t tdefLengthOffset = 8;     // u32, offset just past the 0xFFFF trailer
    std::size_t tdefRowCountOffset;       // u32: 12 / 16
    std::size_t tdefAutoNumberOffset;     // u32 next autonumber: 16 / 20
    std::size_t tdefTableTypeOffset;      // u8 0x4E user, 0x53 system: 20 / 40
    std::size_t tdefMaxColsOffset;        // u16, deleted columns included: 21 / 41
    std::size_t tdefVarColsOffset;        // u16: 23 / 43
    std::size_t tdefColumnCountOffset;    // u16: 25 / 45
    std::size_t tdefIndexCountOffset;     // i32 logical indexes: 27 / 47
    std::size_t tdefRealIndexCountOffset; // i32: 31 / 51
    std::size_t tdefOwnedMapOffset;       // u32 row pointer: 35 / 55
    std::size_t tdefFreeMapOffset;        // u32 row pointer: 39 / 59
    std::size_t tdefRealIndexHeadersOffset; // 43 / 63
    std::size_t realIndexHeaderSize;      // 8 / 12 bytes

    // One column entry of the tdef.
    std::size_t columnEntrySize;          // 18 / 25
    std::size_t columnTypeOffset = 0;     // u8
    std::size_t columnNumberOffset;       // u16 col_num: +1 / +5
    std::size_t columnVarIndexOffset;     // u16: +3 / +7
    std::size_t columnSortOrderOffset;    // u16 LCID of text: +9 / +11
    std::size_t columnPrecisionOffset;    // u8 Decimal precision: Jet 4 +11
    std::size_t columnScaleOffset;        // u8 Decimal scale: Jet 4 +12
    std::size_t columnFlagsOffset;        // u8: +13 / +15
    std::size_t columnFixedOffsetOffset;  // u16: +14 / +21
    std::size_t columnLengthOffset;       // u16: +16 / +23

    // Index definitions.
    std::size_t realIndexEntrySize;       // 39 / 52
    std::size_t realIndexColumnsOffset;   // 10 x {u16 col_num, u8 order}: +0 / +4
    std::size_t realIndexFlagsOffset;     // u8: +38 / +46
    std::size_t logicalIndexEntrySize;    // 20 / 28
    std::size_t logicalIndexNumberOffset; // i32: +0 / +4
    std::size_t logicalIndexRealOffset;   // i32 real index number: +4 / +8
    std::size_t logicalIndexTypeOffset;   // u8 0 normal, 1 primary, 2 foreign: +19 / +23
    // A relationship entry (type 2) also names the other side.
    std::size_t logicalIndexRelTypeOffset;      // u8 1 = this table is the primary side: +8 / +12
    std::size_t logicalIndexRelIndexOffset;     // i32 the other side's logical index number: +9 / +13
    std::size_t logicalIndexRelPageOffset;      // u32 the other table's tdef page: +13 / +17
    std::size_t logicalIndexCascadeUpdateOffset; // u8: +17 / +21
    std::size_t logicalIndexCascadeDeleteOffset; // u8: +18 / +22

    // Rows: the column count before the fixed area is u8 (Jet 3) or u16.
    std::size_t rowColumnCountSize;
    // Names in the tdef: u8 length + code-page bytes (Jet 3) or u16 byte length + UCS-2.
    std::size_t nameLengthSize;
    std::size_t usageMapRowLength;        // inline (type 0) map row: 133 / 69
    std::size_t textUnitSize;             // bytes per character of a Text length: 1 / 2
};

inline constexpr Format kJet3Format{
    .version = Version::Jet3,
    .pageSize = 2048,
    .maskedLength = 126,
    .passwordLength = 20,
    .sortOrderOffset = 0x3A,
    .dataRowCountOffset = 8,
    .dataRowTableOffset = 10,
    .tdefRowCountOffset = 12,
    .tdefAutoNumberOffset = 16,
    .tdefTableTypeOffset = 20,
    .tdefMaxColsOffset = 21,
    .tdefVarColsOffset = 23,
    .tdefColumnCountOffset = 25,
    .tdefIndexCountOffset = 27,
    .tdefRealIndexCountOffset = 31,
    .tdefOwnedMapOffset = 35,
    .tdefFreeMapOffset = 39,
    .tdefRealIndexHeadersOffset = 43,
    .realIndexHeaderSize = 8,
    .columnEntrySize = 18,
    .columnNumberOffset = 1,
    .columnVarIndexOffset = 3,
    .columnSortOrderOffset = 9,
    .columnPrecisionOffset = 0, // Jet 3 has no Decimal
    .columnScaleOffset = 0,
    .columnFlagsOffset = 13,
    .columnFixedOffsetOffset = 14,
    .columnLengthOffset = 16,
    .realIndexEntrySize = 39,
    .realIndexColumnsOffset = 0,
    .realIndexFlagsOffset = 38,
    .logicalIndexEntrySize = 20,
    .logicalIndexNumberOffset = 0,
    .logicalIndexRealOffset = 4,
    .logicalIndexTypeOffset = 19,
    .logicalIndexRelTypeOffset = 8,
    .logicalIndexRelIndexOffset = 9,
    .logicalIndexRelPageOffset = 13,
    .logicalIndexCascadeUpdateOffset = 17,
    .logicalIndexCascadeDeleteOffset = 18,
    .rowColumnCountSize = 1,
    .nameLengthSize = 1,
    .usageMapRowLength = 133,
    .textUnitSize = 1,
};

inline constexpr Format kJet4Format{
    .version = Version::Jet4,
    .pageSize = 4096,
    .maskedLength = 128,
    .passwordLength = 40,
    .sortOrderOffset = 0x6E,
    .dataRowCountOffset = 12,
    .dataRowTableOffset = 14,
    .tdefRowCountOffset = 16,
    .tdefAutoNumberOffset = 20,
    .tdefTableTypeOffset = 40,
    .tdefMaxColsOffset = 41,
    .tdefVarColsOffset = 43,
    .tdefColumnCountOffset = 45,
    .tdefIndexCountOffset = 47,
    .tdefRealIndexCountOffset = 51,
    .tdefOwnedMapOffset = 55,
    .tdefFreeMapOffset = 59,
    .tdefRealIndexHeadersOffset = 63,
    .realIndexHeaderSize = 12,
    .columnEntrySize = 25,
    .columnNumberOffset = 5,
    .columnVarIndexOffset = 7,
    .columnSortOrderOffset = 11,
    .columnPrecisionOffset = 11,
    .columnScaleOffset = 12,
    .columnFlagsOffset = 15,
    .columnFixedOffsetOffset = 21,
    .columnLengthOffset = 23,
    .realIndexEntrySize = 52,
    .realIndexColumnsOffset = 4,
    .realIndexFlagsOffset = 46,
    .logicalIndexEntrySize = 28,
    .logicalIndexNumberOffset = 4,
    .logicalIndexRealOffset = 8,
    .logicalIndexTypeOffset = 23,
    .logicalIndexRelTypeOffset = 12,
    .logicalIndexRelIndexOffset = 13,
    .logicalIndexRelPageOffset = 17,
    .logicalIndexCascadeUpdateOffset = 21,
    .logicalIndexCascadeDeleteOffset = 22,
    .rowColumnCountSize = 2,
    .nameLengthSize = 2,
    .usageMapRowLength = 69,
    .textUnitSize = 2,
};

// ACE files use the Jet 4 layout; only the header's version byte and crypto block differ.
inline constexpr Format kAceFormat = [] {
    Format f = kJet4Format;
    f.version = Version::Ace;
    return f;
}();

// Page types (byte 0 of a page).
inline constexpr std::uint8_t kPageHeader = 0x00;
inline constexpr std::uint8_t kPageData = 0x01;
inline constexpr std::uint8_t kPageTableDefinition = 0x02;
inline constexpr std::uint8_t kPageIndexNode = 0x03;
inline constexpr std::uint8_t kPageIndexLeaf = 0x04;
inline constexpr std::uint8_t kPageUsageMap = 0x05;

// Column type codes (byte 0 of a column entry), as the engine reports them.
enum ColumnType : std::uint8_t {
    kTypeBoolean = 1,
    kTypeByte = 2,
    kTypeInteger = 3,
    kTypeLong = 4,
    kTypeCurrency = 5,
    kTypeSingle = 6,
    kTypeDouble = 7,
    kTypeDateTime = 8,
    kTypeBinary = 9,
    kTypeText = 10,
    kTypeOle = 11,
    kTypeMemo = 12,
    kTypeGuid = 15,
    kTypeDecimal = 16,
    kTypeComplex = 0x12,  // ACE attachment / multi-value key
    kTypeBigInt = 0x13,
    kTypeExtendedDate = 0x14,
};

// Bytes a value of a fixed-size numeric, date or GUID type takes in a row; 0 for the types
// whose size comes from the column (Text, Binary) or that are stored elsewhere (Yes/No in the
// null mask, Memo and OLE as long values).
constexpr std::size_t valueSizeOf(std::uint8_t type) {
    switch (type) {
    case kTypeByte: return 1;
    case kTypeInteger: return 2;
    case kTypeLong:
    case kTypeSingle: return 4;
    case kTypeCurrency:
    case kTypeDouble:
    case kTypeDateTime:
    case kTypeBigInt: return 8;
    case kTypeGuid: return 16;
    case kTypeDecimal: return 17; // sign byte + four u32
    case kTypeExtendedDate:
        return 42; // ASCII digits, see kExtendedDate* below
    default: return 0;
    }
}

// Column flags (tdef column entry).
inline constexpr std::uint8_t kColumnFixed = 0x01;
inline constexpr std::uint8_t kColumnUpdatable = 0x02;
inline constexpr std::uint8_t kColumnAutoLong = 0x04;
inline constexpr std::uint8_t kColumnAutoGuid = 0x40;
inline constexpr std::uint8_t kColumnHyperlink = 0x80;

// Row offset flags in a data page's slot table.
inline constexpr std::uint16_t kRowDeleted = 0x8000;  // also marks an overflow target
inline constexpr std::uint16_t kRowOverflow = 0x4000; // the row holds a pointer to the real row
inline constexpr std::uint16_t kRowOffsetMask = 0x1FFF;

// The 4-byte RC4 key that masks the header block.
inline constexpr std::uint8_t kHeaderMaskKey[4] = {0xC7, 0xDA, 0x39, 0x6B};

// Page 0 besides the masked block.
inline constexpr std::size_t kEngineNameLength = 15;     // "Standard Jet DB" without its NUL
inline constexpr std::uint8_t kVersionJet3 = 0;
inline constexpr std::uint8_t kVersionJet4 = 1;          // 2 and up: ACE (2007, 2010, ...)

// Every page: byte 0 is the type; tdef continuation pages carry an 8-byte header.
inline constexpr std::size_t kPageTypeOffset = 0;
inline constexpr std::size_t kTdefPageHeaderSize = 8;
inline constexpr std::uint16_t kTdefTrailer = 0xFFFF;    // ends the column usage-map list
inline constexpr std::size_t kTdefColumnMapEntrySize = 10; // u16 col_num, u32 owned, u32 free
inline constexpr std::uint8_t kTableTypeUser = 0x4E;
inline constexpr std::uint8_t kTableTypeSystem = 0x53;
inline constexpr std::size_t kMsysObjectsPage = 2;       // MSysObjects' tdef is always page 2

// Column entry extras.
inline constexpr std::size_t kJet4ColumnExtFlagsOffset = 16; // u8; 0xC0 marks a calculated column
// An attachment or multi-value column names its row of MSysComplexColumns (ComplexID) here.
inline constexpr std::size_t kColumnComplexIdOffset = 11; // i32, Jet 4 / ACE column entry
inline constexpr std::size_t kComplexValueIdSize = 4;     // i32 in the row: the record's set of values
inline constexpr std::uint8_t kExtFlagCalculated = 0xC0;
inline constexpr std::size_t kIndexKeyColumns = 10;        // key slots per real index
inline constexpr std::size_t kIndexKeySlotSize = 3;        // u16 col_num (0xFFFF unused), u8 order
inline constexpr std::uint16_t kIndexSlotUnused = 0xFFFF;
inline constexpr std::uint8_t kIndexOrderAscending = 0x01; // bit 0 of the slot's order byte
inline constexpr std::uint8_t kIndexFlagUnique = 0x01;
inline constexpr std::uint8_t kLogicalIndexPrimary = 1;
inline constexpr std::uint8_t kLogicalIndexForeign = 2;    // a relationship, not an index
inline constexpr std::uint8_t kRelationshipPrimarySide = 1; // rel type of the referenced table's entry

// Usage maps: byte 0 of the map row is the map type.
inline constexpr std::uint8_t kUsageMapInline = 0;         // u32 start page at +1, bitmap from +5
inline constexpr std::uint8_t kUsageMapReference = 1;      // u32 pointers to 0x05 pages from +1
inline constexpr std::size_t kUsageMapInlineStartOffset = 1;
inline constexpr std::size_t kUsageMapInlineBitmapOffset = 5;
inline constexpr std::size_t kUsageMapReferencePointersOffset = 1;
inline constexpr std::size_t kUsageMapPageBitmapOffset = 4; // bitmap start on a 0x05 page

// Long values (Memo, OLE): a 12-byte field in the row.
inline constexpr std::size_t kLongValueHeaderSize = 12;    // u32 length|kind, u32 pg_row, u32 unused
inline constexpr std::uint32_t kLongValueLengthMask = 0x3FFFFFFF;
inline constexpr std::uint8_t kLongValueInline = 0x80;     // data follows the header
inline constexpr std::uint8_t kLongValueSingle = 0x40;     // one LVAL row
inline constexpr std::uint8_t kLongValueChain = 0x00;      // LVAL rows of u32 next pg_row + data
inline constexpr std::size_t kLongValueChainLinkSize = 4;
inline constexpr char kLongValuePageTag[4] = {'L', 'V', 'A', 'L'}; // owner field of LVAL pages

// Fixed sizes of the column types in a row.
inline constexpr std::size_t kDecimalSize = 17;            // sign byte + four u32, most significant first
inline constexpr std::uint8_t kDecimalNegative = 0x80;
inline constexpr std::size_t kGuidSize = 16;

// Date/Time Extended: 42 ASCII bytes, "DDDDDDDDDDDDDDDDDDD:SSSSSSSSSSSSFFFFFFF:7\0": 19 digits of
// whole days since 0001-01-01, ':', 12 digits of seconds since midnight, 7 digits of the
// fraction of the second in units of 100 ns, then ':', '7' and a zero byte.
inline constexpr std::size_t kExtendedDateSize = 42;
inline constexpr std::size_t kExtendedDateDayDigits = 19;
inline constexpr std::size_t kExtendedDateSecondsOffset = 20;
inline constexpr std::size_t kExtendedDateSecondDigits = 12;
inline constexpr std::size_t kExtendedDateTicksOffset = 32;
inline constexpr std::size_t kExtendedDateTickDigits = 7;
inline constexpr std::size_t kExtendedDateTrailerOffset = 39;
inline constexpr char kExtendedDateTrailer[3] = {':', '7', '\0'};
inline constexpr std::int64_t kExtendedDateMaxDays = 3652058; // 9999-12-31
inline constexpr std::int64_t kTicksPerSecond = 10000000;

// Compressed Jet 4 text starts with these two bytes; a 0x00 byte toggles the mode.
inline constexpr std::uint8_t kCompressedTextMarker[2] = {0xFF, 0xFE};

// Column properties (MSysObjects.LvProp).
inline constexpr char kPropertyMagicJet4[4] = {'M', 'R', '2', '\0'};
inline constexpr char kPropertyMagicJet3[4] = {'K', 'K', 'D', '\0'};
inline constexpr std::size_t kPropertyChunkHeaderSize = 6; // u32 length (incl. header), u16 type
inline constexpr std::uint16_t kPropertyChunkNames = 0x80;
inline constexpr std::uint16_t kPropertyChunkTable = 0x00;
inline constexpr std::uint16_t kPropertyChunkColumn = 0x01;
inline constexpr std::size_t kPropertyEntryHeaderSize = 8; // u16 len, u8 ddl, u8 type, u16 name, u16 data len

// The catalog (MSysObjects) row facts.
inline constexpr std::int32_t kObjectTypeTable = 1;
inline constexpr std::uint32_t kObjectFlagsSystem = 0x80000002;
inline constexpr std::uint32_t kObjectIdPageMask = 0x00FFFFFF;

// Days between 0001-01-01 and the Jet epoch 1899-12-30, and the valid range of a date.
inline constexpr double kMinDateDays = -657434.0;          // 0100-01-01
inline constexpr double kMaxDateDays = 2958466.0;          // 10000-01-01, exclusive

// Further Jet 4 layout facts that a writer has to fill in (a reader may skip them).
inline constexpr char kJetEngineName[] = "Standard Jet DB"; // at Format::engineNameOffset, NUL-terminated
inline constexpr std::uint16_t kCodePage1252 = 1252;
inline constexpr std::uint16_t kSortGeneralLegacy = 0x0409; // LCID of the "General" sort order

inline constexpr std::size_t kJet4DataPageFreeSpaceOffset = 2; // u16 bytes left on a data page
inline constexpr std::size_t kJet4TdefFreeSpaceOffset = 2;     // u16 in each tdef page header
inline constexpr std::uint32_t kJet4TdefMagic = 1625;          // tdef +12, column entry +1, logical index +0
inline constexpr std::size_t kJet4TdefMagicOffset = 12;
inline constexpr std::size_t kJet4TdefBeforeTypeOffset = 24;   // u8 1, then 15 zero bytes up to the table type
inline constexpr std::size_t kJet4RealIndexRowsOffset = 4;     // u32 row count in a 12-byte real-index header

inline constexpr std::size_t kJet4ColumnMagicOffset = 1;       // u32 kJet4TdefMagic
inline constexpr std::size_t kJet4ColumnNumberAgainOffset = 9; // u16, col_num repeated

inline constexpr std::uint32_t kJet4RealIndexMagic = 1923;     // u32 at +0 of a real index entry
inline constexpr std::size_t kJet4RealIndexUsageMapOffset = 34; // u32 row pointer
inline constexpr std::size_t kJet4RealIndexFirstPageOffset = 38; // u32 root page
inline constexpr std::uint8_t kIndexFlagIgnoreNulls = 0x02;
inline constexpr std::uint8_t kIndexFlagRequired = 0x08;
inline constexpr std::uint8_t kIndexFlagJet4Always = 0x80;

inline constexpr std::size_t kJet4LogicalIndexMagicOffset = 0;      // u32 kJet4TdefMagic
inline constexpr std::uint8_t kLogicalIndexNormal = 0;

} // namespace kavero::jet
