// What an Access field becomes on the way to MySQL, decided in one table: the type word the
// field list shows, the column type of the table script, the kind of literal a record value
// is written as, how the column holds the value afterwards, and whether the field is copied. The script, the record
// statements and the pages all read this table, so a field is never created by one rule and filled by another.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "shell/table_design.h"

namespace kavero::source {

// How a record value of the field is written in a statement (see sql_text.h).
enum class LiteralKind {
    None,     // not copied: the server numbers AutoNumbers itself; OLE objects stay behind
    YesNo,    // -1 or 0
    Integer,  // exact decimal digits
    Currency, // exact, four decimals
    Float,    // the shortest text that reads back to the same Single or Double
    Decimal,  // exact digits at the column's scale
    DateTime, // '2002-2-6 09:05:00'; Null as the zero date
    Text,     // quoted and escaped; Null as the empty text
    Binary,   // X'…'
    // A Single as the exact double it stands for: its shortest text may read as a double just
    // above the largest Single, which a FLOAT column refuses.
    SingleExact,
    // '2002-2-6 09:05:00'; Null as NULL
    DateTimeOrNull,
    // quoted and escaped (a GUID as its braced text); Null as NULL
    TextOrNull,
    // '2002-02-06 09:05:00.123456': an extended date to the microsecond, a seventh fraction
    // digit cut off; Null as NULL
    ExtendedDateTimeOrNull,
};

// How the column holds a copied value: the typed form the check after a copy reads back and
// compares (see held_value.h).
enum class HeldType {
    None,     // not copied, so not compared
    Integer,  // whole numbers; Yes/No as -1 and 0
    Double,   // DOUBLE; Currency as the double nearest its exact amount
    Single,   // REAL, compared as the Single it was made from
    Decimal,  // exact digits; Currency exactly
    DateTime, // to the second; Null as the zero date
    Text,     // the UTF-8 bytes; Null as the empty text
    Bytes,    // the bytes
    // to the second; Null as NULL
    DateTimeOrNull,
    // the UTF-8 bytes (a GUID's braced text); Null as NULL
    TextOrNull,
    // to the microsecond, the seventh fraction digit cut off; Null as NULL
    ExtendedDateTimeOrNull,
};

// What the column type takes from the field.
enum class ColumnSize {
    None,
    Length,         // VARCHAR(size)
    PrecisionScale, // DECIMAL(precision,scale)
};

// Whether the column may hold NULL.
enum class Nullability {
    NotNull,
    FromZeroLength, // text: NOT NULL unless the field allows a zero-length text
    AlwaysNull,     // nothing fills the column, so a NOT NULL would refuse every record
    FromRequired,   // NOT NULL only when the field is Required
};

// The prefix length a key on the column needs.
enum class KeyPrefix {
    None,       // the whole column
    FieldSize,  // text keys are as long as the field
    LongColumn, // LONGBLOB: a fixed prefix, long enough to tell most values apart
};

struct ColumnRule {
    std::string_view typeWord{};   // the field list's "Type"; empty for Binary and unknown types
    std::string_view columnType{}; // the MySQL type, sized as `size` says
    ColumnSize size = ColumnSize::None;
    LiteralKind literal = LiteralKind::None;
    HeldType held = HeldType::None;
    Nullability nullability = Nullability::NotNull;
    KeyPrefix keyPrefix = KeyPrefix::None;
    bool listed = true;       // false: the field has no row in the field list and no column
    bool takesDefault = true; // Memo and AutoNumber columns never get a DEFAULT
    bool autoIncrement = false;

    bool copied() const { return literal != LiteralKind::None; }
};

// The rule for a field, from its engine type code and its Attributes (exactly 49, an
// AutoNumber long, reads AUTONUM whatever the type code). Codes the table does not know keep
// their bytes in a LONGBLOB column; attachment and multi-value fields are left out.
//
// The lossless rules keep every value instead: exact column types, NULL allowed unless the
// field is Required and Null sent as NULL, AutoNumber values copied into an AUTO_INCREMENT
// column, GUIDs as their braced text, OLE objects copied. Attachment and multi-value fields
// keep the number of the record's set of values, which links the record to the rows of the
// field's values table; extended dates become DATETIME(6) (see literal); the bytes of types
// the table does not know are kept in a LONGBLOB.
const ColumnRule& columnRule(int typeCode, std::int32_t attributes, bool lossless = false);
inline const ColumnRule& columnRule(const shell::DesignField& field) {
    return columnRule(field.type, field.attributes, field.lossless);
}

// The table the values of an attachment or multi-value field are listed as ("<table>_<field>");
// empty for every other field.
std::string valuesTableOf(std::string_view table, const shell::DesignField& field);

// The column type as the script writes it: "VARCHAR(50)", "DECIMAL(18,4)", "DOUBLE auto_increment".
std::string columnType(const shell::DesignField& field);

// The key prefix length for a key on the field, without parentheses; empty for the whole column.
std::string keyPrefixLength(const shell::DesignField& field);

// Whether the column is created NOT NULL (a key field of a lossless primary key is, whatever
// this says: the script adds it).
bool createdNotNull(const shell::DesignField& field);

// The "Can not be null" text of the field list: the zero-length flag of text fields, which
// the script turns into NULL; False for every other type.
bool zeroLengthShown(const shell::DesignField& field);

} // namespace kavero::source
