// The foreign keys of a lossless copy on the server: the ones a former copy left between the
// tables about to be created again are dropped first, since they would stop the DROP TABLE of
// a parent; after the copy each planned key is added where the records hold it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "odbc/handles.h"
#include "source/foreign_keys.h"

namespace kavero::odbc {

// Drops every foreign key of the connection's database that goes from one of `tables` to
// another of them. Throws Error when the server refuses.
void dropForeignKeysBetween(Connection& connection, const std::vector<std::string>& tables);

struct ForeignKeyOutcome {
    std::string relationship;
    bool added = false;
    std::int64_t orphans = 0;   // child records whose key has no parent record
    std::string error;          // "1005 …" when the server refused the key for another reason
    std::string ignoringEngine; // "MyISAM" when the server took the statement but keeps no key
};

// Counts each key's orphans first and adds the key only when there are none; a key counts as
// added only once the server lists it. One refused key does not stop the others. Throws Error only when the connection
// itself fails.
std::vector<ForeignKeyOutcome> addForeignKeys(Connection& connection, const std::vector<source::ForeignKey>& keys);

// "the relationship R (Child to Parent) is not created as a foreign key: 3 records of Child
// refer to no record of Parent"; empty for an added key.
std::string outcomeText(const source::ForeignKey& key, const ForeignKeyOutcome& outcome);

} // namespace kavero::odbc
