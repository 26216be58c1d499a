// The foreign-key plan.
#include "source/foreign_keys.h"

#include <algorithm>
#include <optional>

#include "shell/ascii.h"
#include "source/table_design.h"

namespace kavero::source {

namespace {

const shell::TableDesign* findDesign(const std::vector<shell::TableDesign>& designs, const std::string& name) {
    const auto found =
        std::find_if(designs.begin(), designs.end(), [&](const shell::TableDesign& d) { return d.name == name; });
    return found != designs.end() ? &*found : nullptr;
}

const shell::DesignField* findField(const shell::TableDesign& design, const std::string& name) {
    const auto found = std::find_if(design.fields.begin(), design.fields.end(),
                                    [&](const shell::DesignField& f) { return f.name == name; });
    return found != design.fields.end() ? &*found : nullptr;
}

// A key can hold the column whole: it is created, and neither TEXT nor BLOB, which a key can
// only take a prefix of.
bool keyableWhole(const shell::DesignField& field) {
    if (!columnRule(field).listed) return false;
    const std::string type = columnType(field);
    return type.find("TEXT") == std::string::npos && type.find("BLOB") == std::string::npos;
}

// The positions in `columns` of the parent key's fields, in key order: the primary key first,
// then the unique indexes; nothing when no such key covers exactly these columns.
std::optional<std::vector<std::size_t>> uniqueKeyOrder(const shell::TableDesign& parent,
                                                       const std::vector<std::string>& columns) {
    for (const bool primaryPass : {true, false}) {
        for (const shell::DesignIndex& index : parent.indexes) {
            if (index.primary != primaryPass || !(index.primary || index.unique)) continue;
            const std::vector<IndexPart> parts = indexParts(parent, index);
            if (parts.size() != columns.size()) continue;
            std::vector<std::size_t> order;
            for (const IndexPart& part : parts) {
                const auto at = std::find(columns.begin(), columns.end(), part.field->name);
                if (at == columns.end() || !keyableWhole(*part.field)) break;
                order.push_back(static_cast<std::size_t>(at - columns.begin()));
            }
            if (order.size() == columns.size()) return order;
        }
    }
    return std::nullopt;
}

std::string cutToCharacters(const std::string& text, std::size_t characters) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (count++ == characters) return text.substr(0, i);
    }
    return text;
}

// The relationship's name within MySQL's length, without the trailing blanks MySQL refuses in
// a name, and unlike every name in `taken`; "_2", "_3", … tell apart names that come out alike.
std::string constraintName(const Relationship& relationship, std::vector<std::string>& taken) {
    std::string base =
        relationship.name.empty() ? relationship.primaryTable + relationship.foreignTable : relationship.name;
    const auto fitted = [](std::string text, std::size_t characters) {
        text = cutToCharacters(text, characters);
        while (!text.empty() && text.back() == ' ') text.pop_back();
        return text;
    };
    const auto isTaken = [&taken](const std::string& name) {
        return std::any_of(taken.begin(), taken.end(),
                           [&name](const std::string& t) { return shell::equalsIgnoringCase(t, name); });
    };
    std::string name = fitted(base, kMaxIdentifierLength);
    for (int n = 2; isTaken(name); ++n) {
        const std::string suffix = "_" + std::to_string(n);
        name = fitted(base, kMaxIdentifierLength - suffix.size()) + suffix;
    }
    taken.push_back(name);
    return name;
}

} // namespace

std::string leftOutText(const std::string& relationship, const std::string& child, const std::string& parent) {
    return "the relationship " + relationship + " (" + child + " to " + parent + ") is not created as a foreign key: ";
}

ForeignKeyPlan planForeignKeys(const std::vector<Relationship>& relationships,
                               const std::vector<shell::TableDesign>& created) {
    const auto name = [](std::string_view text) { return quoteName(text, NameQuoting::Backquoted); };
    ForeignKeyPlan plan;
    std::vector<std::string> taken;
    for (const Relationship& rel : relationships) {
        const std::string leftOut = leftOutText(rel.name, rel.foreignTable, rel.primaryTable);
        const shell::TableDesign* parent = findDesign(created, rel.primaryTable);
        const shell::TableDesign* child = findDesign(created, rel.foreignTable);
        if (parent == nullptr || child == nullptr) {
            plan.leftOut.push_back(leftOut + "the table " + (parent == nullptr ? rel.primaryTable : rel.foreignTable) +
                                   " was not created");
            continue;
        }
        const auto order = uniqueKeyOrder(*parent, rel.primaryColumns);
        if (!order) {
            plan.leftOut.push_back(leftOut + "its fields in " + rel.primaryTable +
                                   " are not the whole of a primary key or unique index there");
            continue;
        }
        const bool childKeyable = std::all_of(rel.foreignColumns.begin(), rel.foreignColumns.end(), [&](const auto& c) {
            const shell::DesignField* field = findField(*child, c);
            return field != nullptr && keyableWhole(*field);
        });
        if (!childKeyable) {
            plan.leftOut.push_back(leftOut + "its fields in " + rel.foreignTable + " cannot be a key whole");
            continue;
        }

        ForeignKey key;
        key.relationship = rel.name;
        key.childTable = rel.foreignTable;
        key.parentTable = rel.primaryTable;
        key.constraintName = constraintName(rel, taken);
        std::string childColumns, parentColumns, complete, matches;
        for (std::size_t i = 0; i < order->size(); ++i) {
            const std::string& c = rel.foreignColumns[(*order)[i]];
            const std::string& p = rel.primaryColumns[(*order)[i]];
            const std::string separator = i > 0 ? ", " : "";
            childColumns += separator + name(c);
            parentColumns += separator + name(p);
            // A key with a Null part refers to nothing, and the server does not check it.
            complete += " AND c." + name(c) + " IS NOT NULL";
            matches += (i > 0 ? " AND p." : "p.") + name(p) + " = c." + name(c);
        }
        key.statement = "ALTER TABLE " + name(rel.foreignTable) + " ADD CONSTRAINT " + name(key.constraintName) +
                        " FOREIGN KEY (" + childColumns + ") REFERENCES " + name(rel.primaryTable) + " (" +
                        parentColumns + ")";
        if (rel.cascadeDeletes) key.statement += " ON DELETE CASCADE";
        if (rel.cascadeUpdates) key.statement += " ON UPDATE CASCADE";
        key.orphanQuery = "SELECT COUNT(*) FROM " + name(rel.foreignTable) + " AS c WHERE" + complete.substr(4) +
                          " AND NOT EXISTS (SELECT 1 FROM " + name(rel.primaryTable) + " AS p WHERE " + matches + ")";
        plan.keys.push_back(std::move(key));
    }
    return plan;
}

} // namespace kavero::source
