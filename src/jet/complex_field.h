// Attachment and multi-value fields (ACE "complex" columns). The record holds only a number,
// its complex value id; the values themselves are rows of a hidden "flat" table, one row per
// value, each carrying that id. MSysComplexColumns ties each such field to its flat table.
//
// The reader presents each field's flat table as a table of its own, the values table: the
// link column (the complex value id, named after the field) first, then the value columns,
// with an attachment's file data unwrapped into the file's bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "jet/catalog.h"
#include "jet/table_definition.h"

namespace kavero::jet {

struct ComplexField {
    std::string table;          // the owning table, as the catalog names it
    std::string column;         // the field
    std::int32_t complexId = 0; // MSysComplexColumns.ComplexID, also in the field's column entry
    std::uint32_t flatPage = 0; // tdef page of the flat table
    std::string flatTable;      // its catalog name (f_<GUID>_<field>)
    std::string valuesTable;    // "<table>_<field>": the name the values are listed under
};

// The name a field's values are listed under: "<table>_<field>".
std::string valuesTableName(std::string_view table, std::string_view field);

// The fields MSysComplexColumns lists whose owning and flat tables are both in `catalog`, in
// catalog order of their owners and, within one owner, in its column order. Empty when the
// file has no such table (Jet 3 and Jet 4 files as Access writes them).
std::vector<ComplexField> readComplexFields(const PageChannel& channel, const CodePageDecoder& codePage,
                                            const std::vector<CatalogEntry>& catalog);

// The values table of `field` made from its flat table's definition: the link column renamed
// after the field, then the values (an attachment's as FileName, FileType, FileData,
// FileTimeStamp, FileURL, FileFlags). The flat table's own AutoNumber key and its indexes are
// left out. Throws FormatError when the flat table has no link column.
TableDefinition valuesTableDefinition(const TableDefinition& flat, const ComplexField& field);

// The file bytes of a stored attachment: u32 encoding (0 stored, 1 zlib-deflated), u32 length
// of the content, then the content: u32 header length, header (flags, file extension), the
// file. Throws FormatError (3049) for anything else.
std::vector<std::uint8_t> decodeAttachment(std::span<const std::uint8_t> stored);

} // namespace kavero::jet
