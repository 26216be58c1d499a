// MSysComplexColumns, the values tables made from flat tables, and attachment unwrapping.
#include "jet/complex_field.h"

#include <algorithm>
#include <array>
#include <map>

#include <zlib.h>

#include "jet/byte_view.h"
#include "jet/record_cursor.h"
#include "shell/ascii.h"

namespace kavero::jet {

namespace {

constexpr std::string_view kComplexColumnsTable = "MSysComplexColumns";

std::size_t columnIndex(const TableDefinition& def, std::string_view name) {
    for (std::size_t i = 0; i < def.columns.size(); ++i) {
        if (shell::equalsIgnoringCase(def.columns[i].name, name)) return i;
    }
    throw FormatError(ErrorCode::Corrupt, "table '" + def.name + "' has no column '" + std::string(name) + "'");
}

// The columns an attachment's flat table holds besides its key and link, in the order the
// values table lists them.
constexpr std::array<std::string_view, 6> kAttachmentColumns = {"FileName",      "FileType", "FileData",
                                                                "FileTimeStamp", "FileURL",  "FileFlags"};

bool isAttachmentColumn(std::string_view name) {
    return std::any_of(kAttachmentColumns.begin(), kAttachmentColumns.end(),
                       [&](std::string_view known) { return shell::equalsIgnoringCase(known, name); });
}

bool isAutoNumber(const Column& c) {
    return (c.flags & kColumnAutoLong) != 0;
}

// Access names the link "_<field>"; a flat table written otherwise links through its first
// Long that is neither the AutoNumber key nor an attachment's own FileFlags.
std::size_t linkColumn(const TableDefinition& flat, const ComplexField& field) {
    for (std::size_t i = 0; i < flat.columns.size(); ++i) {
        const Column& c = flat.columns[i];
        if (c.type == kTypeLong && !isAutoNumber(c) && shell::equalsIgnoringCase(c.name, "_" + field.column)) return i;
    }
    for (std::size_t i = 0; i < flat.columns.size(); ++i) {
        const Column& c = flat.columns[i];
        if (c.type == kTypeLong && !isAutoNumber(c) && !isAttachmentColumn(c.name)) return i;
    }
    throw FormatError(ErrorCode::Corrupt, "the values table '" + flat.name + "' of field '" + field.column +
                                              "' of table '" + field.table + "' has no link column");
}

// The little-endian u32 at `at`, read through the checked view; the callers have made sure
// the bytes are there.
std::uint32_t u32At(std::span<const std::uint8_t> bytes, std::size_t at) {
    return ByteView(std::as_bytes(bytes), ByteView::kNoPage, 0).u32(at);
}

[[noreturn]] void badAttachment(const std::string& why) {
    throw FormatError(ErrorCode::Corrupt, "attachment data: " + why);
}

// Inflates a zlib stream that must give exactly `expected` bytes; the output grows as the
// stream delivers, so a damaged length cannot ask for memory the data does not fill.
std::vector<std::uint8_t> inflateExactly(std::span<const std::uint8_t> input, std::uint32_t expected) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) badAttachment("the decompressor could not start");
    std::vector<std::uint8_t> out;
    constexpr std::size_t kChunk = 64 * 1024;
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.avail_in = static_cast<uInt>(input.size());
    int status = Z_OK;
    while (status == Z_OK) {
        const std::size_t had = out.size();
        out.resize(had + kChunk);
        stream.next_out = out.data() + had;
        stream.avail_out = static_cast<uInt>(kChunk);
        status = inflate(&stream, Z_NO_FLUSH);
        out.resize(had + kChunk - stream.avail_out);
        if (out.size() > expected) status = Z_BUF_ERROR;
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END) badAttachment("the compressed content is damaged or longer than its length says");
    if (out.size() != expected) {
        badAttachment("the content inflates to " + std::to_string(out.size()) + " bytes, its length says " +
                      std::to_string(expected));
    }
    return out;
}

} // namespace

std::string valuesTableName(std::string_view table, std::string_view field) {
    return std::string(table) + "_" + std::string(field);
}

