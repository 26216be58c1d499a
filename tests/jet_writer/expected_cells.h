// What each reader should print for a value the writer was given, including the known
// faults of each reader, so a difference always means the file is wrong.
#pragma once

#include <optional>
#include <string>

#include "jet/writer/description.h"
#include "reader_output.h"

namespace kavero::jet::writer::test {

// The true calendar text of a Jet date: "YYYY-MM-DD HH:MM:SS", seconds rounded.
std::string dateText(double days);
// Currency as exact text with four decimals.
std::string currencyText(std::int64_t tenThousandths);

// npm mdb-reader through tests/oracle/mdb_reader_dump.mjs. Known fault kept: dates before
// 1899-12-30 with a time part are computed linearly. A Complex cell here is its number; the
// oracle expands an attachment field instead (mdbReaderAttachments).
Cell mdbReaderCell(const Column& column, const Value& value);

// The attachments of record `id` of the attachment field `field` as the oracle prints them:
// JSON of name, type, the file's bytes (unwrapped by our reader's decoder), then URL, time
// stamp and flags where set. `flat` is the field's flat table.
Cell mdbReaderAttachments(const Table& flat, const Column& field, std::int64_t id);

// mdbtools' mdb-json with -D/-T "%Y-%m-%d %H:%M:%S". Known faults kept: empty text and
// Null are both left out; Binary and text stop at the first zero byte; characters outside the
// Basic Multilingual Plane become "??"; dates outside 1899-12-30 .. about 4637 print as
// 1900-01-00 00:00:00; floating point is printed with %.8g / %.16g; GUIDs as binary text without their last dash;
// Date/Time Extended values are left out (no decoder for type 0x14).
// nullopt: the key is absent.
std::optional<Cell> mdbJsonCell(const Column& column, const Value& value);

// Our own reader through `kavero-cli dump`: the true value of every cell, no known faults.
Cell kaveroCell(const Column& column, const Value& value);

// Whether two cells agree: exact, except numbers that are compared as the type's value.
bool sameCell(const Column& column, const Cell& expected, const Cell& actual);

} // namespace kavero::jet::writer::test
