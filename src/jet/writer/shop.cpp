// The bundled sample database: a small shop whose customers live around the world, so names
// and places carry accents and other scripts. Records come from fixed lists and a fixed
// seed, never from the clock, so every build writes the same bytes.
#include <string>

#include "jet/writer/fixtures.h"
#include "jet/writer/generated_tables.h"

namespace kavero::jet::writer {
namespace {

using F = FieldType;

const char* const kFirstNames[] = {"Anna", "José", "Zoë", "Łukasz", "Søren", "Ngozi", "François", "Mei", "Björn",
                                   "Ayşe", "Dmitri", "Siobhán", "Haruto", "Chloé", "Mateo", "Ingrid", "Ravi", "Olga",
                                   "Pedro", "Yuki"};
const char* const kLastNames[] = {"Müller", "García", "Nowak", "O'Connor", "Øster", "Okafor", "Lefèvre", "Chen",
                                  "Sæther", "Yılmaz", "Иванов", "Ní Bhriain", "佐藤", "Dubois", "Fernández", "Ström",
                                  "Patel", "Kowalczyk", "Gonçalves", "山田"};
struct Place {
    const char* city;
    const char* country;
};
const Place kPlaces[] = {{"São Paulo", "Brasil"},     {"東京", "日本"},         {"München", "Deutschland"},
                         {"Kraków", "Polska"},        {"Ærøskøbing", "Danmark"}, {"Lagos", "Nigeria"},
                         {"Montréal", "Canada"},      {"Москва", "Россия"},      {"Zürich", "Schweiz"},
                         {"İstanbul", "Türkiye"},     {"Αθήνα", "Ελλάδα"},       {"Reykjavík", "Ísland"},
                         {"Dublin", "Éire"},          {"Málaga", "España"},      {"Göteborg", "Sverige"},
                         {"New York", "USA"}};
struct Product {
    const char* name;
    const char* category;
    std::int64_t cents;
};
const Product kProducts[] = {
    {"Espresso beans 1 kg", "Coffee", 1890},      {"Filter coffee 500 g", "Coffee", 790},
    {"Matcha tin 抹茶", "Tea", 2450},             {"Earl Grey 100 bags", "Tea", 650},
    {"Crème brûlée kit", "Dessert", 1299},        {"Lebkuchen, Nürnberger", "Bakery", 899},
    {"Pão de queijo mix", "Bakery", 549},         {"Smørrebrød board", "Kitchen", 3400},
    {"Moka pot 6 cups", "Kitchen", 3999},         {"Milk frother", "Kitchen", 2499},
    {"Ceramic mug \"Café\"", "Kitchen", 1100},   {"Gift card 25 €", "Gifts", 2500},
    {"Gift card 50 €", "Gifts", 5000},           {"Chocolate 85 %", "Sweets", 349},
    {"Turkish delight (lokum)", "Sweets", 799},  {"Honey, wildflower", "Pantry", 1075},
    {"Olive oil, extra virgin", "Pantry", 1450}, {"Sea salt flakes", "Pantry", 425},
    {"Grinder, hand-crank", "Kitchen", 5900},    {"Tea pot 急須", "Kitchen", 4800},
};

} // namespace

Database shopDatabase() {
    Database db;
    TableBuilder customers("Customers");
    customers.compressText();
    customers.autoNumber("CustomerID")
        .column("FirstName", F::Text, 30)
        .required()
        .allowZeroLength(false)
        .column("LastName", F::Text, 40)
        .required()
        .allowZeroLength(false)
        .column("Email", F::Text, 80)
        .column("City", F::Text, 40)
        .column("Country", F::Text, 30)
        .defaultValue("\"Deutschland\"")
        .column("Phone", F::Text, 24)
        .column("Birthday", F::DateTime)
        .column("VIP", F::Boolean)
        .defaultValue("No")
        .column("Notes", F::Memo)
        .primaryKey("PrimaryKey", {"CustomerID"})
        .index("LastName", {{"LastName", true}, {"FirstName", true}})
        .index("Email", {{"Email", true}}, true);
    constexpr int kCustomers = 120;
    for (int i = 0; i < kCustomers; ++i) {
        const std::uint64_t m = mixBits(i, 101);
        const std::string first = kFirstNames[m % 20];
        const std::string lastName = kLastNames[(m >> 8) % 20];
        const Place& place = kPlaces[(m >> 16) % 16];
        Value email = null();
        if (i % 7 != 3) email = text("customer" + std::to_string(i + 1) + "@example.org");
        Value phone = null();
        if (i % 4 != 0) phone = text("+" + std::to_string(10 + (m >> 24) % 89) + " " + std::to_string(100000 + (m >> 32) % 900000));
        Value birthday = null();
        if (i % 5 != 0)
            birthday = date(1940 + static_cast<int>((m >> 20) % 65), 1 + static_cast<int>((m >> 28) % 12),
                            1 + static_cast<int>((m >> 36) % 28));
        Value notes = null();
        if (i % 9 == 0) notes = text("Prefers delivery after 17:00.\r\nCall before: \"ring twice\".");
        customers.row({num(i + 1), text(first), text(lastName), email, text(place.city), text(place.country), phone,
                       birthday, (m >> 40) % 6 == 0, notes});
    }
    db.tables.push_back(customers.build());

    TableBuilder products("Products");
    products.compressText();
    products.autoNumber("ProductID")
        .column("SKU", F::Text, 12)
        .required()
        .column("ProductName", F::Text, 60)
        .column("Category", F::Text, 30)
        .column("UnitPrice", F::Currency)
        .defaultValue("0")
        .column("Weight", F::Single)
        .column("UnitsInStock", F::Integer)
        .defaultValue("0")
        .column("Discontinued", F::Boolean)
        .column("Description", F::Memo)
        .column("Photo", F::Ole)
        .primaryKey("PrimaryKey", {"ProductID"})
        .index("SKU", {{"SKU", true}}, true)
        .index("Category", {{"Category", true}, {"UnitPrice", false}});
    int p = 0;
    for (const Product& prod : kProducts) {
        const std::uint64_t m = mixBits(p, 202);
        Value photo = null();
        if (p % 4 == 0) {
            Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D};
            for (int k = 0; k < 40 + p; ++k) png.push_back(static_cast<std::uint8_t>(mixBits(k, m)));
            photo = png;
        }
        Value description = p % 3 == 1 ? null() : text(std::string(prod.name) + ": " + prod.category + " from our range.");
        products.row({num(p + 1), text("SKU-" + std::to_string(1000 + p)), text(prod.name), text(prod.category),
                      money(prod.cents * 100), dbl(static_cast<double>(50 + m % 2000) / 100.0),
                      num(static_cast<std::int64_t>(m % 300)), p % 9 == 8, description, photo});
        ++p;
    }
    db.tables.push_back(products.build());

