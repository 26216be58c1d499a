// Every type at its edges, a wide table whose definition spans pages, and the large tables.
#include "jet/writer/generated_tables.h"

#include <string>

#include "jet/writer/fixtures.h"

namespace kavero::jet::writer {
namespace {

using F = FieldType;

Bytes pattern(std::size_t n, std::uint64_t stream) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(mixBits(i, stream));
    return b;
}

std::string longText(std::size_t chars) {
    static const std::string words[] = {"Müller ", "São Paulo ", "東京 ", "line\r\n", "quote\" ", "tick` ",
                                        "apostrophe' ", "plain ", "Ærøskøbing ", "€ "};
    // Whole words while they fit, then plain letters up to the exact length in UTF-16 units.
    std::string out;
    std::size_t count = 0;
    for (std::size_t i = 0;; ++i) {
        const std::string& w = words[mixBits(i, 7) % 10];
        const std::size_t units = toUtf16(w).size();
        if (count + units > chars) break;
        out += w;
        count += units;
    }
    out.append(chars - count, 'z');
    return out;
}

} // namespace

std::uint64_t mixBits(std::uint64_t n, std::uint64_t stream) {
    std::uint64_t z = n * 0x9E3779B97F4A7C15ull + stream * 0xD1B54A32D192ED03ull + 0x632BE59BD9B4E019ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

Database typesFixture() {
    Database db;
    TableBuilder all("AllTypes");
    all.autoNumber("ID")
        .column("YesNo", F::Boolean)
        .column("Byte", F::Byte)
        .column("Integer", F::Integer)
        .column("Long", F::Long)
        .column("Currency", F::Currency)
        .column("Single", F::Single)
        .column("Double", F::Double)
        .column("When", F::DateTime)
        .column("Text", F::Text, 255)
        .column("Memo", F::Memo)
        .column("Ole", F::Ole)
        .column("Binary", F::Binary, 510)
        .column("Guid", F::Guid)
        .decimal("Decimal", 28, 6)
        .primaryKey("PrimaryKey", {"ID"});
    all.row({num(1), true, num(0), num(-32768), num(INT32_MIN), money(-9223372036854775807LL), dbl(1.5), dbl(0.1),
             date(100, 1, 1), text("Müller São Paulo 東京"), text("short memo"), bytes({0, 1, 2, 0}),
             bytes({0, 0, 1, 0}), Guid::parse("{00112233-4455-6677-8899-AABBCCDDEEFF}"), Decimal::parse("-1110.554", 6)});
    all.row({num(2), false, num(255), num(32767), num(INT32_MAX), money(9223372036854775807LL), dbl(-3.4028234663852886e38),
             dbl(1.7976931348623157e308), date(9999, 12, 31, 23, 59, 59), text("non-BMP: 😀 𝄞 𠀋"), text(longText(20000)),
             bytes(pattern(10000, 1)), bytes(pattern(510, 2)), Guid::parse("{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"),
             Decimal::parse("9999999999999999999999.999999", 6)});
    all.row({num(3), true, num(1), num(-1), num(-1), money(-10000), dbl(-0.0), dbl(-2.5e-10), date(1899, 12, 30),
             text(""), text(""), bytes({}), bytes({}), Guid::parse("{00000000-0000-0000-0000-000000000000}"),
             Decimal::parse("0", 6)});
    all.row({num(4), false, null(), null(), null(), null(), null(), null(), null(), null(), null(), null(), null(),
             null(), null()});
    all.row({num(5), true, num(128), num(1000), num(123456789), money(12345), dbl(3.14159274), dbl(2.718281828459045),
             date(1899, 12, 29, 2, 24), text(std::string(255, 'x')), text(longText(1500)), bytes(pattern(4000, 3)),
             bytes({0xFF, 0x00, 0xFF}), Guid::parse("{6F9619FF-8B86-D011-B42D-00C04FC964FF}"),
             Decimal::parse("-0.000001", 6)});
    all.row({num(6), false, num(7), num(7), num(7), money(7), dbl(7), dbl(7), date(1765, 6, 14, 12, 45),
             text("1900"), text(longText(3000)), bytes(pattern(100, 4)), bytes({0x41}),
             Guid::parse("{12345678-9ABC-DEF0-1234-56789ABCDEF0}"), Decimal::parse("1", 6)});
    all.row({num(7), true, num(9), num(9), num(9), money(9), dbl(9), dbl(9), date(1900, 1, 1, 0, 0, 1),
             text("end"), text("end"), bytes({9}), bytes({9}), Guid::parse("{12345678-9ABC-DEF0-1234-56789ABCDEF1}"),
             Decimal::parse("12.5", 6)});
    db.tables.push_back(all.build());

    // Text as Access stores most of it: one byte per character where every character allows.
    db.tables.push_back(TableBuilder("Compressed")
                            .column("ID", F::Long)
                            .column("Text", F::Text, 100)
                            .column("Memo", F::Memo)
                            .compressText()
                            .row({num(1), text("Latin-1 only: Müller, São Paulo, Ærøskøbing"), text(longText(5000))})
                            .row({num(2), text("mixed: Kraków 東京"), text("x")})
                            .row({num(3), text(""), text("")})
                            .row({num(4), text("ÿ\u00A0\u0001"), text(std::string(3000, 'a'))})
                            .row({num(5), null(), null()})
                            .build());

    // More columns than one definition page can describe.
    TableBuilder wide("Wide table with a definition over two pages");
    for (int c = 0; c < 120; ++c) wide.column("Column number " + std::to_string(1000 + c), c % 3 ? F::Long : F::Text, 10);
    wide.primaryKey("PrimaryKey", {"Column number 1001"});
    for (int r = 0; r < 3; ++r) {
        Row row;
        for (int c = 0; c < 120; ++c)
            row.push_back(c % 3 ? num(r * 1000 + c) : text("r" + std::to_string(r) + "c" + std::to_string(c)));
        wide.row(row);
    }
    db.tables.push_back(wide.build());

    // Date/Time Extended at its edges: the first and last instant, a 100-ns digit that a
    // DATETIME(6) cannot hold, microseconds it can, and Null.
    db.tables.push_back(TableBuilder("ExtendedDates")
                            .column("ID", F::Long)
                            .column("When", F::ExtendedDate)
                            .primaryKey("PrimaryKey", {"ID"})
                            .row({num(1), ExtendedDate{1, 1, 1, 0, 0, 0, 0}})
                            .row({num(2), ExtendedDate{9999, 12, 31, 23, 59, 59, 9999999}})
                            .row({num(3), ExtendedDate{2024, 2, 29, 13, 45, 30, 1234567}})
                            .row({num(4), ExtendedDate{1999, 12, 31, 23, 59, 59, 9999990}})
                            .row({num(5), null()})
                            .build());
    return db;
}

Database largeFixture() {
    Database db;
    db.tables.push_back(TableBuilder("Forty Thousand")
                            .column("ID", F::Long)
                            .column("Name", F::Text, 30)
                            .column("Amount", F::Double)
                            .column("Notes", F::Memo)
                            .primaryKey("PrimaryKey", {"ID"})
                            .generated(40000,
                                       [](std::size_t i) -> Row {
                                           const std::uint64_t m = mixBits(i, 11);
                                           Value notes = null();
                                           if (i % 97 == 0) notes = text(longText(300 + m % 3000));
                                           else if (i % 5 == 0) notes = text("note " + std::to_string(i));
                                           return {num(static_cast<std::int64_t>(i + 1)),
                                                   text("name " + std::to_string(m % 100000)),
                                                   dbl(static_cast<double>(m % 1000000) / 100.0), notes};
                                       })
                            .build());
    return db;
}

Database benchFixture() {
    Database db;
    db.tables.push_back(
        TableBuilder("Bench")
            .autoNumber("ID")
            .column("Code", F::Text, 20)
            .column("Name", F::Text, 50)
            .column("Qty", F::Long)
            .column("Price", F::Currency)
            .column("Ratio", F::Double)
            .column("When", F::DateTime)
            .column("Active", F::Boolean)
            .column("Notes", F::Memo)
            .primaryKey("PrimaryKey", {"ID"})
            .generated(200000,
                       [](std::size_t i) -> Row {
                           const std::uint64_t m = mixBits(i, 23);
                           Value notes = null();
                           if (i % 50 == 0) notes = text(longText(100 + m % 2000));
                           else if (i % 3 == 0) notes = text("short note " + std::to_string(m % 1000));
                           return {num(static_cast<std::int64_t>(i + 1)),
                                   text("C" + std::to_string(m % 1000000)),
                                   i % 17 == 0 ? null() : text("Bench record " + std::to_string(i)),
                                   num(static_cast<std::int64_t>(m % 100000) - 50000),
                                   money(static_cast<std::int64_t>(m % 100000000)),
                                   dbl(static_cast<double>(m % 1000003) / 1024.0),
                                   DateTime{static_cast<double>(36526 + m % 9000) + static_cast<double>(m % 86400) / 86400.0},
                                   (m & 1) != 0,
                                   notes};
                       })
            .build());
    return db;
}

} // namespace kavero::jet::writer
