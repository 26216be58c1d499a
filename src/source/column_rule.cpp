// The column rule table.
#include "source/column_rule.h"

#include <array>

#include "jet/complex_field.h"
#include "jet/format.h"

namespace kavero::source {

namespace {

// Access stores AutoNumber longs with these Attributes: fixed size 1 + auto-increment 16 + updatable 32.
constexpr std::int32_t kAutoNumberAttributes = 49;

// A prefix of 255 characters fits any index: 1,020 bytes in utf8mb4.
constexpr std::string_view kLongColumnKeyPrefix = "255";

struct Entry {
    int typeCode;
    ColumnRule rule;
};

using enum LiteralKind;

constexpr std::array kRules = {
    Entry{jet::kTypeBoolean,
          {.typeWord = "BOOLEAN", .columnType = "INTEGER", .literal = YesNo, .held = HeldType::Integer}},
    Entry{jet::kTypeByte, {.typeWord = "BYTE", .columnType = "INTEGER", .literal = Integer, .held = HeldType::Integer}},
    Entry{jet::kTypeInteger,
          {.typeWord = "INTEGER", .columnType = "INTEGER", .literal = Integer, .held = HeldType::Integer}},
    Entry{jet::kTypeLong,
          {.typeWord = "LNGINT", .columnType = "BIGINT", .literal = Integer, .held = HeldType::Integer}},
    Entry{jet::kTypeCurrency,
          {.typeWord = "CURRENCY", .columnType = "DOUBLE", .literal = Currency, .held = HeldType::Double}},
    Entry{jet::kTypeSingle, {.typeWord = "SINGLE", .columnType = "REAL", .literal = Float, .held = HeldType::Single}},
    Entry{jet::kTypeDouble, {.typeWord = "DOUBLE", .columnType = "DOUBLE", .literal = Float, .held = HeldType::Double}},
    Entry{jet::kTypeDateTime,
          {.typeWord = "DATETIME", .columnType = "DATETIME", .literal = DateTime, .held = HeldType::DateTime}},
    Entry{jet::kTypeBinary,
          {.typeWord = "",
           .columnType = "LONGBLOB",
           .literal = Binary,
           .held = HeldType::Bytes,
           .keyPrefix = KeyPrefix::LongColumn}},
    Entry{jet::kTypeText,
          {.typeWord = "TEXT",
           .columnType = "VARCHAR",
           .size = ColumnSize::Length,
           .literal = Text,
           .held = HeldType::Text,
           .nullability = Nullability::FromZeroLength,
           .keyPrefix = KeyPrefix::FieldSize}},
    // OLE objects are not copied, so the column must accept the NULL every record leaves in it.
    Entry{jet::kTypeOle, {.typeWord = "OLE", .columnType = "BLOB", .nullability = Nullability::AlwaysNull}},
    // Access calls this Memo; its column is a MySQL TEXT.
    Entry{jet::kTypeMemo,
          {.typeWord = "BLOB",
           .columnType = "TEXT",
           .literal = Text,
           .held = HeldType::Text,
           .nullability = Nullability::FromZeroLength,
           .takesDefault = false}},
    Entry{jet::kTypeGuid, {.listed = false}},
    Entry{jet::kTypeDecimal,
          {.typeWord = "DECIMAL",
           .columnType = "DECIMAL",
           .size = ColumnSize::PrecisionScale,
           .literal = Decimal,
           .held = HeldType::Decimal}},
    Entry{jet::kTypeBigInt,
          {.typeWord = "BIGINT", .columnType = "BIGINT", .literal = Integer, .held = HeldType::Integer}},
    // Attachment and multi-value fields: the number of a set of values the documented script
    // does not copy.
    Entry{jet::kTypeComplex, {.listed = false}},
};

constexpr ColumnRule kAutoNumber{
    .typeWord = "AUTONUM", .columnType = "DOUBLE auto_increment", .takesDefault = false, .autoIncrement = true};

// Extended dates and whatever later versions add: the bytes are kept (an extended date as
// the 42 bytes it is stored as, so nothing of it is cut).
constexpr ColumnRule kUnknown{.typeWord = "",
                              .columnType = "LONGBLOB",
                              .literal = Binary,
                              .held = HeldType::Bytes,
                              .keyPrefix = KeyPrefix::LongColumn};

// The lossless rules: every value arrives as the reader reads it.
constexpr std::int32_t kAutoIncrementAttribute = 16;
constexpr Nullability kFromRequired = Nullability::FromRequired;

// Binary values, and those of a type this table does not know, as bytes.
constexpr ColumnRule kLosslessBytes{.typeWord = "",
                                    .columnType = "LONGBLOB",
                                    .literal = Binary,
                                    .held = HeldType::Bytes,
                                    .nullability = kFromRequired,
                                    .keyPrefix = KeyPrefix::LongColumn,
                                    .takesDefault = false};

constexpr std::array kLosslessRules = {
    // Access writes Yes as -1, and programs that test against True keep working with it.
    Entry{jet::kTypeBoolean,
          {.typeWord = "BOOLEAN",
           .columnType = "TINYINT(1)",
           .literal = YesNo,
           .held = HeldType::Integer,
           .nullability = kFromRequired}},
    Entry{jet::kTypeByte,
          {.typeWord = "BYTE",
           .columnType = "TINYINT UNSIGNED",
           .literal = Integer,
           .held = HeldType::Integer,
           .nullability = kFromRequired}},
    Entry{jet::kTypeInteger,
          {.typeWord = "INTEGER",
           .columnType = "SMALLINT",
           .literal = Integer,
           .held = HeldType::Integer,
           .nullability = kFromRequired}},
    Entry{jet::kTypeLong,
          {.typeWord = "LNGINT",
           .columnType = "INT",
           .literal = Integer,
           .held = HeldType::Integer,
           .nullability = kFromRequired}},
    // 15 digits before the point and four after hold every Currency amount exactly.
    Entry{jet::kTypeCurrency,
          {.typeWord = "CURRENCY",
           .columnType = "DECIMAL(19,4)",
           .literal = Currency,
           .held = HeldType::Decimal,
           .nullability = kFromRequired}},
    Entry{jet::kTypeSingle,
          {.typeWord = "SINGLE",
           .columnType = "FLOAT",
           .literal = SingleExact,
           .held = HeldType::Single,
           .nullability = kFromRequired}},
    Entry{jet::kTypeDouble,
          {.typeWord = "DOUBLE",
           .columnType = "DOUBLE",
           .literal = Float,
           .held = HeldType::Double,
           .nullability = kFromRequired}},
    Entry{jet::kTypeDateTime,
          {.typeWord = "DATETIME",
           .columnType = "DATETIME",
           .literal = DateTimeOrNull,
           .held = HeldType::DateTimeOrNull,
           .nullability = kFromRequired}},
    Entry{jet::kTypeBinary, kLosslessBytes},
    Entry{jet::kTypeText,
          {.typeWord = "TEXT",
           .columnType = "VARCHAR",
           .size = ColumnSize::Length,
           .literal = TextOrNull,
           .held = HeldType::TextOrNull,
           .nullability = kFromRequired,
           .keyPrefix = KeyPrefix::FieldSize}},
    Entry{jet::kTypeOle,
          {.typeWord = "OLE",
           .columnType = "LONGBLOB",
           .literal = Binary,
           .held = HeldType::Bytes,
           .nullability = kFromRequired,
           .keyPrefix = KeyPrefix::LongColumn,
           .takesDefault = false}},
    Entry{jet::kTypeMemo,
          {.typeWord = "BLOB",
           .columnType = "LONGTEXT",
           .literal = TextOrNull,
           .held = HeldType::TextOrNull,
           .nullability = kFromRequired,
           .keyPrefix = KeyPrefix::LongColumn,
           .takesDefault = false}},
    Entry{jet::kTypeGuid,
          {.typeWord = "GUID",
           .columnType = "CHAR(38)",
           .literal = TextOrNull,
           .held = HeldType::TextOrNull,
           .nullability = kFromRequired}},
    Entry{jet::kTypeDecimal,
          {.typeWord = "DECIMAL",
           .columnType = "DECIMAL",
           .size = ColumnSize::PrecisionScale,
           .literal = Decimal,
           .held = HeldType::Decimal,
           .nullability = kFromRequired}},
    Entry{jet::kTypeBigInt,
          {.typeWord = "BIGINT",
           .columnType = "BIGINT",
           .literal = Integer,
           .held = HeldType::Integer,
           .nullability = kFromRequired}},
    // The number of the record's set of values; the values go to a table of their own, whose
    // link column holds the same number.
    Entry{jet::kTypeComplex,
          {.typeWord = "LNGINT",
           .columnType = "INT",
           .literal = Integer,
           .held = HeldType::Integer,
           .nullability = kFromRequired}},
    // The server holds microseconds: a seventh fraction digit is cut, and the copy names each
    // record it cuts. DATETIME(6) takes every year from 1 on, as the extended date does.
    Entry{jet::kTypeExtendedDate,
          {.typeWord = "DATETIME2",
           .columnType = "DATETIME(6)",
           .literal = ExtendedDateTimeOrNull,
           .held = HeldType::ExtendedDateTimeOrNull,
           .nullability = kFromRequired}},
};

// The values are copied, so keys other tables point to still match.
constexpr ColumnRule losslessAutoNumber(std::string_view columnType) {
    return {.typeWord = "AUTONUM",
            .columnType = columnType,
            .literal = Integer,
            .held = HeldType::Integer,
            .takesDefault = false,
            .autoIncrement = true};
}
constexpr ColumnRule kLosslessAutoNumber = losslessAutoNumber("INT AUTO_INCREMENT");
constexpr ColumnRule kLosslessBigAutoNumber = losslessAutoNumber("BIGINT AUTO_INCREMENT");

const ColumnRule& losslessRule(int typeCode, std::int32_t attributes) {
    if ((attributes & kAutoIncrementAttribute) != 0) {
        if (typeCode == jet::kTypeLong) return kLosslessAutoNumber;
        if (typeCode == jet::kTypeBigInt) return kLosslessBigAutoNumber;
    }
    for (const Entry& entry : kLosslessRules) {
        if (entry.typeCode == typeCode) return entry.rule;
    }
    return kLosslessBytes;
}

} // namespace

const ColumnRule& columnRule(int typeCode, std::int32_t attributes, bool lossless) {
    if (lossless) return losslessRule(typeCode, attributes);
    if (attributes == kAutoNumberAttributes) return kAutoNumber;
    for (const Entry& entry : kRules) {
        if (entry.typeCode == typeCode) return entry.rule;
    }
    return kUnknown;
}

std::string valuesTableOf(std::string_view table, const shell::DesignField& field) {
    return field.type == jet::kTypeComplex ? jet::valuesTableName(table, field.name) : std::string();
}

std::string columnType(const shell::DesignField& field) {
    const ColumnRule& rule = columnRule(field);
    std::string type(rule.columnType);
    switch (rule.size) {
    case ColumnSize::None:
        break;
    case ColumnSize::Length:
        type += "(" + std::to_string(field.size) + ")";
        break;
    case ColumnSize::PrecisionScale:
        type += "(" + std::to_string(field.precision) + "," + std::to_string(field.scale) + ")";
        break;
    }
    return type;
}

std::string keyPrefixLength(const shell::DesignField& field) {
    switch (columnRule(field).keyPrefix) {
    case KeyPrefix::None:
        return {};
    case KeyPrefix::FieldSize:
        return std::to_string(field.size);
    case KeyPrefix::LongColumn:
        return std::string(kLongColumnKeyPrefix);
    }
    return {};
}

bool zeroLengthShown(const shell::DesignField& field) {
    return columnRule(field).nullability == Nullability::FromZeroLength && field.allowZeroLength;
}

bool createdNotNull(const shell::DesignField& field) {
    switch (columnRule(field).nullability) {
    case Nullability::NotNull:
        return true;
    case Nullability::FromZeroLength:
        return !field.allowZeroLength;
    case Nullability::AlwaysNull:
        return false;
    case Nullability::FromRequired:
        return field.required;
    }
    return true;
}

} // namespace kavero::source
