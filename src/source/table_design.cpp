// Fills the field list and the key list of the main window from a table's definition,
// rejecting names a MySQL server would not take.
#include "source/table_design.h"

#include "kavero/version.h"

namespace kavero::source {

namespace {

constexpr int kAutoNumberAttributes = 49; // fixed size 1 + auto-increment 16 + updatable 32
constexpr int kGuidType = 15;

const char* flagText(bool value) { return value ? "True" : "False"; }

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

std::string fieldNameMessage(const std::string& name, bool spacesAllowed) {
    std::string message;
    if (!spacesAllowed && name.find(' ') != std::string::npos) message = "You have a space( )in your field name " + name;
    for (const NameRule& rule : kFieldRules) {
        if (name.find(rule.character) != std::string::npos) message = rule.message + name;
    }
    return message;
}

std::string keyNameMessage(const std::string& name) {
    std::string message;
    for (const NameRule& rule : kKeyRules) {
        if (name.find(rule.character) != std::string::npos) message = rule.message + name;
    }
    return message;
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

int rowsBelowHeader(const shell::Grid& grid) { return grid.rows() > 0 ? grid.rows() - 1 : 0; }

} // namespace

std::string typeWord(int typeCode, std::int32_t attributes) {
    if (attributes == kAutoNumberAttributes) return "AUTONUM";
    switch (typeCode) {
    case 1: return "BOOLEAN";
    case 2: return "BYTE";
    case 3: return "INTEGER";
    case 4: return "LNGINT";
    case 5: return "CURRENCY";
    case 6: return "SINGLE";
    case 7: return "DOUBLE";
    case 8: return "DATETIME";
    case 10: return "TEXT";
    case 11: return "OLE";
    case 12: return "BLOB";
    // Decimal and big integers have no word of their own; a double column holds their values
    // (to 15 significant digits) rather than dropping the field.
    case 16:
    case 0x13: return "DOUBLE";
    default: return "";
    }
}

void loadTableDesign(shell::frmMain& form, shell::UserInterface& ui, const std::string& tableName) {
    ui.setBusy(true);
    form.eLabelFields.caption = "Fields in database " + tableName;
    form.eLabelKey.caption = "Keys in database " + tableName;

    shell::Grid& fields = form.eFieldListGrid;
    shell::Grid& keys = form.ekeyListGrid;
    startGrid(fields, "Field name\tType\tLenght\tCan not be null\tDefault value");
    fields.setColWidth(0, kNameColumnWidth);
    fields.setColWidth(2, kSizeColumnWidth);
    startGrid(keys, "Index name\tUnique\tPrimary\tLenght\tKey type");
    keys.setColWidth(0, kNameColumnWidth);

    // The counters always describe the rows present, whichever way the load ends.
    auto writeCounters = [&] {
        form.eFieldCount.text = std::to_string(rowsBelowHeader(fields));
        form.eKeyCount.text = std::to_string(rowsBelowHeader(keys));
    };
    auto refuse = [&](const char* firstLine, const std::string& message) {
        ui.messageBox(std::string(firstLine) + "\r" + message + "\r" + "Please correct the name and try again",
                      kProductName, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
    };

    try {
        AccessDatabase database(form.eFilename.text);
        const TableDef def = database.tableDef(tableName);
        const bool spacesAllowed = form.eAllowFieldNamesIwthSpace.checked();
        for (const Field& field : def.fields) {
            const std::string message = fieldNameMessage(field.name, spacesAllowed);
            if (!message.empty()) {
                refuse("Illegal field name(s) detected :", message);
                fields.clear();
                keys.fixedRows = 0;
                writeCounters();
                ui.setBusy(false);
                return;
            }
            if (field.type == kGuidType) continue;
            // Only text can hold a zero-length string; numbers, dates and Yes/No read False.
            const bool zeroLength = (field.type == 10 || field.type == 12) && field.allowZeroLength;
            fields.addItem(field.name + "\t" + typeWord(field.type, field.attributes) + "\t" +
                           std::to_string(field.size) + "\t" + flagText(zeroLength) + "\t" + field.defaultValue);
        }
        for (const IndexInfo& index : def.indexes) {
            const std::string keyField = firstKeyField(index.fields);
            const std::string message = keyNameMessage(keyField);
            if (!message.empty()) {
                refuse("Illegal key name(s) detected :", message);
                keys.clear();
                writeCounters();
                ui.setBusy(false);
                return;
            }
            const std::string* size = nullptr;
            const std::string* word = nullptr;
            for (int row = 1; row < fields.rows(); ++row) {
                if (fields.cell(row, 0) == keyField) {
                    size = &fields.cell(row, 2);
                    word = &fields.cell(row, 1);
                }
            }
            // A key on a field the list leaves out (a GUID) cannot be created on the server.
            if (size == nullptr) continue;
            bool listed = false;
            for (int row = 1; row < keys.rows(); ++row) listed = listed || keys.cell(row, 0) == keyField;
            if (listed) continue;
            keys.addItem(keyField + "\t" + flagText(index.unique) + "\t" + flagText(index.primary) + "\t" + *size +
                         "\t" + *word);
        }
        fields.fixedRows = 1;
        keys.fixedRows = 1;
        writeCounters();
        ui.setBusy(false);
    } catch (const EngineError& e) {
        ui.setBusy(false);
        writeCounters();
        ui.messageBox(e.description() + " " + std::to_string(e.number()), "Error when opening database, on eDatebase click",
                      shell::MessageIcon::None, shell::MessageButtons::Ok);
    }
}

} // namespace kavero::source
