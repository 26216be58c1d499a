// The direct connection against the sandbox server: what each kind of failure reports,
// passwords that need braces, a typed connect text, and timeouts that end a silent server and
// a statement that runs too long.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "odbc/direct_connection.h"
#include "odbc/error_text.h"
#include "support/sandbox.h"

namespace {

using kavero::odbc::DirectLogin;
using kavero::odbc::Error;
using kavero::odbc::OpenDirectConnection;
using kavero::testing::SandboxInfo;

// The driver as the sandbox's odbcinst.ini names it.
const std::string kDriver = "DRIVER=MariaDB;SERVER=127.0.0.1;PORT=";

std::string firstValue(kavero::odbc::Connection& connection, const std::string& sql) {
    kavero::odbc::Statement statement(connection);
    statement.execute(sql);
    if (!statement.fetch()) return "(no row)";
    return statement.text(1).value_or("NULL");
}

// The failure of a connection that must not open, or a test failure saying it opened.
Error connectFailure(const DirectLogin& login, kavero::odbc::Timeouts timeouts = kavero::odbc::kDirectTimeouts) {
    try {
        OpenDirectConnection(login, timeouts);
    } catch (const Error& e) {
        return e;
    }
    ADD_FAILURE() << "connected to " << login.dataSource;
    return Error({}, {});
}

// A TCP socket on 127.0.0.1 that takes connections (the kernel completes them for the
// backlog) and never says a word. Closed with the object.
class SilentServer {
public:
    SilentServer() : m_socket(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(m_socket, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(m_socket, 4) != 0 ||
            getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            ADD_FAILURE() << "could not open a listening socket";
        }
        m_port = ntohs(address.sin_port);
    }
    ~SilentServer() { close(m_socket); }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    std::string port() const { return std::to_string(m_port); }

private:
    int m_socket;
    int m_port = 0;
};

TEST(DirectConnection, EachFaultEndsInTheDriversOwnError) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    const std::string wrongPassword = "not-" + sandbox.password;
    const Error denied = connectFailure({sandbox.dsn, sandbox.database, sandbox.user, wrongPassword});
    EXPECT_EQ(denied.sqlstate(), "28000");
    EXPECT_EQ(denied.nativeError(), 1045);
    const std::string text = kavero::odbc::connectionFailureText(sandbox.dsn, denied);
    EXPECT_EQ(text.rfind("ODBC--connection to '" + sandbox.dsn + "' failed.\r\nError number: 1045\r", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(text.find(wrongPassword), std::string::npos) << "the password is in the error text";

    const Error noSource = connectFailure({"kavero_no_such_source", sandbox.database, sandbox.user, sandbox.password});
    EXPECT_EQ(noSource.sqlstate(), "IM002");

    const Error noDatabase = connectFailure({sandbox.dsn, "kt_no_such_database", sandbox.user, sandbox.password});
    EXPECT_EQ(noDatabase.nativeError(), 1049);

    // A port nobody listens on: one the system just handed out and took back.
    std::string freePort;
    {
        const SilentServer closedSoon;
        freePort = closedSoon.port();
    }
    const Error refused = connectFailure({kDriver + freePort, sandbox.database, sandbox.user, sandbox.password});
    EXPECT_EQ(refused.nativeError(), 2002);

    // The password belongs in its own field, never in a connect text that may be shown.
    for (const std::string key : {"PWD", "pwd", "Password"}) {
        const Error refusedText =
            connectFailure({kDriver + sandbox.port + ";" + key + "=x", sandbox.database, sandbox.user, ""});
        EXPECT_EQ(refusedText.nativeError(), 0) << key;
        EXPECT_NE(std::string(refusedText.what()).find("PWD="), std::string::npos) << key;
    }
}

TEST(DirectConnection, PasswordWithConnectTextCharactersGetsThrough) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    const std::string password = "x;{y}}=z}";
    {
        auto admin = OpenDirectConnection({sandbox.dsn, "", sandbox.user, sandbox.password});
        try {
            admin.connection().execute("DROP USER IF EXISTS 'kt_brace'@'127.0.0.1'");
            admin.connection().execute("CREATE USER 'kt_brace'@'127.0.0.1' IDENTIFIED BY '" + password + "'");
        } catch (const Error& e) {
            // The server's message might quote the statement, so only its number is shown.
            FAIL() << "could not create the test user: error " << e.nativeError();
        }
    }
    {
        // A database every user may enter: the test user has no rights elsewhere.
        auto connection = OpenDirectConnection({sandbox.dsn, "information_schema", "kt_brace", password});
        EXPECT_EQ(firstValue(connection.connection(), "SELECT CURRENT_USER()"), "kt_brace@127.0.0.1");
    }
    auto admin = OpenDirectConnection({sandbox.dsn, "", sandbox.user, sandbox.password});
    admin.connection().execute("DROP USER 'kt_brace'@'127.0.0.1'");
}

TEST(DirectConnection, CharacterSetAndTimeoutsAreAddedWhereNothingSetsThem) {
    KAVERO_REQUIRE_SANDBOX(sandbox); // its data source sets CHARSET and nothing else of these
    using kavero::odbc::directConnectText;
    const kavero::odbc::Timeouts timeouts{.loginSeconds = 3, .statementSeconds = 7};
    EXPECT_EQ(directConnectText({sandbox.dsn, "shop", "anna", ""}, timeouts),
              "DSN=" + sandbox.dsn + ";DATABASE=shop;UID=anna;CONN_TIMEOUT=3;READ_TIMEOUT=7;WRITE_TIMEOUT=7");
    EXPECT_EQ(directConnectText({"DRIVER={Any driver};SERVER=db.example;", "", "", ""}, timeouts),
              "DRIVER={Any driver};SERVER=db.example;CHARSET=utf8mb4;CONN_TIMEOUT=3;READ_TIMEOUT=7;WRITE_TIMEOUT=7");
    EXPECT_EQ(directConnectText({"odbc;DSN=" + sandbox.dsn + ";Read_Timeout=30", "shop", "", ""}, timeouts),
              "DSN=" + sandbox.dsn + ";Read_Timeout=30;DATABASE=shop;CONN_TIMEOUT=3;WRITE_TIMEOUT=7");
    EXPECT_EQ(directConnectText({"DRIVER=x;charset=latin1;CONN_TIMEOUT=1", "", "", ""}, {}),
              "DRIVER=x;charset=latin1;CONN_TIMEOUT=1");

    // A typed connect text in the Access engine's form reaches the server, its choice kept.
    auto connection = OpenDirectConnection(
        {"ODBC;" + kDriver + sandbox.port + ";charset=latin1", sandbox.database, sandbox.user, sandbox.password});
    EXPECT_EQ(firstValue(connection.connection(), "SELECT @@character_set_client"), "latin1");
    EXPECT_EQ(firstValue(connection.connection(), "SELECT DATABASE()"), sandbox.database);
}

TEST(DirectConnection, TimeoutsEndASilentServerAndAStatementThatRunsTooLong) {
    KAVERO_REQUIRE_SANDBOX(sandbox);
    const SilentServer silent;
    const Error lost = connectFailure({kDriver + silent.port(), sandbox.database, sandbox.user, sandbox.password},
                                      {.loginSeconds = 1, .statementSeconds = 1});
    EXPECT_EQ(lost.nativeError(), 2013); // lost connection while waiting for the server's greeting

    auto connection = OpenDirectConnection({sandbox.dsn, sandbox.database, sandbox.user, sandbox.password},
                                           {.loginSeconds = 5, .statementSeconds = 1});
    try {
        connection.connection().execute("DO SLEEP(60)");
        ADD_FAILURE() << "the statement ran to its end";
    } catch (const Error& e) {
        EXPECT_EQ(e.nativeError(), 2013);
    }
}

} // namespace
