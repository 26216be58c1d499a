// Expected reader output per column type.
#include "expected_cells.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "jet/complex_field.h"

namespace kavero::jet::writer::test {
namespace {

using F = FieldType;

// Civil date from days since 1970-01-01.
void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2 ? 1 : 0));
}

constexpr long long kEpochOffset = 25569; // days from 1899-12-30 to 1970-01-01

std::string formatSeconds(long long seconds) { // seconds since 1970-01-01
    long long days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    long long rest = seconds - days * 86400;
    int y, m, d;
    civilFromDays(days, y, m, d);
    char out[96];
    std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, static_cast<int>(rest / 3600),
                  static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return out;
}

std::string hex(const Bytes& b) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out = "0x";
    for (std::uint8_t v : b) {
        out += digits[v >> 4];
        out += digits[v & 15];
    }
    return out;
}

Cell stringCell(std::string s) {
    return Cell{Cell::Kind::String, std::move(s), false, {}};
}
Cell numberCell(std::string s) {
    return Cell{Cell::Kind::Number, std::move(s), false, {}};
}
Cell binaryCell(Bytes b) {
    return Cell{Cell::Kind::Binary, {}, false, std::move(b)};
}

// libmdb turns each UTF-16 unit it cannot convert, such as half a surrogate pair, into "?".
std::string withoutAstral(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if ((b & 0xF8) == 0xF0) {
            out += "??";
            i += 4;
        } else {
            out += utf8[i++];
        }
    }
    return out;
}

std::string guidText(const Guid& g) {
    const std::string braced = g.text();
    return braced.substr(1, braced.size() - 2);
}

} // namespace

std::string dateText(double days) {
    const double whole = std::trunc(days);
    const double fraction = std::fabs(days - whole);
    const long long seconds = static_cast<long long>(std::floor(fraction * 86400.0 + 0.5));
    return formatSeconds((static_cast<long long>(whole) - kEpochOffset) * 86400 + seconds);
}

std::string currencyText(std::int64_t v) {
    const bool negative = v < 0;
    const unsigned long long magnitude =
        negative ? static_cast<unsigned long long>(-(v + 1)) + 1 : static_cast<unsigned long long>(v);
    char out[40];
    std::snprintf(out, sizeof out, "%s%llu.%04llu", negative ? "-" : "", magnitude / 10000, magnitude % 10000);
    return out;
}

Cell mdbReaderCell(const Column& column, const Value& value) {
    if (column.type == F::Boolean)
        return Cell{Cell::Kind::Bool, {}, std::holds_alternative<bool>(value) && std::get<bool>(value), {}};
    if (std::holds_alternative<std::monostate>(value)) return Cell{};
    switch (column.type) {
    case F::Byte:
    case F::Integer:
    case F::Long:
    case F::Complex:
        return numberCell(std::to_string(std::get<std::int64_t>(value)));
    case F::Currency:
        return stringCell(currencyText(std::get<Currency>(value).tenThousandths));
    case F::Single:
    case F::Double: {
        char out[40];
        std::snprintf(out, sizeof out, "%.17g", std::get<double>(value));
        return numberCell(out);
    }
    case F::DateTime: {
        // The oracle computes milliseconds linearly from the stored number, then rounds to seconds.
        const double d = std::get<DateTime>(value).days;
        const double ms = std::floor((d - kEpochOffset) * 86400000.0 + 0.5);
        return stringCell(formatSeconds(static_cast<long long>(std::floor(ms / 1000.0 + 0.5))));
    }
    case F::Text:
    case F::Memo:
        return stringCell(std::get<std::string>(value));
    case F::Binary:
    case F::Ole:
        return stringCell(hex(std::get<Bytes>(value)));
    case F::Guid:
        return stringCell(guidText(std::get<Guid>(value)));
    case F::Decimal:
        return stringCell(std::get<Decimal>(value).text(column.scale));
    case F::ExtendedDate:
        return stringCell(std::get<ExtendedDate>(value).text());
    case F::Boolean:
        break;
    }
    return Cell{};
}

