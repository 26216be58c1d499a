// One record as one INSERT statement: the head naming the table and its copied columns, and
// a VALUES clause with one literal per copied field. The literals come from the column rule,
// so every column the table script creates is filled by the rule that created it.
#pragma once

#include <string>
#include <vector>

#include "jet/value.h"
#include "shell/table_design.h"
#include "source/sql_text.h"

namespace kavero::source {

// A copied field: its name, its place in the record and how its values are written.
struct CopiedField {
    std::string name;
    std::size_t recordIndex = 0;
    LiteralKind literal = LiteralKind::None;
};

// The fields the records fill, in record order: every field with a column and a literal kind
// (AutoNumbers are numbered by the server, OLE objects and GUIDs are not copied).
std::vector<CopiedField> copiedFields(const shell::TableDesign& design);

// "Insert Into `T` (`a`, `b`) ", ending in one blank.
std::string BuildInsertHeader(const std::string& table, const std::vector<CopiedField>& fields, NameQuoting quoting);

// The literal of one value with its separator: "'x', ", "NULL, ", or for a Null date the zero
// date followed by a comma alone.
std::string FormatFieldLiteral(LiteralKind kind, const jet::Value& value);

// "VALUES('Smith', 'Oslo')" for a record given as all its values in record order.
std::string BuildValuesClause(const std::vector<CopiedField>& fields, const std::vector<jet::Value>& record);
// Its row alone, "('Smith', 'Oslo')", appended to `text`: one row of a multi-row INSERT. With
// `loadDataLine`, the same literals also go there as one LOAD DATA line (source/load_data_text.h),
// so a record that may go either way is formatted once.
void appendValuesRow(std::string& text, const std::vector<CopiedField>& fields, const std::vector<jet::Value>& record,
                     std::string* loadDataLine = nullptr);

// The values of a record its literals change on the way, one text each: an extended date
// with a seventh fraction digit goes to the microsecond, which is what the server holds.
// "cut to the microsecond: `When` 9999-12-31 23:59:59.9999999 sent as 9999-12-31 23:59:59.999999".
// Empty for a record sent as read.
std::vector<std::string> changedValues(const std::vector<CopiedField>& fields, const std::vector<jet::Value>& record);

} // namespace kavero::source
