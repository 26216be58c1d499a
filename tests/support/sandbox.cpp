// Parses the sandbox's environment file (lines of the form export KEY='value').
#include "support/sandbox.h"

#include <cstdlib>
#include <fstream>
#include <map>

#include "odbc/connect_text.h"

namespace kavero::testing {

bool runningUnderCi() {
    const char* ci = std::getenv("CI");
    return ci && std::string(ci) == "true";
}

std::string SandboxInfo::connectText(const std::string& databaseName) const {
    return odbc::buildConnectText({{"DSN", dsn},
                                   {"UID", user},
                                   {"PWD", password},
                                   {"DATABASE", databaseName.empty() ? database : databaseName}});
}

std::optional<SandboxInfo> findSandbox(std::string& whyNot) {
    const char* dir = std::getenv("KAVERO_SANDBOX_DIR");
    if (!dir || !*dir) {
        whyNot = "KAVERO_SANDBOX_DIR is not set; run the tests through ctest or start scripts/sandbox.sh";
        return std::nullopt;
    }
    const std::string path = std::string(dir) + "/env";
    std::ifstream in(path);
    if (!in) {
        whyNot = "no MariaDB sandbox running (no " + path + "); start it with scripts/sandbox.sh start";
        return std::nullopt;
    }
    std::map<std::string, std::string> values;
    std::string line;
    while (std::getline(in, line)) {
        const std::string prefix = "export ";
        if (line.rfind(prefix, 0) != 0) continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string value = line.substr(eq + 1);
        if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') value = value.substr(1, value.size() - 2);
        values[line.substr(prefix.size(), eq - prefix.size())] = value;
    }
    for (const char* key : {"ODBCSYSINI", "ODBCINI", "KAVERO_TEST_DSN"}) {
        if (values[key].empty()) {
            whyNot = path + " lacks " + key;
            return std::nullopt;
        }
    }
    setenv("ODBCSYSINI", values["ODBCSYSINI"].c_str(), 1);
    setenv("ODBCINI", values["ODBCINI"].c_str(), 1);
    return SandboxInfo{values["KAVERO_TEST_DSN"],      values["KAVERO_TEST_USER"], values["KAVERO_TEST_PASSWORD"],
                       values["KAVERO_TEST_DATABASE"], values["KAVERO_TEST_PORT"], values["KAVERO_TEST_SOCKET"]};
}

} // namespace kavero::testing
