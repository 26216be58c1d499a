// Finds the MariaDB sandbox that the test run started and makes its ODBC data source usable
// from this process. Outside CI a missing server skips the test; under CI=true it fails it.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kavero::testing {

struct SandboxInfo {
    std::string dsn;
    std::string user;
    std::string password;
    std::string database;
    std::string port;
    std::string socket;

    // A connect text for the data source, optionally naming another database.
    std::string connectText(const std::string& databaseName = {}) const;
};

// Reads $KAVERO_SANDBOX_DIR/env and exports ODBCSYSINI and ODBCINI. Empty with a reason in
// `whyNot` when no sandbox is running.
std::optional<SandboxInfo> findSandbox(std::string& whyNot);

bool runningUnderCi();

} // namespace kavero::testing

// Use at the top of a test body: binds `name` to the sandbox, or skips (fails under CI).
#define KAVERO_REQUIRE_SANDBOX(name)                                                  \
    std::string name##WhyNot;                                                         \
    const auto name##Found = ::kavero::testing::findSandbox(name##WhyNot);            \
    if (!name##Found) {                                                               \
        if (::kavero::testing::runningUnderCi()) FAIL() << name##WhyNot;              \
        GTEST_SKIP() << name##WhyNot;                                                 \
    }                                                                                 \
    const ::kavero::testing::SandboxInfo& name = *name##Found
