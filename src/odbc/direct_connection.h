// The connection the direct conversion runs its statements on: to a data source by name, or
// through a whole connect text, with timeouts so that no driver call waits for ever.
#pragma once

#include <string>

#include "odbc/handles.h"

namespace kavero::odbc {

struct DirectLogin {
    // A data source name, or a whole connect text (anything holding "=", such as
    // "DRIVER=MariaDB;SERVER=db.example;PORT=3306"), which must not hold the password.
    std::string dataSource;
    // Each is left out when empty, so the data source's own setting applies.
    std::string database;
    std::string user;
    std::string password;
};

// 15 s to reach the server and log in, which a server across the world manages easily.
// 120 s for one statement: the table script and single-row INSERTs take far less, and a DROP
// waiting on another session's lock would otherwise wait out lock_wait_timeout (a day).
inline constexpr Timeouts kDirectTimeouts{15, 120};

// An open connection together with the environment it was made in.
class DirectConnection {
public:
    DirectConnection(std::string_view connectText, Timeouts timeouts);

    Connection& connection() { return m_connection; }

private:
    Environment m_environment; // declared first: it must outlive the connection
    Connection m_connection;
};

// Connects as `login` says. The connect text gets CHARSET=utf8mb4, so text outside Latin-1
// survives, and the timeouts both as ODBC attributes and as MariaDB Connector/ODBC options
// (CONN_TIMEOUT, READ_TIMEOUT, WRITE_TIMEOUT; the driver ignores the attributes before 3.1.18)
// — each only where neither the connect text nor the data source sets it already. Database,
// user and password follow a given connect text, so with MariaDB's driver, which takes the
// last of repeated keys, the login's values win.
// Throws Error with every diagnostic record of the failure, and without a driver call for a
// connect text that holds PWD or PASSWORD.
DirectConnection OpenDirectConnection(const DirectLogin& login, Timeouts timeouts = kDirectTimeouts);

// The connect text OpenDirectConnection uses, which holds the password when one is given;
// throws Error as it does for a connect text holding one.
std::string directConnectText(const DirectLogin& login, Timeouts timeouts = kDirectTimeouts);

} // namespace kavero::odbc
