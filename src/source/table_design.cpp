// Reads a table's design into the main window and shows it in the field and key lists,
// rejecting names a MySQL server would not take.
#include "source/table_design.h"

#include <algorithm>

#include "kavero/version.h"
#include "source/column_rule.h"

namespace kavero::source {

namespace {

using shell::StopReason;

const char* flagText(bool value) {
    return value ? "True" : "False";
}

struct NameRule {
    char character;
    const char* message;
};

// Applied in this order; a later match replaces an earlier one.
constexpr NameRule kFieldRules[] = {
    {'\'', "You have a special character(')in your field name "},
    {'`', "You have a special character(`)in your field name "},
    {'/', "You have a slash(/) in your field name "},
    {'\\', "You have a slash(\\) in your field name "},
    {'.', "You have a dot(.) in your field name "},
};
constexpr NameRule kKeyRules[] = {
    {'\'', "You have a special character(')in your key name "},
    {'`', "You have a special character(`)in your key name "},
    {'/', "You have a slash(/) in your key name "},
    {'\\', "You have a slash(\\) in your key name "},
    {'.', "You have a dot(.) in your key name "},
};

// Why a name would not reach the server intact: the window's message and the reason the
// command's result gives. Reason None when the name is fine.
struct NameCheck {
    shell::StopReason reason = shell::StopReason::None;
    std::string message;
};

template <std::size_t N> NameCheck applyRules(const NameRule (&rules)[N], const std::string& name, NameCheck check) {
    for (const NameRule& rule : rules) {
        if (name.find(rule.character) != std::string::npos) check = {StopReason::IllegalName, rule.message + name};
    }
    return check;
}

// The lossless script puts every name in backquotes, doubling a backquote inside, so a quote,
// slash or dot reaches the server as it is; only a blank still asks for the allow-spaces box.
NameCheck checkFieldName(const std::string& name, bool spacesAllowed, bool lossless) {
    NameCheck check;
    if (!spacesAllowed && name.find(' ') != std::string::npos) {
        check = {StopReason::BlankInName, "You have a space( )in your field name " + name};
    }
    return lossless ? check : applyRules(kFieldRules, name, check);
}

NameCheck checkKeyName(const std::string& name, bool lossless) {
    return lossless ? NameCheck{} : applyRules(kKeyRules, name, {});
}

// The first field of an index's "+A;-B" text, without its sign.
std::string firstKeyField(const std::string& fields) {
    std::string first = fields.substr(0, fields.find(';'));
    const std::size_t begin = first.find_first_not_of(' ');
    if (begin == std::string::npos) return "";
    first = first.substr(begin, first.find_last_not_of(' ') - begin + 1);
    return first.substr(1);
}

void startGrid(shell::Grid& grid, std::string_view header) {
    grid.clear();
    grid.addItem(header);
}

int rowsBelowHeader(const shell::Grid& grid) {
    return grid.rows() > 0 ? grid.rows() - 1 : 0;
}

std::string fieldRow(const shell::DesignField& field) {
    return field.name + "\t" + std::string(columnRule(field).typeWord) + "\t" + std::to_string(field.size) + "\t" +
           flagText(zeroLengthShown(field)) + "\t" + field.defaultValue;
}

std::string keyRow(const KeyRow& key) {
    const shell::DesignField& field = *key.field;
    return field.name + "\t" + flagText(key.unique) + "\t" + flagText(key.primary) + "\t" + std::to_string(field.size) +
           "\t" + std::string(columnRule(field).typeWord);
}

} // namespace

std::vector<const shell::DesignField*> listedFields(const shell::TableDesign& design) {
    std::vector<const shell::DesignField*> listed;
    for (const shell::DesignField& field : design.fields) {
        if (columnRule(field).listed) listed.push_back(&field);
    }
    return listed;
}

std::vector<KeyRow> keyList(const shell::TableDesign& design) {
    const std::vector<const shell::DesignField*> fields = listedFields(design);
    std::vector<KeyRow> keys;
    for (const shell::DesignIndex& index : design.indexes) {
        const std::string name = firstKeyField(index.fields);
        const shell::DesignField* field = nullptr;
        for (const shell::DesignField* candidate : fields) {
            if (candidate->name == name) field = candidate;
        }
        // A key on a field the list leaves out (a GUID) cannot be created on the server.
        if (field == nullptr) continue;
        bool listed = false;
        for (const KeyRow& key : keys) listed = listed || key.field->name == name;
        if (!listed) keys.push_back({field, index.unique, index.primary});
    }
    return keys;
}

std::vector<IndexPart> indexParts(const shell::TableDesign& design, const shell::DesignIndex& index) {
    std::vector<IndexPart> parts;
    // "+A;-B": a sign before each name. A name may hold ";" itself, so a piece that names
    // no field is joined with the next.
    std::string name;
    std::size_t start = 0;
    while (start < index.fields.size()) {
        const std::size_t end = std::min(index.fields.find(';', start), index.fields.size());
        name += index.fields.substr(start, end - start);
        start = end + 1;
        const auto found = std::find_if(design.fields.begin(), design.fields.end(),
                                        [&](const shell::DesignField& f) { return name.substr(1) == f.name; });
        if (found != design.fields.end()) {
            parts.push_back({&*found, name.front() == '-'});
            name.clear();
        } else {
            name += ';';
        }
    }
    if (!name.empty()) return {}; // a field the table does not have: no key to go by
    return parts;
}

std::vector<const shell::DesignField*> primaryKeyFields(const shell::TableDesign& design) {
    std::vector<const shell::DesignField*> fields;
    for (const shell::DesignIndex& index : design.indexes) {
        if (!index.primary) continue;
        for (const IndexPart& part : indexParts(design, index)) fields.push_back(part.field);
        break;
    }
    return fields;
}

shell::CommandResult loadTableDesign(shell::frmMain& form, shell::UserInterface& ui, const std::string& tableName,
                                     const ReadOptions& options) {
    ui.setBusy(true);
    form.eLabelFields.caption = "Fields in database " + tableName;
    form.eLabelKey.caption = "Keys in database " + tableName;
    form.design = {};

    shell::Grid& fields = form.eFieldListGrid;
    shell::Grid& keys = form.ekeyListGrid;
    startGrid(fields, "Field name\tType\tLenght\tCan not be null\tDefault value");
    fields.setColWidth(0, kNameColumnWidth);
    fields.setColWidth(2, kSizeColumnWidth);
    startGrid(keys, "Index name\tUnique\tPrimary\tLenght\tKey type");
    keys.setColWidth(0, kNameColumnWidth);

    // The counters always describe the rows present, whichever way the load ends.
    auto finish = [&](shell::CommandResult result) {
        form.eFieldCount.text = std::to_string(rowsBelowHeader(fields));
        form.eKeyCount.text = std::to_string(rowsBelowHeader(keys));
        ui.setBusy(false);
        return result;
    };
    auto refuse = [&](const char* firstLine, const NameCheck& check, const std::string& name) {
        const std::string text =
            std::string(firstLine) + "\r" + check.message + "\r" + "Please correct the name and try again";
        ui.messageBox(text, kProductName, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
        return shell::CommandResult::stopped(check.reason, text, name);
    };

    shell::TableDesign design;
    try {
        design = AccessDatabase(form.eFilename.text, options).tableDef(tableName);
    } catch (const EngineError& e) {
        const shell::CommandResult result = finish(shell::CommandResult::failed(e));
        ui.messageBox(e.boxText(), "Error when opening database, on eDatebase click", shell::MessageIcon::None,
                      shell::MessageButtons::Ok);
        return result;
    }

    // The field list shows the columns the chosen rules create.
    shell::chooseLossless(design, form.eLossless.checked);
    const bool spacesAllowed = form.eAllowFieldNamesIwthSpace.checked();
    for (const shell::DesignField& field : design.fields) {
        const NameCheck check = checkFieldName(field.name, spacesAllowed, form.eLossless.checked);
        if (check.reason != StopReason::None) {
            const shell::CommandResult result = refuse("Illegal field name(s) detected :", check, field.name);
            fields.clear();
            keys.fixedRows = 0;
            return finish(result);
        }
        if (columnRule(field).listed) fields.addItem(fieldRow(field));
    }
    form.design = std::move(design);
    for (const KeyRow& key : keyList(form.design)) {
        const NameCheck check = checkKeyName(key.field->name, form.eLossless.checked);
        if (check.reason != StopReason::None) {
            const shell::CommandResult result = refuse("Illegal key name(s) detected :", check, key.field->name);
            keys.clear();
            form.design.indexes.clear();
            return finish(result);
        }
        keys.addItem(keyRow(key));
    }
    fields.fixedRows = 1;
    keys.fixedRows = 1;
    return finish(shell::CommandResult::done());
}

} // namespace kavero::source
