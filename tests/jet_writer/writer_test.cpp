// The writer's own rules: value helpers, refusals, and the file structures the readers rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "jet/database.h"
#include "jet/format.h"
#include "jet/writer/database_writer.h"
#include "jet/writer/fixtures.h"
#include "jet/writer/long_value_store.h"
#include "jet/writer/page_file.h"

namespace kavero::jet::writer {
namespace {

using F = FieldType;

std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }
std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) { return u16(b, at) | static_cast<std::uint32_t>(u16(b, at + 2)) << 16; }

// The bytes of the row a pg_row pointer names.
std::vector<std::uint8_t> rowAt(const std::vector<std::uint8_t>& file, std::uint32_t pointer) {
    const Format& f = kJet4Format;
    const std::size_t page = (pointer >> 8) * f.pageSize;
    const unsigned slot = pointer & 0xFF;
    const std::size_t start = page + (u16(file, page + f.dataRowTableOffset + 2 * slot) & kRowOffsetMask);
    const std::size_t end =
        slot == 0 ? page + f.pageSize : page + (u16(file, page + f.dataRowTableOffset + 2 * (slot - 1)) & kRowOffsetMask);
    return {file.begin() + static_cast<long>(start), file.begin() + static_cast<long>(end)};
}

// Page 3 is the first user table's definition: the catalog comes first at page 2.
constexpr std::uint32_t kFirstUserTdef = 3;

TEST(DecimalValue, ParsesAndPrintsAtTheColumnScale) {
    EXPECT_EQ(Decimal::parse("-1110.554", 6).text(6), "-1110.554000");
    EXPECT_EQ(Decimal::parse("0.000001", 6).unscaled, 1u);
    EXPECT_EQ(Decimal::parse("-0", 2).text(2), "0.00");
    EXPECT_EQ(Decimal::parse("12", 0).text(0), "12");
    EXPECT_EQ(Decimal::parse("9999999999999999999999.999999", 6).text(6), "9999999999999999999999.999999");
    EXPECT_THROW(Decimal::parse("1.234", 2), std::invalid_argument);
    EXPECT_THROW(Decimal::parse("1e5", 2), std::invalid_argument);
    EXPECT_THROW(Decimal::parse("-", 2), std::invalid_argument);
}

