// Feeds arbitrary bytes through the whole read path: open, catalog, every table's
// definition and properties, every record and every value's text form. Anything but a
// FormatError (a crash, a sanitizer report, a hang) is a finding.
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "jet/database.h"

namespace {

using namespace kavero::jet;

std::size_t touch(const Value& value) {
    return std::visit(
        [](const auto& v) -> std::size_t {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, Text>) {
                return v.utf8.size();
            } else if constexpr (std::is_same_v<T, Bytes>) {
                return v.toHex().size();
            } else if constexpr (std::is_same_v<T, Currency> || std::is_same_v<T, Decimal> ||
                                 std::is_same_v<T, DateTime> || std::is_same_v<T, Guid> ||
                                 std::is_same_v<T, ExtendedDateTime>) {
                return v.toString().size();
            } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
                return shortestText(v).size();
            } else {
                return 1;
            }
        },
        value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::byte> image(size);
    for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::byte>(data[i]);
    std::size_t sink = 0;
    try {
        Database database("fuzz input", std::move(image));
        for (const CatalogEntry& entry : database.tables()) {
            try {
                const TableDefinition table = database.table(entry.name);
                for (const Index& index : table.indexes) sink += index.fieldsText.size();
                RecordCursor cursor = database.records(table);
                std::vector<Value> row;
                while (cursor.next(row)) {
                    for (const Value& value : row) sink += touch(value);
                }
            } catch (const FormatError&) {
                // A damaged table; the next one may still read.
            }
        }
    } catch (const FormatError&) {
    }
    return sink == static_cast<std::size_t>(-1) ? 1 : 0;
}
