// Builds the connect text from the login. Values are braced where they need it, so a
// password holding ";" or "}" reaches the driver whole.
#include "odbc/direct_connection.h"

#include <odbcinst.h>

#include "odbc/connect_text.h"
#include "shell/ascii.h"

namespace kavero::odbc {
namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

const std::string* findValue(const Attributes& attributes, std::string_view key) {
    // The driver takes the last of repeated keys.
    for (auto it = attributes.rbegin(); it != attributes.rend(); ++it) {
        if (shell::equalsIgnoringCase(it->first, key)) return &it->second;
    }
    return nullptr;
}

// Whether the data source's entry in odbc.ini (the user's or the system's, as the driver
// reads it) gives `key` a value; unixODBC matches section and key without regard to case.
bool dataSourceSets(const std::string& dataSource, const char* key) {
    char value[256] = {};
    return SQLGetPrivateProfileString(dataSource.c_str(), key, "", value, sizeof value, "odbc.ini") > 0;
}

} // namespace

DirectConnection::DirectConnection(std::string_view connectText, Timeouts timeouts)
    : m_connection(m_environment, connectText, timeouts) {}

std::string directConnectText(const DirectLogin& login, Timeouts timeouts) {
    std::string text;
    std::string dataSource; // the data source whose settings the driver reads, if any
    if (login.dataSource.find('=') != std::string::npos) {
        const Attributes given = parseConnectText(login.dataSource);
        if (findValue(given, "PWD") || findValue(given, "PASSWORD")) {
            throw Error({{"HY000", 0, "The connect text must not hold the password (PWD=): enter it in its own field"}},
                        {});
        }
        // With DRIVER the driver reads no data source, even when DSN is given too.
        const std::string* dsn = findValue(given, "DSN");
        if (dsn && !findValue(given, "DRIVER")) dataSource = *dsn;
        text = login.dataSource;
        // The Access engine's form of a connect text starts with "ODBC;", which unixODBC
        // 2.3.11 does not understand (it reports IM002).
        if (text.size() >= 5 && shell::equalsIgnoringCase(std::string_view(text).substr(0, 5), "ODBC;"))
            text.erase(0, 5);
        while (!text.empty() && (text.back() == ';' || text.back() == ' ')) text.pop_back();
    } else {
        dataSource = login.dataSource;
        text = "DSN=" + quoteConnectValue(login.dataSource);
    }
    const Attributes given = parseConnectText(text);

    Attributes added;
    if (!login.database.empty()) added.emplace_back("DATABASE", login.database);
    if (!login.user.empty()) added.emplace_back("UID", login.user);
    if (!login.password.empty()) added.emplace_back("PWD", login.password);
    const auto addUnlessSet = [&](const char* key, std::string value) {
        if (findValue(given, key) || (!dataSource.empty() && dataSourceSets(dataSource, key))) return;
        added.emplace_back(key, std::move(value));
    };
    addUnlessSet("CHARSET", "utf8mb4");
    // The driver's own options. CONN_TIMEOUT bounds the TCP connect and the wait for the
    // server's greeting; READ_TIMEOUT and WRITE_TIMEOUT every later exchange.
    if (timeouts.loginSeconds > 0) addUnlessSet("CONN_TIMEOUT", std::to_string(timeouts.loginSeconds));
    if (timeouts.statementSeconds > 0) {
        addUnlessSet("READ_TIMEOUT", std::to_string(timeouts.statementSeconds));
        addUnlessSet("WRITE_TIMEOUT", std::to_string(timeouts.statementSeconds));
    }
    if (!added.empty()) text += ';' + buildConnectText(added);
    return text;
}

DirectConnection OpenDirectConnection(const DirectLogin& login, Timeouts timeouts) {
    return DirectConnection(directConnectText(login, timeouts), timeouts);
}

} // namespace kavero::odbc