    TableBuilder orders("Orders");
    orders.compressText();
    orders.autoNumber("OrderID")
        .column("CustomerID", F::Long)
        .required()
        .column("ProductID", F::Long)
        .required()
        .column("OrderDate", F::DateTime)
        .defaultValue("=Date()")
        .column("Quantity", F::Integer)
        .defaultValue("1")
        .column("UnitPrice", F::Currency)
        .column("Discount", F::Double)
        .defaultValue("0")
        .column("Shipped", F::Boolean)
        .column("ShipCity", F::Text, 40)
        .column("Comment", F::Text, 255)
        .primaryKey("PrimaryKey", {"OrderID"})
        .index("CustomerID", {{"CustomerID", true}})
        .index("OrderDate", {{"OrderDate", false}});
    for (int i = 0; i < 300; ++i) {
        const std::uint64_t m = mixBits(i, 303);
        const int customer = static_cast<int>(m % kCustomers);
        const int product = static_cast<int>((m >> 12) % 20);
        Value comment = null();
        if (i % 11 == 0) comment = text("Gift wrap, please — thank you!");
        if (i % 23 == 0) comment = text("");
        orders.row({num(i + 1), num(customer + 1), num(product + 1),
                    date(2023 + static_cast<int>((m >> 20) % 2), 1 + static_cast<int>((m >> 24) % 12),
                         1 + static_cast<int>((m >> 28) % 28), static_cast<int>((m >> 32) % 24),
                         static_cast<int>((m >> 40) % 60)),
                    num(1 + static_cast<std::int64_t>((m >> 44) % 5)), money(kProducts[product].cents * 100),
                    dbl(((m >> 48) % 4) * 0.05), i < 280, text(kPlaces[(m >> 52) % 16].city), comment});
    }
    db.tables.push_back(orders.build());
    db.relationships.push_back({"CustomersOrders", "Customers", "Orders", {"CustomerID"}, false, false});
    db.relationships.push_back({"ProductsOrders", "Products", "Orders", {"ProductID"}, false, false});
    return db;
}

} // namespace kavero::jet::writer
