// What the benchmarks share: the benchmark table cut to a size, and a port that answers every
// question with Yes and shows nothing else.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "jet/writer/database_writer.h"
#include "jet/writer/fixtures.h"
#include "shell/user_interface.h"

namespace kavero::bench {

// A port that answers every question with Yes and prints only the failures it is shown.
class YesInterface : public shell::UserInterface {
public:
    shell::MessageAnswer messageBox(std::string_view text, std::string_view, shell::MessageIcon icon,
                                    shell::MessageButtons buttons) override {
        if (buttons == shell::MessageButtons::YesNo) return shell::MessageAnswer::Yes;
        if (icon == shell::MessageIcon::Information) return shell::MessageAnswer::Ok;
        std::fprintf(stderr, "box: %.*s\n", static_cast<int>(text.size()), text.data());
        return shell::MessageAnswer::Ok;
    }
    std::optional<std::string> openFileDialog(const shell::FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFileDialog(const shell::FileDialogRequest&) override { return {}; }
    void setBusy(bool) override {}
    void yield() override {}
    void beep() override {}
    shell::StartResult startProgram(const std::string&, const std::vector<std::string>&) override {
        return shell::StartResult::NotFound;
    }
};

// The benchmark table cut to its first `records` records, written through the fixture writer
// into the work folder.
inline std::string tableFile(long records, const std::filesystem::path& work) {
    jet::writer::Database db = jet::writer::fixture("bench").build();
    jet::writer::Table& table = db.tables.front();
    if (static_cast<std::size_t>(records) > table.rowCount()) {
        std::fprintf(stderr, "bench_copy: the benchmark table has %zu records\n", table.rowCount());
        std::exit(2);
    }
    table.generatedRows = static_cast<std::size_t>(records) - table.rows.size();
    const std::filesystem::path file = work / ("bench_" + std::to_string(records) + ".mdb");
    if (!std::filesystem::exists(file)) jet::writer::writeDatabase(db, file);
    return file.string();
}

} // namespace kavero::bench
