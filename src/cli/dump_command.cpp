// kavero-cli dump: every record of a table as one JSON object per line, keys in field order.
#include <cmath>
#include <cstdio>
#include <memory>
#include <type_traits>

#include "cli/commands.h"
#include "cli/console.h"
#include "source/engine.h"

namespace kavero::cli {

namespace {

struct DumpArguments {
    std::string file;
    std::string table;
    CodePageOption codePage;
};

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

// JSON has no infinities or NaN; they are written as strings so they stay apart from Null.
template <class F> void appendNumber(std::string& out, F value) {
    if (std::isfinite(value)) {
        out += jet::shortestText(value);
    } else {
        appendJsonString(out, std::isnan(value) ? "NaN" : (value > 0 ? "Infinity" : "-Infinity"));
    }
}

void appendValue(std::string& out, const source::Value& value) {
    std::visit(
        [&out](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, jet::Null>) {
                out += "null";
            } else if constexpr (std::is_same_v<T, bool>) {
                out += v ? "true" : "false";
            } else if constexpr (std::is_same_v<T, std::uint8_t> || std::is_same_v<T, std::int16_t> ||
                                 std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::int64_t>) {
                out += std::to_string(v);
            } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
                appendNumber(out, v);
            } else if constexpr (std::is_same_v<T, jet::Text>) {
                appendJsonString(out, v.utf8);
            } else if constexpr (std::is_same_v<T, jet::Bytes>) {
                appendJsonString(out, v.toHex());
            } else {
                appendJsonString(out, v.toString()); // Currency, Decimal, DateTime, Guid
            }
        },
        value);
}

int runDump(const DumpArguments& args) {
    Output out;
    try {
        source::AccessDatabase database(args.file, args.codePage.readOptions());
        source::Recordset records = database.openRecordset(args.table);
        const auto& fields = records.fields();
        std::string line;
        for (; !records.eof() && !out.failed(); records.moveNext()) {
            line = "{";
            for (std::size_t i = 0; i < fields.size(); ++i) {
                if (i > 0) line += ',';
                appendJsonString(line, fields[i].name);
                line += ':';
                appendValue(line, records.value(i));
            }
            line += "}\n";
            out.write(line);
        }
    } catch (const source::EngineError& e) {
        // The records read before the damage stay printed; the status tells they are not all.
        out.finish();
        printError(e);
        return kExitFailed;
    }
    return out.finish() ? kExitDone : kExitFailed;
}

} // namespace

void addDumpCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<DumpArguments>();
    CLI::App* command = app.add_subcommand("dump", "Print every record of a table as JSON lines");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    command->add_option("TABLE", args->table, "Table name")->required();
    args->codePage.addTo(*command);
    command->callback([args, &exitStatus] { exitStatus = runDump(*args); });
}

} // namespace kavero::cli
