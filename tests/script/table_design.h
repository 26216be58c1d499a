// Fills the main window's field and key lists the way a table pick leaves them, so script
// tests can describe a table design in a few lines.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "shell/main_form.h"

namespace kavero::testing {

struct FieldRow {
    FieldRow(std::string fieldName, std::string word, std::string fieldSize, std::string zeroLength = "False",
             std::string defaultText = {})
        : name(std::move(fieldName)), typeWord(std::move(word)), size(std::move(fieldSize)),
          zeroLengthAllowed(std::move(zeroLength)), storedDefault(std::move(defaultText)) {}

    std::string name;
    std::string typeWord;
    std::string size;
    std::string zeroLengthAllowed; // the "Can not be null" cell
    std::string storedDefault;
};

struct KeyRow {
    std::string name;
    std::string unique;
    std::string primary;
    std::string size;
    std::string typeWord;
};

// Selects `table` in eTables and writes both grids (header first) and both counters.
inline void showDesign(shell::frmMain& form, const std::string& table, const std::vector<FieldRow>& fields,
                       const std::vector<KeyRow>& keys) {
    form.eFilename.text = "/data/" + table + ".mdb";
    form.eTables.clear();
    form.eTables.addItem(table);
    form.eTables.listIndex = 0;
    form.eFieldListGrid.clear();
    form.eFieldListGrid.addItem("Field name\tType\tLenght\tCan not be null\tDefault value");
    for (const FieldRow& f : fields) {
        form.eFieldListGrid.addItem(f.name + "\t" + f.typeWord + "\t" + f.size + "\t" + f.zeroLengthAllowed + "\t" +
                                    f.storedDefault);
    }
    form.eFieldListGrid.fixedRows = 1;
    form.ekeyListGrid.clear();
    form.ekeyListGrid.addItem("Index name\tUnique\tPrimary\tLenght\tKey type");
    for (const KeyRow& k : keys) {
        form.ekeyListGrid.addItem(k.name + "\t" + k.unique + "\t" + k.primary + "\t" + k.size + "\t" + k.typeWord);
    }
    form.ekeyListGrid.fixedRows = 1;
    form.eFieldCount.text = std::to_string(fields.size());
    form.eKeyCount.text = std::to_string(keys.size());
}

// The Customers table: an AutoNumber key, a text key, a Yes/No with default No and a
// Currency with default 0.
inline void showCustomers(shell::frmMain& form) {
    showDesign(form, "Customers",
               {{"ID", "AUTONUM", "4", "False", ""},
                {"Name", "TEXT", "50", "False", ""},
                {"Active", "BOOLEAN", "1", "False", "No"},
                {"Price", "CURRENCY", "8", "False", "0"}},
               {{"ID", "True", "True", "4", "AUTONUM"}, {"Name", "False", "False", "50", "TEXT"}});
}

} // namespace kavero::testing
