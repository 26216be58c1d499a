// A table design in a few lines, put into the main window as a table pick leaves it.
#pragma once

#include <string>
#include <vector>

#include "shell/main_form.h"

namespace kavero::testing {

// Engine type codes and the AutoNumber attributes, as the reader reports them.
enum Type : int {
    kYesNo = 1, kByte, kInteger, kLong, kCurrency, kSingle, kDouble, kDate, kBinary, kText, kOle, kMemo,
    kGuid = 15, kDecimal, kComplex = 0x12, kBigInt = 0x13,
};
inline constexpr int kAutoNumber = 49;

// Selects `table` in eTables and makes the design the picked one.
inline void showDesign(shell::frmMain& form, const std::string& table, std::vector<shell::DesignField> fields,
                       std::vector<shell::DesignIndex> indexes = {}) {
    form.eFilename.text = "/data/" + table + ".mdb";
    form.eTables.clear();
    form.eTables.addItem(table);
    form.eTables.listIndex = 0;
    form.design = {table, std::move(fields), std::move(indexes)};
}

// An AutoNumber key, a text key, a Yes/No with default No and a Currency with default 0.
inline void showCustomers(shell::frmMain& form) {
    showDesign(form, "Customers",
               {{.name = "ID", .type = kLong, .size = 4, .attributes = kAutoNumber},
                {.name = "Name", .type = kText, .size = 50},
                {.name = "Active", .type = kYesNo, .size = 1, .defaultValue = "No"},
                {.name = "Price", .type = kCurrency, .size = 8, .defaultValue = "0"}},
               {{.name = "PrimaryKey", .fields = "+ID", .unique = true, .primary = true},
                {.name = "Name", .fields = "+Name"}});
}

} // namespace kavero::testing
