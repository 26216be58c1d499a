// Access relationships as MySQL foreign keys on the lossless tables: which relationships the
// created tables can hold, the statement that adds each, and the query that finds the records
// that would break it. Added after every table is created and filled, so that the order of
// the tables and of their records does not matter.
#pragma once

#include <string>
#include <vector>

#include "shell/table_design.h"
#include "source/engine.h"
#include "source/sql_text.h"

namespace kavero::source {

using Relationship = jet::Relationship;

// MySQL's longest identifier, in characters.
inline constexpr std::size_t kMaxIdentifierLength = 64;

struct ForeignKey {
    std::string relationship; // the Access name
    std::string childTable;   // the foreign side
    std::string parentTable;  // the side whose key is referred to
    std::string constraintName;
    // ALTER TABLE child ADD CONSTRAINT name FOREIGN KEY (…) REFERENCES parent (…) [ON …]
    std::string statement;
    // One row, one column: the child records whose key is complete but has no parent record.
    std::string orphanQuery;
};

struct ForeignKeyPlan {
    std::vector<ForeignKey> keys;
    // A sentence for each relationship the created tables cannot hold, naming it and why.
    std::vector<std::string> leftOut;
};

// The start of the sentence for a relationship left out: "the relationship R (child to parent)
// is not created as a foreign key: ", to which the reason is added.
std::string leftOutText(const std::string& relationship, const std::string& child, const std::string& parent);

// The foreign keys for `relationships` between the tables `created` (their lossless designs,
// named as in Access). A relationship is held only where both tables were created and the
// referred columns are, whole, the key of the parent's primary key or of a unique index; its
// columns then go in that key's order. Constraint names are the relationship names, cut to
// MySQL's length and made unique without regard to letter case. Names go in backquotes, as
// the lossless tables' do.
ForeignKeyPlan planForeignKeys(const std::vector<Relationship>& relationships,
                               const std::vector<shell::TableDesign>& created);

} // namespace kavero::source
