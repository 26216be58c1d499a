// Running the independent readers and reading what they print: one JSON object per record.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavero::jet::writer::test {

// One cell as a reader printed it.
struct Cell {
    enum class Kind { Null, String, Number, Bool, Binary };
    Kind kind = Kind::Null;
    std::string text; // String: the decoded text; Number: the token as printed
    bool flag = false;
    std::vector<std::uint8_t> bytes; // Binary: the decoded bytes
    bool operator==(const Cell&) const = default;
};
std::string describe(const Cell& cell);

using Record = std::vector<std::pair<std::string, Cell>>; // in printed order

// Parses one printed record; throws std::runtime_error on malformed JSON.
Record parseRecord(const std::string& line);

struct CommandResult {
    int status = -1;
    std::string out;
};
// Runs argv[0] with the arguments (no shell interpretation of their content) and keeps stdout.
CommandResult run(const std::vector<std::string>& argv);
std::vector<std::string> lines(const std::string& text);
bool haveProgram(const std::string& name);

} // namespace kavero::jet::writer::test
