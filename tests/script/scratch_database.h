// A database of its own for one server test, created on construction and dropped after,
// and a runner that executes a CR LF script one statement at a time.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "odbc/error.h"
#include "odbc/handles.h"
#include "support/sandbox.h"

namespace kavero::testing {

class ScratchDatabase {
public:
    ScratchDatabase(const SandboxInfo& sandbox, std::string name)
        : m_name(std::move(name)), m_admin(m_environment, sandbox.connectText()) {
        m_admin.execute("DROP DATABASE IF EXISTS `" + m_name + "`");
        m_admin.execute("CREATE DATABASE `" + m_name + "` CHARACTER SET utf8mb4");
        m_connection.emplace(m_environment, sandbox.connectText(m_name));
    }
    ~ScratchDatabase() {
        m_connection.reset();
        try {
            m_admin.execute("DROP DATABASE IF EXISTS `" + m_name + "`");
        } catch (const odbc::Error& e) {
            ADD_FAILURE() << "could not drop " << m_name << ": " << e.what();
        }
    }
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    const std::string& name() const { return m_name; }
    odbc::Connection& connection() { return *m_connection; }

    // Rows of a query, each column as text ("NULL" for a null).
    std::vector<std::vector<std::string>> rows(const std::string& sql) {
        odbc::Statement statement(*m_connection);
        statement.execute(sql);
        std::vector<std::vector<std::string>> result;
        while (statement.fetch()) {
            std::vector<std::string> row;
            for (int column = 1; column <= statement.columnCount(); ++column) {
                row.push_back(statement.text(column).value_or("NULL"));
            }
            result.push_back(std::move(row));
        }
        return result;
    }

private:
    std::string m_name;
    odbc::Environment m_environment;
    odbc::Connection m_admin;
    std::optional<odbc::Connection> m_connection;
};

struct StatementFailure {
    std::string statement;
    std::string sqlstate;
    long nativeError = 0;
    std::string message;
};

// Runs each CR LF-ended line of `script` as its own statement, going on after a failure, and
// returns every statement the server refused.
inline std::vector<StatementFailure> runScript(odbc::Connection& connection, const std::string& script) {
    std::vector<StatementFailure> failures;
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find("\r\n", start);
        if (end == std::string::npos) end = script.size();
        const std::string statement = script.substr(start, end - start);
        start = end + 2;
        if (statement.empty()) continue;
        try {
            connection.execute(statement);
        } catch (const odbc::Error& e) {
            failures.push_back({statement, e.sqlstate(), e.nativeError(), e.what()});
        }
    }
    return failures;
}

} // namespace kavero::testing
