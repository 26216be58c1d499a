// The table script builder. Every clause it appends ends in ", "; each step that needs the
// separator gone cuts the text at its last comma, so commas inside names or defaults never
// matter: a cut always follows a clause just appended.
#include "script/create_sql_table_create.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "script/default_value.h"
#include "script/detail/replace_all.h"
#include "source/column_rule.h"
#include "source/table_design.h"

namespace kavero::script {

namespace {

constexpr std::string_view kCrLf = "\r\n";

void cutAtLastComma(std::string& script) {
    const std::size_t comma = script.rfind(',');
    if (comma != std::string::npos) script.erase(comma);
}

// "(50)" for a key that needs a prefix, else nothing.
std::string prefixOf(const shell::DesignField& field) {
    const std::string length = source::keyPrefixLength(field);
    return length.empty() ? "" : "(" + length + ")";
}

// The lossless table: every field a column that keeps its values, every index of the Access
// table, utf8mb4 throughout.
namespace lossless {

// InnoDB's largest key (3,072 bytes) and the row limits: MySQL's 65,535 bytes for a row's
// columns, and InnoDB's record on half a 16 KB page (8,126 bytes less the record's own
// header and hidden columns, for which a margin is kept).
constexpr std::int64_t kKeyBytes = 3072;
constexpr std::int64_t kRowBytes = 65535 - 100;
constexpr std::int64_t kRecordBytes = 8126 - 126;
// A column InnoDB may store off the page keeps at most 40 bytes in the record.
constexpr std::int64_t kOffPageBytes = 40;
constexpr std::int64_t kBytesPerCharacter = 4;

struct Column {
    const shell::DesignField* field;
    bool asText = false; // a VARCHAR made TEXT so the row fits
};

bool isVarchar(const Column& column) {
    return source::columnRule(*column.field).size == source::ColumnSize::Length && !column.asText;
}

// The bytes the column counts toward MySQL's row limit (`inRecord` false) or InnoDB's record.
std::int64_t columnBytes(const Column& column, bool inRecord) {
    const shell::DesignField& field = *column.field;
    const std::string_view type = source::columnRule(field).columnType;
    if (isVarchar(column)) {
        const std::int64_t bytes = kBytesPerCharacter * std::max<std::int64_t>(field.size, 0);
        if (inRecord && bytes > 255) return kOffPageBytes + 2;
        return bytes + (bytes > 255 ? 2 : 1);
    }
    if (column.asText || type.find("TEXT") != std::string_view::npos || type.find("BLOB") != std::string_view::npos)
        return inRecord ? kOffPageBytes + 2 : 12;
    if (type.starts_with("CHAR")) return 38 * kBytesPerCharacter + 1;
    if (type.starts_with("DECIMAL")) return 30;
    if (type.starts_with("TINYINT")) return 1;
    if (type.starts_with("SMALLINT")) return 2;
    if (type.starts_with("INT") || type.starts_with("FLOAT")) return 4;
    return 8; // BIGINT, DOUBLE, DATETIME
}

std::int64_t rowBytes(const std::vector<Column>& columns, bool inRecord) {
    std::int64_t bytes = 0;
    for (const Column& column : columns) bytes += columnBytes(column, inRecord);
    return bytes;
}

// Makes VARCHARs TEXT, the one that frees most of the exceeded limit first, until both limits
// hold or no VARCHAR is left to change; gives the names of the changed columns.
std::vector<std::string> fitRow(std::vector<Column>& columns) {
    std::vector<std::string> changed;
    for (;;) {
        const bool inRecord = rowBytes(columns, false) <= kRowBytes;
        if (inRecord && rowBytes(columns, true) <= kRecordBytes) return changed;
        Column* widest = nullptr;
        std::int64_t freed = 0;
        for (Column& column : columns) {
            if (!isVarchar(column)) continue;
            Column asText = column;
            asText.asText = true;
            const std::int64_t saving = columnBytes(column, inRecord) - columnBytes(asText, inRecord);
            if (saving > freed) {
                freed = saving;
                widest = &column;
            }
        }
        if (widest == nullptr) return changed;
        widest->asText = true;
        changed.push_back(widest->field->name);
    }
}

// The key parts of an index with their prefix lengths (0 for the whole column), each prefix
// cut, longest first, until the key fits InnoDB's limit.
struct KeyPart {
    const shell::DesignField* field;
    bool descending;
    std::int64_t prefix;
    std::int64_t bytesPerUnit;
};

std::vector<KeyPart> keyParts(const std::vector<source::IndexPart>& parts, const std::vector<Column>& columns) {
    std::vector<KeyPart> keys;
    std::int64_t total = 0;
    for (const source::IndexPart& part : parts) {
        const auto column =
            std::find_if(columns.begin(), columns.end(), [&](const Column& c) { return c.field == part.field; });
        const std::string length = source::keyPrefixLength(*part.field);
        KeyPart key{part.field, part.descending, 0, 1};
        if (!length.empty()) {
            key.prefix = std::max<std::int64_t>(std::stoll(length), 1);
            const bool binary = source::columnRule(*part.field).held == source::HeldType::Bytes;
            key.bytesPerUnit = binary ? 1 : kBytesPerCharacter;
            total += key.prefix * key.bytesPerUnit;
        } else if (column != columns.end()) {
            total += columnBytes(*column, false);
        }
        keys.push_back(key);
    }
    while (total > kKeyBytes) {
        auto longest = std::max_element(keys.begin(), keys.end(), [](const KeyPart& a, const KeyPart& b) {
            return a.prefix * a.bytesPerUnit < b.prefix * b.bytesPerUnit;
        });
        // Down to the next longest at most, so the prefixes shrink evenly.
        std::int64_t next = 0;
        for (const KeyPart& key : keys)
            if (&key != &*longest) next = std::max(next, key.prefix * key.bytesPerUnit);
        const std::int64_t unit = longest->bytesPerUnit;
        const std::int64_t bytes = std::max(unit, std::min(total - kKeyBytes, longest->prefix * unit - next));
        const std::int64_t cut = std::min(longest->prefix - 1, (bytes + unit - 1) / unit);
        if (cut <= 0) break; // only whole columns left: the server says what is wrong
        longest->prefix -= cut;
        total -= cut * longest->bytesPerUnit;
    }
    return keys;
}

// A note inside a comment: "*/" in a name would end the comment early.
std::string commentSafe(std::string text) {
    for (std::size_t at; (at = text.find("*/")) != std::string::npos;) text.replace(at, 2, "* /");
    return text;
}

// Every name goes in backquotes: a field called When or Order is a reserved word to the
// server, and the lossless rules let any character through.
std::string tableScript(const shell::TableDesign& design, const std::string& table) {
    const auto name = [](std::string_view text) { return source::quoteName(text, source::NameQuoting::Backquoted); };
    std::vector<Column> columns;
    std::vector<std::string> leftOut;
    std::vector<std::string> valuesTables;
    for (const shell::DesignField& field : design.fields) {
        if (source::columnRule(field).listed)
            columns.push_back({&field});
        else
            leftOut.push_back(field.name);
        if (std::string values = source::valuesTableOf(table, field); !values.empty())
            valuesTables.push_back(std::move(values));
    }
    const std::vector<std::string> asText = fitRow(columns);
    const std::vector<const shell::DesignField*> primary = source::primaryKeyFields(design);
    const auto inPrimary = [&](const shell::DesignField* field) {
        return std::find(primary.begin(), primary.end(), field) != primary.end();
    };

    std::vector<std::string> clauses;
    const shell::DesignField* autoIncrement = nullptr;
    for (const Column& column : columns) {
        const shell::DesignField& field = *column.field;
        const source::ColumnRule& rule = source::columnRule(field);
        std::string clause = name(field.name) + " " + (column.asText ? "TEXT" : source::columnType(field));
        if (rule.autoIncrement) autoIncrement = &field;
        const bool notNull = source::createdNotNull(field) || inPrimary(&field) || rule.autoIncrement;
        clause += notNull ? " NOT NULL" : " NULL";
        if (rule.takesDefault && !column.asText && !field.defaultValue.empty()) {
            std::string dflt = defaultClause(field);
            cutAtLastComma(dflt);
            clause += dflt;
        }
        clauses.push_back(clause);
    }

    bool autoIncrementKeyed = false;
    for (const shell::DesignIndex& index : design.indexes) {
        const std::vector<source::IndexPart> parts = source::indexParts(design, index);
        const bool creatable = !parts.empty() && std::all_of(parts.begin(), parts.end(), [](const auto& part) {
            return source::columnRule(*part.field).listed;
        });
        if (!creatable) continue;
        std::string clause = index.primary  ? "PRIMARY KEY ("
                             : index.unique ? "UNIQUE KEY " + name(index.name) + " ("
                                            : "KEY " + name(index.name) + " (";
        const std::vector<KeyPart> keys = keyParts(parts, columns);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (i > 0) clause += ", ";
            clause += name(keys[i].field->name);
            // A VARCHAR keyed whole needs no prefix; a TEXT or a cut key does.
            const auto column =
                std::find_if(columns.begin(), columns.end(), [&](const Column& c) { return c.field == keys[i].field; });
            const bool whole = column != columns.end() && isVarchar(*column) && keys[i].prefix == column->field->size;
            if (keys[i].prefix > 0 && !whole) clause += "(" + std::to_string(keys[i].prefix) + ")";
            if (keys[i].descending) clause += " DESC";
        }
        clauses.push_back(clause + ")");
        if (keys.front().field == autoIncrement) autoIncrementKeyed = true;
    }
    // InnoDB wants the auto-increment column first in some key.
    if (autoIncrement != nullptr && !autoIncrementKeyed) clauses.push_back("KEY (" + name(autoIncrement->name) + ")");

