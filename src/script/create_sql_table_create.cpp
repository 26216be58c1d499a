// The table script builder. Every clause it appends ends in ", "; each step that needs the
// separator gone cuts the text at its last comma, so commas inside names or defaults never
// matter: a cut always follows a clause just appended.
#include "script/create_sql_table_create.h"

#include <charconv>
#include <string_view>
#include <system_error>

#include "script/column_type.h"
#include "script/detail/replace_all.h"
#include "script/default_value.h"

namespace kavero::script {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Grid columns of the field list and of the key list.
constexpr int kFieldName = 0;
constexpr int kFieldType = 1;
constexpr int kFieldSize = 2;
constexpr int kFieldZeroLengthAllowed = 3;
constexpr int kFieldDefault = 4;
constexpr int kKeyName = 0;
constexpr int kKeyPrimary = 2;
constexpr int kKeySize = 3;
constexpr int kKeyType = 4;

void cutAtLastComma(std::string& script) {
    const std::size_t comma = script.rfind(',');
    if (comma != std::string::npos) script.erase(comma);
}

// The number of rows a counter says its grid holds below the header. The counters are text
// boxes; anything but a count of rows actually present would make the script describe
// fields that are not there.
int rowCount(const shell::TextBox& counter, const shell::Grid& grid, std::string_view what) {
    const std::string& text = counter.text;
    int count = -1;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, count);
    if (text.empty() || error != std::errc{} || stop != end || count < 0) {
        throw ScriptError("The " + std::string(what) + " count \"" + text + "\" is not a number of rows.");
    }
    const int present = grid.rows() > 0 ? grid.rows() - 1 : 0;
    if (count > present) {
        throw ScriptError("The " + std::string(what) + " list holds " + std::to_string(present) +
                          " rows, but its count says " + std::to_string(count) + ".");
    }
    return count;
}

// A name between backticks. Access forbids backticks in names, but a file need not obey
// Access: a backtick inside is doubled so the name cannot end the quoting early.
std::string quoted(std::string_view name) {
    std::string text = "`";
    for (char c : name) text += c == '`' ? "``" : std::string(1, c);
    text += '`';
    return text;
}

} // namespace

std::string CreateSQLtablecreate(shell::frmMain& form, bool oneLine) {
    const std::string* selected = form.eTables.selectedItem();
    if (selected == nullptr) throw ScriptError("No table is selected, so there is no table script to create.");
    const std::string table = *selected;
    const shell::Grid& fields = form.eFieldListGrid;
    const shell::Grid& keys = form.ekeyListGrid;
    const int fieldCount = rowCount(form.eFieldCount, fields, "field");
    const int keyCount = rowCount(form.eKeyCount, keys, "key");
    if (fieldCount == 0) {
        // A load stopped by an illegal name leaves the list without even its header; a table
        // made only of GUID fields, which are left out, leaves just the header.
        if (fields.rows() == 0) {
            throw ScriptError("The field list of the table " + table +
                              " is empty because its design could not be loaded, so there is no table to create.");
        }
        throw ScriptError("The table " + table +
                          " has no fields that can be created (GUID fields are left out), so there is no table "
                          "to create.");
    }
    const bool keysAsKeys = form.ECreateKey.value;
    const bool keysAsIndexes = form.eCreateIndex.value;
    const bool noKeys = form.eCreateNoKeys.value;

    std::string script = "DROP TABLE IF EXISTS " + quoted(table);
    script += kCrLf;
    script += "CREATE TABLE " + quoted(table);
    script += "(";

    std::string autoIncrementField;
    std::string autoIncrementKey;
    for (int row = 1; row <= fieldCount; ++row) {
        const std::string& size = fields.cell(row, kFieldSize);
        const std::string& name = fields.cell(row, kFieldName);
        const std::string& typeWord = fields.cell(row, kFieldType);
        script += quoted(name);
        script += columnText(typeWord, size);
        if (typeWord == "AUTONUM") {
            autoIncrementField = name;
            if (noKeys || keysAsIndexes) autoIncrementKey = "PRIMARY KEY (" + name + "), ";
        }
        cutAtLastComma(script);
        script += fields.cell(row, kFieldZeroLengthAllowed) == "False" ? " NOT NULL, " : " NULL, ";
        if (typeWord == "AUTONUM" || typeWord == "BLOB") continue;
        const std::string& storedDefault = fields.cell(row, kFieldDefault);
        if (storedDefault.empty()) continue;
        cutAtLastComma(script);
        script += defaultClause(typeWord, storedDefault);
    }
    script += autoIncrementKey;

    if (keysAsKeys) {
        for (int row = 1; row <= keyCount; ++row) {
            const std::string& size = keys.cell(row, kKeySize);
            const std::string& typeWord = keys.cell(row, kKeyType);
            const std::string& name = keys.cell(row, kKeyName);
            script += keys.cell(row, kKeyPrimary) == "False" ? " KEY (" : " PRIMARY KEY (";
            script += name;
            const std::string prefix = keyPrefixLength(typeWord, size);
            script += prefix.empty() ? "), " : "(" + prefix + ")), ";
            if (name == autoIncrementField) autoIncrementField.clear();
        }
        // MySQL wants the auto-increment column in a key; give it one when no key row did.
        if (!autoIncrementField.empty()) script += "KEY (" + autoIncrementField + "), ";
    }

    cutAtLastComma(script);
    script += ")";
    script += kCrLf;

    if (keysAsIndexes) {
        for (int row = 1; row <= keyCount; ++row) {
            const std::string& name = keys.cell(row, kKeyName);
            const std::string prefix = keyPrefixLength(keys.cell(row, kKeyType), keys.cell(row, kKeySize));
            script += "CREATE INDEX " + quoted(name) + " ON " + quoted(table) + " (" + quoted(name);
            script += prefix.empty() ? ")" : "(" + prefix + "))";
            script += kCrLf;
        }
    }

    form.eScriptOutPut.text.clear();
    if (oneLine) detail::replaceAll(script, kCrLf, ";");
    return script;
}

} // namespace kavero::script