std::vector<ComplexField> readComplexFields(const PageChannel& channel, const CodePageDecoder& codePage,
                                            const std::vector<CatalogEntry>& catalog) {
    const auto found = std::find_if(catalog.begin(), catalog.end(),
                                    [](const CatalogEntry& e) { return e.name == kComplexColumnsTable; });
    if (found == catalog.end()) return {};
    const TableDefinition def = TableDefinition::read(channel, found->tdefPage, found->name, codePage);
    const std::size_t nameAt = columnIndex(def, "ColumnName");
    const std::size_t idAt = columnIndex(def, "ComplexID");
    const std::size_t ownerAt = columnIndex(def, "ConceptualTableID");
    const std::size_t flatAt = columnIndex(def, "FlatTableID");
    std::map<std::uint32_t, std::size_t> byPage;
    for (std::size_t i = 0; i < catalog.size(); ++i) byPage.emplace(catalog[i].tdefPage, i);

    struct Found {
        ComplexField field;
        std::size_t owner;
    };
    std::vector<Found> fields;
    RecordCursor cursor(channel, def, codePage);
    std::vector<Value> row;
    while (cursor.next(row)) {
        const auto* column = std::get_if<Text>(&row[nameAt]);
        const auto id = wholeNumber(row[idAt]);
        const auto ownerId = wholeNumber(row[ownerAt]);
        const auto flatId = wholeNumber(row[flatAt]);
        if (column == nullptr || !id || !ownerId || !flatId) continue;
        const auto owner = byPage.find(static_cast<std::uint32_t>(*ownerId) & kObjectIdPageMask);
        const auto flat = byPage.find(static_cast<std::uint32_t>(*flatId) & kObjectIdPageMask);
        // A row whose tables are gone describes nothing that can still be read.
        if (owner == byPage.end() || flat == byPage.end()) continue;
        ComplexField field;
        field.table = catalog[owner->second].name;
        field.column = column->utf8;
        field.complexId = static_cast<std::int32_t>(*id);
        field.flatPage = catalog[flat->second].tdefPage;
        field.flatTable = catalog[flat->second].name;
        field.valuesTable = valuesTableName(field.table, field.column);
        fields.push_back({std::move(field), owner->second});
    }

    // Within one owner, the order of its columns.
    std::map<std::size_t, TableDefinition> owners;
    const auto position = [&](const Found& f) -> std::size_t {
        auto it = owners.find(f.owner);
        if (it == owners.end()) {
            it = owners
                     .emplace(f.owner,
                              TableDefinition::read(channel, catalog[f.owner].tdefPage, f.field.table, codePage))
                     .first;
        }
        const std::vector<Column>& columns = it->second.columns;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].type == kTypeComplex && columns[i].complexId == f.field.complexId) return i;
        }
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (shell::equalsIgnoringCase(columns[i].name, f.field.column)) return i;
        }
        return columns.size();
    };
    std::vector<std::pair<std::pair<std::size_t, std::size_t>, ComplexField>> ordered;
    for (Found& f : fields) ordered.push_back({{f.owner, position(f)}, std::move(f.field)});
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<ComplexField> out;
    for (auto& [key, field] : ordered) out.push_back(std::move(field));
    return out;
}

TableDefinition valuesTableDefinition(const TableDefinition& flat, const ComplexField& field) {
    TableDefinition values = flat;
    values.name = field.valuesTable;
    values.columns.clear();
    values.indexes.clear();
    values.relationships.clear();

    const std::size_t link = linkColumn(flat, field);
    Column linkColumn = flat.columns[link];
    linkColumn.name = field.column;
    values.columns.push_back(linkColumn);

    std::vector<std::size_t> rest;
    for (std::size_t i = 0; i < flat.columns.size(); ++i) {
        if (i != link && !isAutoNumber(flat.columns[i])) rest.push_back(i);
    }
    const auto named = [&](std::string_view name) {
        return std::find_if(rest.begin(), rest.end(),
                            [&](std::size_t i) { return shell::equalsIgnoringCase(flat.columns[i].name, name); });
    };
    const bool attachments = std::all_of(kAttachmentColumns.begin(), kAttachmentColumns.end(),
                                         [&](std::string_view name) { return named(name) != rest.end(); });
    if (attachments) {
        for (std::string_view name : kAttachmentColumns) {
            const auto at = named(name);
            Column c = flat.columns[*at];
            c.attachmentData = name == "FileData" && c.type == kTypeOle;
            values.columns.push_back(c);
            rest.erase(at);
        }
    }
    // A multi-value field's one value, or whatever else a flat table holds, in stored order.
    for (std::size_t i : rest) values.columns.push_back(flat.columns[i]);
    return values;
}

std::vector<std::uint8_t> decodeAttachment(std::span<const std::uint8_t> stored) {
    constexpr std::size_t kWrapperSize = 8;
    constexpr std::uint32_t kStored = 0;
    constexpr std::uint32_t kDeflated = 1;
    if (stored.size() < kWrapperSize)
        badAttachment(std::to_string(stored.size()) + " bytes, too short for its wrapper");
    const std::uint32_t encoding = u32At(stored, 0);
    const std::uint32_t length = u32At(stored, 4);
    const std::span<const std::uint8_t> body = stored.subspan(kWrapperSize);
    std::vector<std::uint8_t> inflated;
    std::span<const std::uint8_t> content;
    if (encoding == kStored) {
        if (length > body.size()) {
            badAttachment("the content is " + std::to_string(body.size()) + " bytes, its length says " +
                          std::to_string(length));
        }
        content = body.first(length);
    } else if (encoding == kDeflated) {
        inflated = inflateExactly(body, length);
        content = inflated;
    } else {
        badAttachment("unknown encoding " + std::to_string(encoding));
    }
    if (content.size() < 4) badAttachment("the content has no header");
    const std::uint32_t header = u32At(content, 0);
    if (header < 4 || header > content.size()) {
        badAttachment("a header of " + std::to_string(header) + " bytes in " + std::to_string(content.size()));
    }
    const std::span<const std::uint8_t> file = content.subspan(header);
    return {file.begin(), file.end()};
}

} // namespace kavero::jet
