// The table script builder. Every clause it appends ends in ", "; each step that needs the
// separator gone cuts the text at its last comma, so commas inside names or defaults never
// matter: a cut always follows a clause just appended.
#include "script/create_sql_table_create.h"

#include <string_view>

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

} // namespace

std::string CreateSQLtablecreate(shell::frmMain& form, bool oneLine, source::NameQuoting quoting) {
    const std::string* selected = form.eTables.selectedItem();
    if (selected == nullptr) throw ScriptError("No table is selected, so there is no table script to create.");
    const std::string table = *selected;
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
