// The real Access files of the shared test data, by format version, and helpers to load or
// damage them. Tests skip when the test data folder is absent.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "jet/format.h"

namespace kavero::testing {

struct RealFile {
    std::string folder; // jet3, jet4, ace, other
    std::string name;
    jet::Version version;

    std::string path() const { return std::string(KAVERO_TESTDATA_DIR) + "/" + folder + "/" + name; }
    friend void PrintTo(const RealFile& f, std::ostream* os) { *os << f.folder << "/" << f.name; }
};

inline bool haveTestdata() { return std::filesystem::is_directory(KAVERO_TESTDATA_DIR); }

#define KAVERO_REQUIRE_TESTDATA()                                                                     \
    do {                                                                                              \
        if (!::kavero::testing::haveTestdata()) GTEST_SKIP() << "no testdata at " KAVERO_TESTDATA_DIR; \
    } while (0)

// Every readable file, with the version its folder stands for.
inline std::vector<RealFile> readableFiles() {
    using jet::Version;
    return {
        {"jet3", "charsetGBK.mdb", Version::Jet3},        {"jet3", "compIndexTestV1997.mdb", Version::Jet3},
        {"jet3", "delColTestV1997.mdb", Version::Jet3},   {"jet3", "indexTestV1997.mdb", Version::Jet3},
        {"jet3", "overflowTestV1997.mdb", Version::Jet3}, {"jet3", "test2V1997.mdb", Version::Jet3},
        {"jet3", "testV1997.mdb", Version::Jet3},         {"jet4", "accessLike.mdb", Version::Jet4},
        {"jet4", "bigIndexTestV2003.mdb", Version::Jet4}, {"jet4", "compIndexTestV2003.mdb", Version::Jet4},
        {"jet4", "delColTestV2003.mdb", Version::Jet4},   {"jet4", "fixedNumericTestV2003.mdb", Version::Jet4},
        {"jet4", "functionsV2000.mdb", Version::Jet4},    {"jet4", "indexTestV2003.mdb", Version::Jet4},
        {"jet4", "overflowTestV2003.mdb", Version::Jet4}, {"jet4", "pivot.mdb", Version::Jet4},
        {"jet4", "test2V2003.mdb", Version::Jet4},        {"jet4", "testUnicodeCompV2003.mdb", Version::Jet4},
        {"jet4", "testV2003.mdb", Version::Jet4},         {"other", "V2003_with-password.mdb", Version::Jet4},
        {"ace", "bigint.accdb", Version::Ace},            {"ace", "currency.accdb", Version::Ace},
        {"ace", "githubIssue16.accdb", Version::Ace},     {"ace", "longtext.accdb", Version::Ace},
        {"ace", "testV2010.accdb", Version::Ace},
    };
}

// The same base test database in each version, for facts that hold in all three.
inline std::vector<RealFile> baseTestFiles() {
    return {{"jet3", "testV1997.mdb", jet::Version::Jet3},
            {"jet4", "testV2003.mdb", jet::Version::Jet4},
            {"ace", "testV2010.accdb", jet::Version::Ace}};
}

inline std::string testdataPath(const std::string& relative) { return std::string(KAVERO_TESTDATA_DIR) + "/" + relative; }

inline std::vector<std::byte> readImage(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::byte> bytes(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i) bytes[i] = static_cast<std::byte>(chars[i]);
    return bytes;
}

} // namespace kavero::testing
