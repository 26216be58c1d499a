// Fixtures for the design and record cases the converter has to get right: odd names,
// defaults as typed, keys of every kind, Nulls, quotes and line breaks, record counts that
// fall on and off the five-record page boundary, and every column type at its edges.
#include "jet/writer/fixtures.h"

#include <stdexcept>

#include "jet/writer/attachment.h"
#include "jet/writer/generated_tables.h"

namespace kavero::jet::writer {
namespace {

using F = FieldType;

Database customersFixture() {
    Database db;
    db.tables.push_back(TableBuilder("Customers")
                            .autoNumber("ID")
                            .column("Name", F::Text, 50)
                            .allowZeroLength(false)
                            .column("Active", F::Boolean)
                            .defaultValue("No")
                            .column("Price", F::Currency)
                            .defaultValue("0")
                            .primaryKey("PrimaryKey", {"ID"})
                            .index("Name", {{"Name", true}})
                            .row({num(1), text("Alfreds Futterkiste"), true, money(199900)})
                            .row({num(2), text("Ana Trujillo"), false, money(0)})
                            .row({num(3), text("Antonio Moreno"), true, money(12345000)})
                            .row({num(4), text("Around the Horn"), false, money(72500)})
                            .row({num(5), text("Berglunds snabbköp"), true, money(100)})
                            .build());
    return db;
}

// A user table beside the catalog and one more system table: only Orders is a user table.
Database systemTablesFixture() {
    Database db;
    db.tables.push_back(TableBuilder("Orders")
                            .autoNumber("OrderID")
                            .column("Item", F::Text, 40)
                            .primaryKey("PrimaryKey", {"OrderID"})
                            .row({num(1), text("first")})
                            .build());
    db.tables.push_back(TableBuilder("MSysACEs")
                            .column("ACM", F::Long)
                            .column("FInheritable", F::Boolean)
                            .column("ObjectId", F::Long)
                            .column("SID", F::Binary, 255)
                            .withoutProperties()
                            .system()
                            .row({num(1048575), false, num(2), bytes({0x01, 0x02})})
                            .build());
    return db;
}

Database designFixture() {
    Database db;
    db.tables.push_back(TableBuilder("Orders")
                            .autoNumber("OrderID")
                            .column("CustomerName", F::Text, 40)
                            .column("Amount", F::Currency)
                            .primaryKey("PrimaryKey", {"OrderID"})
                            .row({num(1), text("Alfreds"), money(100000)})
                            .row({num(2), text("Bólido"), money(25050)})
                            .row({num(3), text("Chop-suey"), money(0)})
                            .build());
    db.tables.push_back(TableBuilder("MSysACEs")
                            .column("ACM", F::Long)
                            .column("FInheritable", F::Boolean)
                            .column("ObjectId", F::Long)
                            .column("SID", F::Binary, 255)
                            .withoutProperties()
                            .system()
                            .row({num(1048575), false, num(2), bytes({0x01, 0x02})})
                            .build());
    db.tables.push_back(TableBuilder("MSysX").column("ID", F::Long).row({num(1)}).build());
    db.tables.push_back(TableBuilder("Msysfoo").column("ID", F::Long).row({num(1)}).build());
    db.tables.push_back(TableBuilder("Order Details")
                            .column("OrderID", F::Long)
                            .column("ProductID", F::Long)
                            .column("Unit Price", F::Currency)
                            .column("Quantity", F::Integer)
                            .primaryKey("PrimaryKey", {"OrderID", "ProductID"})
                            .row({num(1), num(11), money(140000), num(12)})
                            .row({num(1), num(42), money(98000), num(10)})
                            .row({num(2), num(72), money(348000), num(5)})
                            .build());
    db.tables.push_back(TableBuilder("GuidTable")
                            .column("ID", F::Long)
                            .column("RowGuid", F::Guid)
                            .autoGuid()
                            .defaultValue("GenGUID()")
                            .column("Name", F::Text, 20)
                            .primaryKey("PrimaryKey", {"ID"})
                            .index("RowGuid", {{"RowGuid", true}}, true)
                            .row({num(1), Guid::parse("{6F9619FF-8B86-D011-B42D-00C04FC964FF}"), text("first")})
                            .row({num(2), Guid::parse("{00000000-0000-0000-0000-000000000001}"), text("second")})
                            .build());
    db.tables.push_back(TableBuilder("OnlyGuid").column("RowGuid", F::Guid).row({Guid::parse(
                                                                                  "{A0B1C2D3-E4F5-0617-2839-4A5B6C7D8E9F}")})
                            .build());
    db.tables.push_back(TableBuilder("Names")
                            .column("my field", F::Text, 10)
                            .column("a b.c", F::Text, 10)
                            .column("dot.name", F::Long)
                            .column("it's", F::Text, 10)
                            .column("say \"hi\"", F::Text, 10)
                            .column("back`tick", F::Text, 10)
                            .column("slash/name", F::Text, 10)
                            .row({text("space"), text("both"), num(7), text("quote"), text("dquote"), text("tick"),
                                  text("slash")})
                            .build());
    for (const char* name : {"Table.With.Dots", "O'Brien's", "Say \"Hi\"", "Back`tick", "Slash/Name"})
        db.tables.push_back(TableBuilder(name).column("ID", F::Long).column("Value", F::Text, 20)
                                .row({num(1), text(name)})
                                .build());
    db.tables.push_back(TableBuilder("Defaults")
                            .autoNumber("ID")
                            .defaultValue("0")
                            .column("TextQuoted", F::Text, 20)
                            .defaultValue("\"abc\"")
                            .column("TextEmpty", F::Text, 20)
                            .defaultValue("\"\"")
                            .column("City", F::Text, 30)
                            .defaultValue("\"New York\"")
                            .column("Created", F::DateTime)
                            .defaultValue("=Date()")
                            .column("Stamp", F::DateTime)
                            .defaultValue("Now()")
                            .column("Qty", F::Long)
                            .defaultValue("1 000")
                            .column("Ratio", F::Double)
                            .defaultValue("-1.5e3")
                            .column("YesA", F::Boolean)
                            .defaultValue("Yes")
                            .column("YesB", F::Boolean)
                            .defaultValue("true")
                            .column("YesC", F::Boolean)
                            .defaultValue("On")
                            .column("NoMinus", F::Boolean)
                            .defaultValue("-1")
                            .column("NoOne", F::Boolean)
                            .defaultValue("=No")
                            .column("Price", F::Currency)
                            .defaultValue("0")
                            .column("Notes", F::Memo)
                            .defaultValue("\"memo default\"")
                            .column("Req", F::Text, 10)
                            .required()
                            .allowZeroLength(true)
                            .column("NoZero", F::Text, 10)
                            .required(false)
                            .allowZeroLength(false)
                            .primaryKey("PrimaryKey", {"ID"})
                            .row({num(1), text("abc"), text(""), text("New York"), date(2024, 1, 15), date(2024, 1, 15, 9, 30),
                                  num(1000), dbl(-1500), true, true, true, false, false, money(0), text("memo default"),
                                  text("r"), null()})
                            .build());
    db.tables.push_back(TableBuilder("Keys")
                            .column("ID", F::Long)
                            .column("Code", F::Text, 10)
                            .column("When", F::DateTime)
                            .primaryKey("PrimaryKey", {"ID"})
                            .index("CodeUnique", {{"Code", true}}, true)
                            .index("IDSecond", {{"ID", true}, {"Code", true}})
                            .index("ByWhenDesc", {{"When", false}})
                            .index("CodeWhen", {{"Code", true}, {"When", false}})
                            .row({num(1), text("A-1"), date(2001, 2, 3, 4, 5, 6)})
                            .row({num(2), text("B-2"), date(2002, 3, 4, 5, 6, 7)})
                            .build());
    db.tables.push_back(TableBuilder("AutoNotKeyed")
                            .column("Code", F::Text, 10)
                            .autoNumber("Counter")
                            .primaryKey("PrimaryKey", {"Code"})
                            .index("CodeCounter", {{"Code", true}, {"Counter", true}})
                            .row({text("x"), num(1)})
                            .row({text("y"), num(2)})
                            .build());
    db.tables.push_back(TableBuilder("NoIndexes").column("A", F::Text, 10).column("B", F::Long)
                            .row({text("a"), num(1)})
                            .build());
    db.tables.push_back(TableBuilder("OddTypes")
                            .column("ID", F::Long)
                            .decimal("Amount", 18, 4)
                            .column("Raw", F::Binary, 16)
                            .column("Link", F::Memo)
                            .hyperlink()
                            .row({num(1), Decimal::parse("-1110.554", 4), bytes({0xDE, 0xAD, 0xBE, 0xEF}),
                                  text("KAVERO#http://example.org/#")})
                            .row({num(2), Decimal::parse("102030405060.6543", 4), null(), null()})
                            .build());
    db.tables.push_back(TableBuilder("NoProps")
                            .column("A", F::Long)
                            .column("B", F::Text, 10)
                            .withoutProperties()
                            .row({num(1), text("no blob")})
                            .build());
    db.relationships.push_back({"OrdersOrder Details", "Orders", "Order Details", {"OrderID"}, true, false});
    return db;
}

Database recordsFixture() {
    Database db;
    // Text a statement and a page have to carry: quotes, backslashes, line breaks, markup, and
    // "%>", which ends a page's server code even inside a string.
    db.tables.push_back(
        TableBuilder("Literals")
            .column("ID", F::Long)
            .column("Name", F::Text, 60)
            .column("Notes", F::Memo)
            .column("Price", F::Double)
            .column("Qty", F::Integer)
            .column("Born", F::DateTime)
            .column("Flag", F::Boolean)
            .column("Pic", F::Ole)
            .row({num(1), text("O'Brien"), text("it's"), dbl(3.25), num(2), date(1970, 1, 1), true, bytes({1, 2})})
            .row({num(2), text("C:\\path\\file"), text("back\\slash"), dbl(-0.5), num(-3), date(1999, 12, 31, 23, 59, 59),
                  false, bytes({0})})
            .row({num(3), text("line1\r\nline2"), text("a\nb"), dbl(1e-3), num(0), date(2000, 2, 29, 12), true, null()})
            .row({num(4), text("say \"hi\""), text("\"quoted\""), dbl(123456.789), num(32767), date(1900, 1, 1), false,
                  bytes({})})
            .row({num(5), null(), null(), null(), null(), null(), false, null()})
            .row({num(6), text(""), text(""), dbl(0), num(-32768), date(2038, 1, 19, 3, 14, 7), true, bytes({0, 0, 0})})
            .row({num(7), text("tab\there & <b> 'x' `y`;"), text("50% off <%= x %>; DROP TABLE x;"), dbl(2.5), num(1),
                  date(2024, 6, 30, 18), false, bytes({0xFF})})
            .build());
    db.tables.push_back(TableBuilder("FirstFieldNull")
                            .column("Code", F::Text, 10)
                            .column("Value", F::Long)
                            .row({text("a"), num(1)})
                            .row({null(), num(2)})
                            .row({text("c"), num(3)})
                            .row({null(), num(4)})
                            .row({text("e"), num(5)})
                            .row({text("f"), num(6)})
                            .build());
    for (auto [name, count] : {std::pair<const char*, int>{"Ten", 10}, {"Twelve", 12}, {"TwentyThree", 23}}) {
        TableBuilder t(name);
        t.column("ID", F::Long).column("Name", F::Text, 20);
        for (int i = 1; i <= count; ++i) t.row({num(i), text("record " + std::to_string(i))});
        db.tables.push_back(t.build());
    }
    db.tables.push_back(TableBuilder("Empty").column("ID", F::Long).column("Name", F::Text, 20).build());
    db.tables.push_back(TableBuilder("AutoAndOle")
                            .autoNumber("ID")
                            .column("Picture", F::Ole)
                            .column("Document", F::Ole)
                            .primaryKey("PrimaryKey", {"ID"})
                            .row({num(1), bytes({0x47, 0x49, 0x46}), null()})
                            .row({num(2), null(), bytes({0, 1, 0, 2})})
                            .row({num(3), bytes({}), bytes({0x25, 0x50, 0x44, 0x46})})
                            .build());
    db.tables.push_back(TableBuilder("Three")
                            .column("ID", F::Long)
                            .column("Amount", F::Long)
                            .column("Name", F::Text, 20)
                            .row({num(1), num(10), text("one")})
                            .row({num(2), null(), text("two")})
                            .row({num(3), num(30), text("three")})
                            .build());
    db.tables.push_back(TableBuilder("Spaced Table")
                            .column("first field", F::Text, 20)
                            .column("Amount", F::Long)
                            .row({text("a b"), num(1)})
                            .row({text("c d"), num(2)})
                            .build());
    // Values at the edges of what a statement and a column carry: every character a literal
    // has to escape, Memos on either side of the 65,535 bytes of a TEXT column (21,845 times
    // the three-byte euro sign is 65,535 bytes), floats at their limits, full-precision
    // Decimals, the first and last year Access stores, and a Null number.
    using namespace std::string_literals;
    const std::string euros = [] {
        std::string s;
        for (int i = 0; i < 21845; ++i) s += "€";
        return s;
    }();
    db.tables.push_back(
        TableBuilder("HardValues")
            .column("ID", F::Long)
            .column("Text", F::Text, 255)
            .column("Memo", F::Memo)
            .column("Single", F::Single)
            .column("Double", F::Double)
            .column("When", F::DateTime)
            .column("Raw", F::Binary, 255)
            .decimal("Exact", 28, 0)
            .row({num(1), text("NUL \0 quote ' dquote \" backslash \\ \\' tab \t CR LF \r\n semicolon ; emoji 😀 𝄞"s),
                  text(euros), dbl(3.4028234663852886e38), dbl(1.7976931348623157e308), date(100, 1, 1),
                  bytes({0, 0, 0}), Decimal::parse("9999999999999999999999999999", 0)})
            .row({num(2), text("\\"), text(euros + "x"), dbl(1.0), dbl(1.0), date(2000, 1, 1), bytes({0}),
                  Decimal::parse("1", 0)})
            .row({num(3), text("'"), text("\0"s), dbl(1.1754943508222875e-38), dbl(2.2250738585072014e-308),
                  date(9999, 12, 31, 23, 59, 59), bytes({0, 0xFF, 0, 0x5C, 0x27}),
                  Decimal::parse("-9999999999999999999999999999", 0)})
            .row({num(4), text("\r\n"), text("\\0 is no NUL"), dbl(1.401298464324817e-45), dbl(4.9406564584124654e-324),
                  date(999, 12, 31, 12, 0, 1), bytes({}), Decimal::parse("0", 0)})
            .row({num(5), text(""), text("end"), dbl(-0.0), dbl(-0.0), date(1000, 1, 1), bytes({0x0D, 0x0A}),
                  Decimal::parse("-1", 0)})
            .row({num(6), text("Null number"), text(""), dbl(0.5), null(), date(2024, 2, 29), bytes({1}),
                  Decimal::parse("7", 0)})
            .build());
    return db;
}

// Relationships whose records break one (a pet of an owner who is not there) and keep the
// other; the owners start at AutoNumber 0, which a server numbers anew unless told not to.
Database relationshipsFixture() {
    Database db;
    db.tables.push_back(TableBuilder("Owners")
                            .autoNumber("ID")
                            .column("Name", F::Text, 30)
                            .primaryKey("PrimaryKey", {"ID"})
                            .row({num(0), text("nobody's")})
                            .row({num(1), text("Ada")})
                            .row({num(2), text("Grace")})
                            .build());
    db.tables.push_back(TableBuilder("Pets")
                            .autoNumber("PetID")
                            .column("OwnerID", F::Long)
                            .column("Name", F::Text, 30)
                            .primaryKey("PrimaryKey", {"PetID"})
                            .row({num(1), num(1), text("Rex")})
                            .row({num(2), num(0), text("Stray")})
                            .row({num(3), null(), text("Wild")})
                            .row({num(4), num(7), text("Lost")})
                            .build());
    db.tables.push_back(TableBuilder("Visits")
                            .autoNumber("VisitID")
                            .column("PetID", F::Long)
                            .primaryKey("PrimaryKey", {"VisitID"})
                            .row({num(1), num(4)})
                            .row({num(2), num(1)})
                            .build());
    db.relationships.push_back({"OwnersPets", "Owners", "Pets", {"OwnerID"}, false, false});
    // Longer than a MySQL name may be.
    db.relationships.push_back({"PetsVisits" + std::string(60, 'x'), "Pets", "Visits", {"PetID"}, false, true});
    return db;
}

// Bytes that do not compress, the same on every run.
Bytes noise(std::size_t count, std::uint32_t seed) {
    Bytes out(count);
    for (std::uint8_t& b : out) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(seed >> 24);
    }
    return out;
}

// An attachment field (records with none, one and two files; files stored as they are and
// deflated, one too long for its row) and a multi-value field, each with the hidden table of
// its values as Access keeps them.
Database complexFieldsFixture() {
    Database db;
    const std::string files = "f_3C4E2A9B6F1D4E8A9B7C1D2E3F4A5B6C_Files";
    const std::string tags = "f_7D1E5C3A2B4F4A6E8C9D0E1F2A3B4C5D_Tags";
    db.tables.push_back(TableBuilder("Items")
                            .autoNumber("ID")
                            .column("Name", F::Text, 40)
                            .complex("Files", files)
                            .primaryKey("PrimaryKey", {"ID"})
                            .row({num(1), text("no file"), num(1)})
                            .row({num(2), text("one file"), num(2)})
                            .row({num(3), text("two files"), num(3)})
                            .row({num(4), null(), num(4)})
                            .build());
    std::string readme;
    for (int i = 1; i <= 100; ++i) readme += "line " + std::to_string(i) + " of the read-me file\r\n";
    const Bytes tiny = {0x00, 0x27, 0x5C, 0x22, 0x0D, 0x0A, 0xFF};
    db.tables.push_back(
        TableBuilder(files)
            .autoNumber("Items_Files")
            .attachmentColumns("_Files")
            .withoutProperties()
            .primaryKey("PrimaryKey", {"Items_Files"})
            .row({num(1), num(2), bytes(storedAttachment(noise(600, 7), "jpg", false)), num(0), text("photo.jpg"),
                  date(2024, 3, 1, 8, 15), text("jpg"), null()})
            .row({num(2), num(3), bytes(storedAttachment(Bytes(readme.begin(), readme.end()), "txt", true)), num(0),
                  text("read me.txt"), date(2024, 3, 2, 9, 30, 5), text("txt"), null()})
            .row({num(3), num(3), bytes(storedAttachment(tiny, "bin", false)), num(0), text("tiny.bin"), null(),
                  text("bin"), text("file:///tmp/tiny.bin")})
            .row({num(4), num(4), bytes(storedAttachment(noise(20000, 11), "dat", true)), num(0), text("big.dat"),
                  date(2023, 12, 31, 23, 59, 59), text("dat"), null()})
            .build());
    db.tables.push_back(TableBuilder("Tagged")
                            .column("ID", F::Long)
                            .column("Title", F::Text, 20)
                            .complex("Tags", tags)
                            .primaryKey("PrimaryKey", {"ID"})
                            .row({num(1), text("two tags"), num(1)})
                            .row({num(2), text("no tags"), num(2)})
                            .row({num(3), text("one tag"), num(3)})
                            .build());
    db.tables.push_back(TableBuilder(tags)
                            .autoNumber("Tagged_Tags")
                            .column("_Tags", F::Long)
                            .column("value", F::Text, 30)
                            .system()
                            .withoutProperties()
                            .primaryKey("PrimaryKey", {"Tagged_Tags"})
                            .row({num(1), num(1), text("red")})
                            .row({num(2), num(1), text("it's green")})
                            .row({num(3), num(3), text("blue")})
                            .build());
    return db;
}

} // namespace

const std::vector<Fixture>& fixtures() {
    static const std::vector<Fixture> all = {
        {"customers", "the Customers table of the script example, with records", customersFixture},
        {"system_tables", "Orders beside the catalog and MSysACEs, the only user table", systemTablesFixture},
        {"design", "table design cases: names, system tables, defaults, keys, GUIDs, no property blob",
         designFixture},
        {"records", "record cases: quotes, line breaks, Nulls, empty values, 10/12/23 records, empty table, edge values",
         recordsFixture},
        {"types", "every column type at its edges, long memo and OLE values, a wide table", typesFixture},
        {"large", "40,000 records, beyond one inline usage-map window", largeFixture},
        {"bench", "200,000 records of mixed types for the benchmarks", benchFixture},
        {"shop", "the bundled sample database", shopDatabase},
        {"relationships", "relationships, one broken by its records, and AutoNumber 0", relationshipsFixture},
        {"complex_fields", "an attachment field and a multi-value field with their hidden value tables",
         complexFieldsFixture},
    };
    return all;
}

const Fixture& fixture(const std::string& name) {
    for (const Fixture& f : fixtures())
        if (f.name == name) return f;
    throw std::out_of_range("no fixture named " + name);
}

} // namespace kavero::jet::writer