TEST(GuidValue, KeepsTheWrittenOrderAndRejectsBadText) {
    const Guid g = Guid::parse("{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
    EXPECT_EQ(g.bytes[0], 0x6F);
    EXPECT_EQ(g.bytes[15], 0xFF);
    EXPECT_EQ(g.text(), "{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
    EXPECT_EQ(Guid::parse("6f9619ff-8b86-d011-b42d-00c04fc964ff"), g);
    EXPECT_THROW(Guid::parse("{6F9619FF-8B86-D011-B42D-00C04FC964F}"), std::invalid_argument);
    EXPECT_THROW(Guid::parse("{6F9619FF+8B86-D011-B42D-00C04FC964FF}"), std::invalid_argument);
    EXPECT_THROW(Guid::parse("{6F9619FG-8B86-D011-B42D-00C04FC964FF}"), std::invalid_argument);
}

TEST(DateTimeValue, CountsDaysFromTheJetEpochWithTheTimeAlwaysForward) {
    EXPECT_EQ(DateTime::fromParts(1899, 12, 30).days, 0.0);
    EXPECT_EQ(DateTime::fromParts(1900, 1, 1).days, 2.0);
    EXPECT_EQ(DateTime::fromParts(100, 1, 1).days, -657434.0);
    EXPECT_EQ(DateTime::fromParts(9999, 12, 31).days, 2958465.0);
    EXPECT_NEAR(DateTime::fromParts(1899, 12, 29, 2, 24).days, -1.1, 1e-12);
    EXPECT_NEAR(DateTime::fromParts(1765, 6, 14, 12, 45).days, -49141.53125, 1e-9);
    EXPECT_NEAR(DateTime::fromParts(2000, 1, 1, 12).days, 36526.5, 1e-12);
    EXPECT_THROW(DateTime::fromParts(99, 12, 31), std::invalid_argument);
    EXPECT_THROW(DateTime::fromParts(10000, 1, 1), std::invalid_argument);
    EXPECT_THROW(DateTime::fromParts(2000, 13, 1), std::invalid_argument);
}

TEST(Utf16, SplitsCharactersOutsideTheBasicPlaneIntoSurrogates) {
    EXPECT_EQ(toUtf16("Aé東"), u"Aé東");
    EXPECT_EQ(toUtf16("😀"), std::u16string({char16_t(0xD83D), char16_t(0xDE00)}));
    EXPECT_THROW(toUtf16("\xC3"), std::invalid_argument);
    EXPECT_THROW(toUtf16("\xFF"), std::invalid_argument);
    EXPECT_THROW(toUtf16("\xED\xA0\x80"), std::invalid_argument); // an encoded lone surrogate
}

Database oneTable(Table t) {
    Database db;
    db.tables.push_back(std::move(t));
    return db;
}

// Date/Time Extended as our reader takes it from the 42 stored bytes: the first and last
// instant exactly, the seventh digit cut (never rounded) for the server, and each kind of
// malformed value refused as damage instead of read as some date.
TEST(ExtendedDate, ReadsTheStoredDigitsAndRefusesMalformedOnes) {
    const Database types = fixture("types").build();
    const auto table = std::find_if(types.tables.begin(), types.tables.end(), [](const Table& t) {
        return t.columns.size() > 1 && t.columns[1].type == F::ExtendedDate;
    });
    ASSERT_NE(table, types.tables.end());
    const std::vector<std::uint8_t> file = buildDatabase(oneTable(*table));
    const auto read = [&table](const std::vector<std::uint8_t>& bytes) {
        std::vector<std::byte> image(bytes.size());
        std::memcpy(image.data(), bytes.data(), bytes.size());
        jet::Database db("extended", std::move(image));
        const jet::TableDefinition definition = db.table(table->name);
        jet::RecordCursor cursor = db.records(definition);
        std::vector<jet::Value> values;
        for (std::vector<jet::Value> row; cursor.next(row);) values.push_back(row.at(1));
        return values;
    };
    const std::vector<jet::Value> values = read(file);
    ASSERT_EQ(values.size(), table->rows.size());
    EXPECT_EQ(values[0], jet::Value(jet::ExtendedDateTime{0, 0, 0}));
    const auto* last = std::get_if<jet::ExtendedDateTime>(&values[1]);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(*last, (jet::ExtendedDateTime{3652058, 86399, 9999999})); // 3,652,059 days in years 1 to 9999
    EXPECT_EQ(last->toString(), "9999-12-31 23:59:59.9999999");
    EXPECT_EQ(last->toMicrosecondString(), "9999-12-31 23:59:59.999999");
    EXPECT_TRUE(last->finerThanMicroseconds());
    EXPECT_EQ(last->storedBytes(), std::get<ExtendedDate>(table->rows[1][1]).stored());
    EXPECT_TRUE(jet::isNull(values.back()));

    // The third record's bytes, changed in place.
    const Bytes third = std::get<ExtendedDate>(table->rows[2][1]).stored();
    const auto at =
        static_cast<std::size_t>(std::search(file.begin(), file.end(), third.begin(), third.end()) - file.begin());
    ASSERT_LT(at, file.size());
    struct Damage {
        std::size_t offset;
        std::string bytes;
    };
    const std::vector<Damage> damages = {
        {0, "0000000000000000000"}, // day 0: still a date
        {0, "000000000000x000000"}, // a letter among the days
        {19, "-"},                  // the separator
        {20, "000000086400"},       // a second past the day
        {0, "0000000000003652059"}, // 10000-01-01
        {0, "9999999999999999999"}, // past any 64-bit count
        {32, "123456 "},            // a blank in the fraction
        {40, "6"},                  // ":7" and a zero byte end the value
    };
    for (std::size_t i = 0; i < damages.size(); ++i) {
        const std::string& replacement = damages[i].bytes;
        std::vector<std::uint8_t> damaged = file;
        std::copy(replacement.begin(), replacement.end(), damaged.begin() + static_cast<long>(at + damages[i].offset));
        if (i == 0) {
            EXPECT_EQ(read(damaged).at(2), jet::Value(jet::ExtendedDateTime{0, 49530, 1234567}));
            continue;
        }
        try {
            read(damaged);
            ADD_FAILURE() << "read as a date: " << replacement;
        } catch (const jet::FormatError& error) {
            EXPECT_EQ(error.number(), 3049) << replacement;
            EXPECT_NE(error.description().find("extended date"), std::string::npos) << error.description();
        }
    }
}

TEST(Writer, RefusesValuesThatDoNotSuitTheirColumn) {
    EXPECT_THROW(buildDatabase(oneTable(TableBuilder("T").column("A", F::Text, 3).row({text("four")}).build())),
                 std::runtime_error);
    EXPECT_THROW(buildDatabase(oneTable(TableBuilder("T").column("A", F::Long).row({text("1")}).build())),
                 std::runtime_error);
    EXPECT_THROW(buildDatabase(oneTable(TableBuilder("T").column("A", F::Byte).row({num(256)}).build())),
                 std::runtime_error);
    EXPECT_THROW(buildDatabase(oneTable(TableBuilder("T").column("A", F::Binary, 2).row({bytes({1, 2, 3})}).build())),
                 std::runtime_error);
    EXPECT_THROW(buildDatabase(oneTable(TableBuilder("T").column("A", F::Long).row({num(1), num(2)}).build())),
                 std::runtime_error);
    EXPECT_THROW(buildDatabase(oneTable(TableBuilder("T").column("A", F::Text, 256).build())), std::runtime_error);
    Table autoText = TableBuilder("T").column("A", F::Text, 10).build();
    autoText.columns[0].autoNumber = true;
    EXPECT_THROW(buildDatabase(oneTable(autoText)), std::runtime_error);
}

TEST(Writer, RefusesRecordsLongerThanAPageAndUnknownNames) {
    TableBuilder wide("T");
    Row row;
    for (int c = 0; c < 10; ++c) {
        wide.column("C" + std::to_string(c), F::Text, 255);
        row.push_back(text(std::string(255, 'x')));
    }
    EXPECT_THROW(buildDatabase(oneTable(wide.row(row).build())), std::runtime_error);
    EXPECT_THROW(buildDatabase(oneTable(TableBuilder("T").column("A", F::Long).index("I", {{"B", true}}).build())),
                 std::runtime_error);
    Database twice;
    twice.tables.push_back(TableBuilder("T").column("A", F::Long).build());
    twice.tables.push_back(TableBuilder("T").column("A", F::Long).build());
    EXPECT_THROW(buildDatabase(twice), std::runtime_error);
    Database relation = oneTable(TableBuilder("T").column("A", F::Long).build());
    relation.relationships.push_back({"R", "Nowhere", "T", {"A"}, false, false});
    EXPECT_THROW(buildDatabase(relation), std::runtime_error);
}

TEST(Writer, WritesTheSameBytesEveryTime) {
    EXPECT_EQ(buildDatabase(shopDatabase()), buildDatabase(shopDatabase()));
}

TEST(Writer, WritesAJet4HeaderWithoutPasswordOrEncoding) {
    const std::vector<std::uint8_t> file = buildDatabase(oneTable(TableBuilder("T").column("A", F::Long).build()));
    const Format& f = kJet4Format;
    ASSERT_EQ(file.size() % f.pageSize, 0u);
    EXPECT_EQ(std::memcmp(file.data() + f.engineNameOffset, "Standard Jet DB", 16), 0);
    EXPECT_EQ(file[f.versionByteOffset], 0x01);
    // Unmask the header block with RC4 and read the fields back.
    std::vector<std::uint8_t> block(file.begin() + static_cast<long>(f.maskedOffset),
                                    file.begin() + static_cast<long>(f.maskedOffset + f.maskedLength));
    std::uint8_t s[256];
    for (int i = 0; i < 256; ++i) s[i] = static_cast<std::uint8_t>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + kHeaderMaskKey[i % 4]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    for (std::size_t n = 0, i = 0, j = 0; n < block.size(); ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        block[n] ^= s[(s[i] + s[j]) & 0xFF];
    }
    const auto at = [&](std::size_t offset) { return offset - f.maskedOffset; };
    EXPECT_EQ(u16(block, at(f.codePageOffset)), 1252);
    EXPECT_EQ(u32(block, at(f.databaseKeyOffset)), 0u);
    EXPECT_EQ(u16(block, at(f.sortOrderOffset)), 0x0409);
    const double created = Database{}.created.days;
    double stored;
    std::memcpy(&stored, block.data() + at(f.creationDateOffset), 8);
    EXPECT_EQ(stored, created);
    // An empty password: the password area equals the creation-day mask.
    for (std::size_t i = 0; i < f.passwordLength; i += 4)
        EXPECT_EQ(u32(block, at(f.passwordOffset + i)), static_cast<std::uint32_t>(created));
}

TEST(Writer, UsesAnInlineUsageMapForASmallTableAndBitmapPagesForALargeOne) {
    const Format& f = kJet4Format;
    const std::vector<std::uint8_t> small = buildDatabase(fixture("customers").build());
    const std::uint32_t smallMap = u32(small, kFirstUserTdef * f.pageSize + f.tdefOwnedMapOffset);
    const std::vector<std::uint8_t> smallRow = rowAt(small, smallMap);
    ASSERT_EQ(smallRow.size(), f.usageMapRowLength);
    EXPECT_EQ(smallRow[0], kUsageMapInline);
    const std::uint32_t start = u32(smallRow, 1);
    EXPECT_EQ(smallRow[5] & 1, 1) << "the window starts at the first data page";
    EXPECT_EQ(small[start * f.pageSize], kPageData);
    EXPECT_EQ(u32(small, start * f.pageSize + f.dataOwnerOffset), kFirstUserTdef);

    const std::vector<std::uint8_t> large = buildDatabase(fixture("large").build());
    const std::vector<std::uint8_t> largeRow = rowAt(large, u32(large, kFirstUserTdef * f.pageSize + f.tdefOwnedMapOffset));
    ASSERT_EQ(largeRow[0], kUsageMapReference);
    std::vector<std::size_t> owned;
    const std::size_t perPage = (f.pageSize - kUsageMapPageBitmapOffset) * 8;
    for (std::size_t slot = 0; slot < (f.usageMapRowLength - 1) / 4; ++slot) {
        const std::uint32_t bitmap = u32(largeRow, 1 + 4 * slot);
        if (bitmap == 0) continue;
        ASSERT_EQ(large[bitmap * f.pageSize], kPageUsageMap);
        for (std::size_t bit = 0; bit < perPage; ++bit)
            if (large[bitmap * f.pageSize + kUsageMapPageBitmapOffset + bit / 8] & (1u << (bit % 8)))
                owned.push_back(slot * perPage + bit);
    }
    // The map lists exactly the table's data pages, never its LVAL pages.
    std::vector<std::size_t> dataPages;
    for (std::size_t page = 0; page < large.size() / f.pageSize; ++page)
        if (large[page * f.pageSize] == kPageData && u32(large, page * f.pageSize + f.dataOwnerOffset) == kFirstUserTdef)
            dataPages.push_back(page);
    EXPECT_EQ(owned, dataPages);
    ASSERT_FALSE(dataPages.empty());
    EXPECT_GE(dataPages.back() - dataPages.front(), 512u) << "the pages span more than one inline window";
}

TEST(Writer, ContinuesAWideTableDefinitionOnASecondPage) {
    const Format& f = kJet4Format;
    const Database db = fixture("types").build();
    const std::vector<std::uint8_t> file = buildDatabase(db);
    // Definition pages are given out in table order, starting after the catalog's.
    std::size_t index = 0;
    while (index < db.tables.size() && db.tables[index].name.rfind("Wide", 0) != 0) ++index;
    ASSERT_LT(index, db.tables.size());
    const std::size_t wide = (kFirstUserTdef + index) * f.pageSize;
    ASSERT_EQ(file[wide], kPageTableDefinition);
    const std::uint32_t next = u32(file, wide + f.tdefNextPageOffset);
    ASSERT_NE(next, 0u);
    EXPECT_EQ(file[next * f.pageSize], kPageTableDefinition);
    EXPECT_EQ(u32(file, next * f.pageSize + f.tdefNextPageOffset), 0u);
    const std::uint32_t length = u32(file, wide + f.tdefLengthOffset);
    EXPECT_GT(length, f.pageSize);
    // The definition ends with 0xFFFF exactly where its length says.
    const std::size_t endOnSecond = length - f.pageSize + kTdefPageHeaderSize;
    EXPECT_EQ(u16(file, next * f.pageSize + endOnSecond - 2), 0xFFFF);
}

TEST(Writer, KeepsAtMost255RowsOnADataPage) {
    const Format& f = kJet4Format;
    TableBuilder t("Tiny");
    t.column("B", F::Byte);
    for (int i = 0; i < 1000; ++i) t.row({num(i % 256)});
    const std::vector<std::uint8_t> file = buildDatabase(oneTable(t.build()));
    std::size_t rows = 0;
    for (std::size_t p = 0; p < file.size() / f.pageSize; ++p) {
        const std::size_t at = p * f.pageSize;
        if (file[at] != kPageData || u32(file, at + f.dataOwnerOffset) != kFirstUserTdef) continue;
        const std::uint16_t n = u16(file, at + f.dataRowCountOffset);
        EXPECT_LE(n, 255);
        rows += n;
    }
    EXPECT_EQ(rows, 1000u);
}

TEST(LongValues, StoreSmallOnesInOneExactRowAndLargeOnesAsAChain) {
    const Format& f = kJet4Format;
    PageFile file(f);
    file.allocate();
    LongValueStore store(file);
    const Bytes small(100, 0xAB);
    const std::vector<std::uint8_t> single = store.store(small);
    ASSERT_EQ(single.size(), kLongValueHeaderSize);
    EXPECT_EQ(single[3], kLongValueSingle);
    EXPECT_EQ(u32(single, 0) & 0xFFFFFF, 100u);
    const std::vector<std::uint8_t> bytesOut = file.bytes();
    EXPECT_EQ(rowAt(bytesOut, u32(single, 4)), small) << "a single LVAL row is exactly the value";

    Bytes big(10000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 31);
    const std::vector<std::uint8_t> chain = store.store(big);
    EXPECT_EQ(chain[3], kLongValueChain);
    const std::vector<std::uint8_t> all = file.bytes();
    Bytes joined;
    std::uint32_t pointer = u32(chain, 4);
    for (int hops = 0; pointer != 0 && hops < 10; ++hops) {
        const std::vector<std::uint8_t> row = rowAt(all, pointer);
        EXPECT_EQ(std::memcmp(all.data() + (pointer >> 8) * f.pageSize + f.dataOwnerOffset, kLongValuePageTag, 4), 0);
        pointer = u32(row, 0);
        joined.insert(joined.end(), row.begin() + 4, row.end());
    }
    EXPECT_EQ(joined, big) << "chain rows carry the value unpadded";
    EXPECT_EQ(LongValueStore::inlineField(small).size(), kLongValueHeaderSize + small.size());
    EXPECT_EQ(LongValueStore::inlineField(small)[3], kLongValueInline);
}

} // namespace
} // namespace kavero::jet::writer