    std::string script;
    script += source::kKeepZeroAutoNumbers;
    script += kCrLf;
    script += "DROP TABLE IF EXISTS " + name(table);
    script += kCrLf;
    script += "CREATE TABLE " + name(table) + "(";
    for (std::size_t i = 0; i < clauses.size(); ++i) script += (i > 0 ? ", " : "") + clauses[i];
    script += ") DEFAULT CHARSET=utf8mb4";
    std::string notes;
    const auto noteNames = [&](const std::string& text, const std::vector<std::string>& names) {
        if (names.empty()) return;
        notes += (notes.empty() ? "" : ". ") + text;
        for (std::size_t i = 0; i < names.size(); ++i) notes += (i > 0 ? ", " : " ") + name(names[i]);
    };
    noteNames("Created as TEXT so that each row fits the row size limits:", asText);
    noteNames("Left out:", leftOut);
    noteNames("Values of the attachment and multi-value fields, linked by the number in the field, are in:",
              valuesTables);
    if (!notes.empty()) script += " /* " + commentSafe(notes) + " */";
    script += kCrLf;
    return script;
}

} // namespace lossless

} // namespace

std::string CreateSQLtablecreate(shell::frmMain& form, bool oneLine, source::NameQuoting quoting) {
    const std::string* selected = form.eTables.selectedItem();
    if (selected == nullptr) throw ScriptError("No table is selected, so there is no table script to create.");
    const std::string table = *selected;
    // The Options choice as it stands now, also for a table picked before it changed; the
    // record copy and its check take the design from here.
    shell::chooseLossless(form.design, form.eLossless.checked);
    const shell::TableDesign& design = form.design;
    const std::vector<const shell::DesignField*> fields = source::listedFields(design);
    if (design.fields.empty()) {
        throw ScriptError("The field list of the table " + table +
                          " is empty because its design could not be loaded, so there is no table to create.");
    }
    if (fields.empty()) {
        throw ScriptError("The table " + table +
                          " has no fields that can be created (GUID fields are left out), so there is no table "
                          "to create.");
    }
    if (shell::isLossless(design)) {
        std::string script = lossless::tableScript(design, table);
        form.eScriptOutPut.text.clear();
        if (oneLine) detail::replaceAll(script, kCrLf, ";");
        return script;
    }
    const auto name = [quoting](std::string_view text) { return source::quoteName(text, quoting); };
    const bool keysAsKeys = form.ECreateKey.value;
    const bool keysAsIndexes = form.eCreateIndex.value;
    const bool noKeys = form.eCreateNoKeys.value;

    std::string script = "DROP TABLE IF EXISTS " + name(table);
    script += kCrLf;
    script += "CREATE TABLE " + name(table);
    script += "(";

    std::string autoIncrementField;
    std::string autoIncrementKey;
    for (const shell::DesignField* field : fields) {
        const source::ColumnRule& rule = source::columnRule(*field);
        script += name(field->name) + " " + source::columnType(*field) + ", ";
        if (rule.autoIncrement) {
            autoIncrementField = field->name;
            if (noKeys || keysAsIndexes) autoIncrementKey = "PRIMARY KEY (" + name(field->name) + "), ";
        }
        cutAtLastComma(script);
        script += source::createdNotNull(*field) ? " NOT NULL, " : " NULL, ";
        if (!rule.takesDefault || field->defaultValue.empty()) continue;
        cutAtLastComma(script);
        script += defaultClause(*field);
    }
    script += autoIncrementKey;

    const std::vector<source::KeyRow> keys = source::keyList(design);
    if (keysAsKeys) {
        for (const source::KeyRow& key : keys) {
            script += key.primary ? " PRIMARY KEY (" : " KEY (";
            script += name(key.field->name) + prefixOf(*key.field) + "), ";
            if (key.field->name == autoIncrementField) autoIncrementField.clear();
        }
        // MySQL wants the auto-increment column in a key; give it one when no key row did.
        if (!autoIncrementField.empty()) script += "KEY (" + name(autoIncrementField) + "), ";
    }

    cutAtLastComma(script);
    script += ")";
    script += kCrLf;

    if (keysAsIndexes) {
        for (const source::KeyRow& key : keys) {
            script += "CREATE INDEX " + name(key.field->name) + " ON " + name(table) + " (" + name(key.field->name) +
                      prefixOf(*key.field) + ")";
            script += kCrLf;
        }
    }

    form.eScriptOutPut.text.clear();
    if (oneLine) detail::replaceAll(script, kCrLf, ";");
    return script;
}

} // namespace kavero::script
