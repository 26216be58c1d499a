// Head, literals and VALUES clause of the record statements.
#include "source/record_statement.h"

#include "source/column_rule.h"
#include "source/load_data_text.h"

namespace kavero::source {

namespace {

// Drops the separator after the last item: everything from the last comma on. Only called
// right after an item was appended, so a comma inside a name or a value is never the last.
void cutAtLastComma(std::string& text) {
    const std::size_t comma = text.rfind(',');
    if (comma != std::string::npos) text.erase(comma);
}

} // namespace

std::vector<CopiedField> copiedFields(const shell::TableDesign& design) {
    std::vector<CopiedField> fields;
    for (std::size_t i = 0; i < design.fields.size(); ++i) {
        const shell::DesignField& field = design.fields[i];
        const ColumnRule& rule = columnRule(field);
        if (rule.listed && rule.copied()) fields.push_back({field.name, i, rule.literal});
    }
    return fields;
}

std::string BuildInsertHeader(const std::string& table, const std::vector<CopiedField>& fields, NameQuoting quoting) {
    std::string head = "Insert Into " + quoteName(table, quoting) + " (";
    for (const CopiedField& field : fields) head += quoteName(field.name, quoting) + ", ";
    if (!fields.empty()) cutAtLastComma(head);
    head += ") ";
    return head;
}

std::string FormatFieldLiteral(LiteralKind kind, const jet::Value& value) {
    if (kind == LiteralKind::None) return {};
    std::string literal = recordLiteral(kind, value);
    literal += kind == LiteralKind::DateTime && jet::isNull(value) ? "," : ", ";
    return literal;
}

void appendValuesRow(std::string& text, const std::vector<CopiedField>& fields, const std::vector<jet::Value>& record,
                     std::string* loadDataLine) {
    text += '(';
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string literal = FormatFieldLiteral(fields[i].literal, record.at(fields[i].recordIndex));
        text += literal;
        if (loadDataLine == nullptr) continue;
        if (i > 0) *loadDataLine += '\t';
        // The literal without its separator, ", " or the null date's lone ",".
        appendLoadDataField(*loadDataLine, std::string_view(literal).substr(0, literal.find_last_not_of(", ") + 1));
    }
    if (!fields.empty()) cutAtLastComma(text);
    text += ')';
    if (loadDataLine != nullptr) *loadDataLine += '\n';
}

std::string BuildValuesClause(const std::vector<CopiedField>& fields, const std::vector<jet::Value>& record) {
    std::string clause = "VALUES";
    appendValuesRow(clause, fields, record);
    return clause;
}

std::vector<std::string> changedValues(const std::vector<CopiedField>& fields, const std::vector<jet::Value>& record) {
    std::vector<std::string> changed;
    for (const CopiedField& field : fields) {
        if (field.literal != LiteralKind::ExtendedDateTimeOrNull) continue;
        const auto* date = std::get_if<jet::ExtendedDateTime>(&record.at(field.recordIndex));
        if (date == nullptr || !date->finerThanMicroseconds()) continue;
        changed.push_back("cut to the microsecond: " + quoteName(field.name) + " " + date->toString() + " sent as " +
                          date->toMicrosecondString());
    }
    return changed;
}

} // namespace kavero::source