std::optional<Cell> mdbJsonCell(const Column& column, const Value& value) {
    if (column.type == F::Boolean)
        return numberCell(std::holds_alternative<bool>(value) && std::get<bool>(value) ? "1" : "0");
    if (std::holds_alternative<std::monostate>(value)) return std::nullopt;
    char out[64];
    switch (column.type) {
    case F::Byte:
    case F::Integer:
    case F::Long:
    case F::Complex:
        return numberCell(std::to_string(std::get<std::int64_t>(value)));
    case F::Currency:
        return numberCell(currencyText(std::get<Currency>(value).tenThousandths));
    case F::Single:
        std::snprintf(out, sizeof out, "%.8g", static_cast<double>(static_cast<float>(std::get<double>(value))));
        return numberCell(out);
    case F::Double:
        std::snprintf(out, sizeof out, "%.16g", std::get<double>(value));
        return numberCell(out);
    case F::DateTime: {
        const double d = std::get<DateTime>(value).days;
        if (d < 0.0 || d > 1e6) return stringCell("1900-01-00 00:00:00");
        return stringCell(dateText(d));
    }
    case F::Text:
    case F::Memo: {
        const std::string& whole = std::get<std::string>(value);
        const std::string s = whole.substr(0, whole.find('\0'));
        if (s.empty()) return std::nullopt;
        return stringCell(withoutAstral(s));
    }
    case F::Binary: {
        const Bytes& b = std::get<Bytes>(value);
        Bytes cut(b.begin(), std::find(b.begin(), b.end(), 0));
        if (cut.empty()) return std::nullopt;
        return binaryCell(cut);
    }
    case F::Ole:
        return binaryCell(std::get<Bytes>(value));
    case F::Guid: {
        // libmdb prints the last eight bytes as one group: {00112233-4455-6677-8899AABBCCDDEEFF}.
        std::string braced = std::get<Guid>(value).text();
        braced.erase(24, 1);
        return binaryCell(Bytes(braced.begin(), braced.end()));
    }
    case F::Decimal:
        return numberCell(std::get<Decimal>(value).text(column.scale));
    case F::ExtendedDate: // mdbtools 1.0 has no decoder for the type and prints nothing
    case F::Boolean:
        break;
    }
    return std::nullopt;
}

Cell mdbReaderAttachments(const Table& flat, const Column& field, std::int64_t id) {
    const auto at = [&](std::string_view name) {
        for (std::size_t i = 0; i < flat.columns.size(); ++i)
            if (flat.columns[i].name == name) return i;
        throw std::runtime_error("flat table " + flat.name + " has no column " + std::string(name));
    };
    const auto quoted = [](const std::string& s) { return "\"" + s + "\""; }; // the fixture's names need no escapes
    std::string json = "[";
    for (std::size_t r = 0; r < flat.rowCount(); ++r) {
        const Row row = flat.rowAt(r);
        if (row[at("_" + field.name)] != Value{id}) continue;
        const Bytes stored = std::get<Bytes>(row[at("FileData")]);
        std::string data;
        for (std::uint8_t b : jet::decodeAttachment(stored)) data += (data.empty() ? "" : ",") + std::to_string(b);
        json += json.size() > 1 ? ",{" : "{";
        json += "\"name\":" + quoted(std::get<std::string>(row[at("FileName")])) +
                ",\"type\":" + quoted(std::get<std::string>(row[at("FileType")])) +
                ",\"data\":{\"type\":\"Buffer\",\"data\":[" + data + "]}";
        if (const auto* url = std::get_if<std::string>(&row[at("FileURL")]); url && !url->empty())
            json += ",\"url\":" + quoted(*url);
        if (const auto* when = std::get_if<DateTime>(&row[at("FileTimeStamp")])) {
            std::string text = dateText(when->days); // "YYYY-MM-DD HH:MM:SS" as ISO 8601 in UTC
            text[10] = 'T';
            json += ",\"timestamp\":" + quoted(text + ".000Z");
        }
        if (const auto* flags = std::get_if<std::int64_t>(&row[at("FileFlags")]); flags && *flags != 0)
            json += ",\"flags\":" + std::to_string(*flags);
        json += "}";
    }
    return stringCell(json + "]");
}

Cell kaveroCell(const Column& column, const Value& value) {
    if (column.type == F::Boolean)
        return Cell{Cell::Kind::Bool, {}, std::holds_alternative<bool>(value) && std::get<bool>(value), {}};
    if (std::holds_alternative<std::monostate>(value)) return Cell{};
    switch (column.type) {
    case F::DateTime:
        return stringCell(dateText(std::get<DateTime>(value).days));
    case F::Guid:
        return stringCell(std::get<Guid>(value).text());
    default:
        return mdbReaderCell(column, value);
    }
}

bool sameCell(const Column& column, const Cell& expected, const Cell& actual) {
    if (expected.kind == Cell::Kind::Number && actual.kind == Cell::Kind::Number &&
        (column.type == F::Single || column.type == F::Double)) {
        const double e = std::strtod(expected.text.c_str(), nullptr);
        const double a = std::strtod(actual.text.c_str(), nullptr);
        if (column.type == F::Single) return static_cast<float>(e) == static_cast<float>(a);
        return e == a;
    }
    return expected == actual;
}

} // namespace kavero::jet::writer::test
