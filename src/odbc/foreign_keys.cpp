// Foreign keys on the server.
#include "odbc/foreign_keys.h"

#include <optional>
#include <utility>

#include "odbc/error_text.h"

namespace kavero::odbc {

namespace {

// Statements that fail on the server's side of a healthy connection: the key and its data,
// not the link, are at fault (SQLSTATE class 08 is a connection failure).
bool connectionLost(const Error& error) {
    return error.sqlstate().starts_with("08") || error.nativeError() == 2006 || error.nativeError() == 2013;
}

std::string refusal(const Error& error) {
    return std::to_string(error.nativeError()) + " " +
           serverText(error.records().empty() ? error.what() : error.records()[0].message);
}

// The storage engine of a table that holds no foreign key by the name just added, or nothing
// when the key is there. MyISAM and Aria take a FOREIGN KEY clause without a word and keep
// nothing, so a key is counted only once the server lists it.
std::optional<std::string> engineWithoutKey(Connection& connection, const source::ForeignKey& key) {
    Statement query(connection);
    query.execute("SELECT t.ENGINE, (SELECT COUNT(*) FROM information_schema.REFERENTIAL_CONSTRAINTS r "
                  "WHERE r.CONSTRAINT_SCHEMA = t.TABLE_SCHEMA AND r.TABLE_NAME = t.TABLE_NAME "
                  "AND r.CONSTRAINT_NAME = ?) FROM information_schema.TABLES t "
                  "WHERE t.TABLE_SCHEMA = DATABASE() AND t.TABLE_NAME = ?",
                  {Parameter(key.constraintName), Parameter(key.childTable)});
    if (!query.fetch()) return "unknown";
    std::string engine = query.text(1).value_or("unknown");
    if (query.integer(2).value_or(0) > 0) return std::nullopt;
    return engine;
}

} // namespace

void dropForeignKeysBetween(Connection& connection, const std::vector<std::string>& tables) {
    if (tables.empty()) return;
    std::string list;
    std::vector<Parameter> parameters;
    for (const std::string& table : tables) {
        list += list.empty() ? "?" : ", ?";
        parameters.emplace_back(table);
    }
    std::vector<Parameter> both = parameters;
    both.insert(both.end(), parameters.begin(), parameters.end());
    std::vector<std::pair<std::string, std::string>> found;
    {
        Statement query(connection);
        query.execute("SELECT TABLE_NAME, CONSTRAINT_NAME FROM information_schema.REFERENTIAL_CONSTRAINTS "
                      "WHERE CONSTRAINT_SCHEMA = DATABASE() AND TABLE_NAME IN (" +
                          list + ") AND REFERENCED_TABLE_NAME IN (" + list + ")",
                      both);
        while (query.fetch()) {
            std::string table = query.text(1).value_or("");
            found.emplace_back(std::move(table), query.text(2).value_or(""));
        }
    }
    for (const auto& [table, constraint] : found) {
        connection.execute("ALTER TABLE " + source::quoteName(table) + " DROP FOREIGN KEY " +
                           source::quoteName(constraint));
    }
}

std::vector<ForeignKeyOutcome> addForeignKeys(Connection& connection, const std::vector<source::ForeignKey>& keys) {
    std::vector<ForeignKeyOutcome> outcomes;
    for (const source::ForeignKey& key : keys) {
        ForeignKeyOutcome outcome;
        outcome.relationship = key.relationship;
        try {
            {
                Statement query(connection);
                query.execute(key.orphanQuery);
                if (query.fetch()) outcome.orphans = query.integer(1).value_or(0);
            }
            if (outcome.orphans == 0) {
                connection.execute(key.statement);
                outcome.ignoringEngine = engineWithoutKey(connection, key).value_or("");
                outcome.added = outcome.ignoringEngine.empty();
            }
        } catch (const Error& error) {
            if (connectionLost(error)) throw;
            outcome.error = refusal(error);
        }
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

std::string outcomeText(const source::ForeignKey& key, const ForeignKeyOutcome& outcome) {
    if (outcome.added) return {};
    std::string text = source::leftOutText(key.relationship, key.childTable, key.parentTable);
    if (outcome.orphans > 0) {
        text += std::to_string(outcome.orphans) + (outcome.orphans == 1 ? " record" : " records") + " of " +
                key.childTable + (outcome.orphans == 1 ? " refers" : " refer") + " to no record of " + key.parentTable;
    } else if (!outcome.ignoringEngine.empty()) {
        text += "the server did not keep it: " + key.childTable + " is stored with " + outcome.ignoringEngine +
                ", which keeps no foreign keys";
    } else {
        text += "the server refused it: " + outcome.error;
    }
    return text;
}

} // namespace kavero::odbc
