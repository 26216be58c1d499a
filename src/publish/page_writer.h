// The page writers: the main page and createtable.asp, which create the table, and the copy
// chain (startcopy.asp, startcopy1.asp, …, endcopy.asp), which carries the records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "shell/numbered_error.h"
#include "shell/table_design.h"
#include "source/engine.h"
#include "source/sql_text.h"

namespace kavero::publish {

inline constexpr int kDefaultRecordsPerPage = 5;
// Enough for a page of a few megabytes at most; a page must stay something a web server runs.
inline constexpr int kMaxRecordsPerPage = 10000;

// A page that could not be written: 75, the runtime's "path/file access error"; the
// description names the file and the system's reason.
class PageWriteError : public shell::NumberedError {
public:
    explicit PageWriteError(const std::string& description) : NumberedError(75, description) {}
};

// Which server runs the pages: classic ASP (VBScript, ADO and the MySQL ODBC driver), or
// PHP 8 with PDO MySQL.
enum class PageFlavour { Asp, Php };

// ".asp" or ".php": the extension of every page of the flavour.
std::string_view pageExtension(PageFlavour flavour);

// What every page needs: the MySQL login at the web host, how names are quoted, and how many
// records go on one copy page.
struct PageSettings {
    std::string server;
    std::string database;
    std::string user;
    std::string password;
    // Off: the pages hold no password; the forms ask for it and the copy chain passes on what
    // the start page was given.
    bool passwordInPages = true;
    int recordsPerPage = kDefaultRecordsPerPage;
    source::NameQuoting quoting = source::NameQuoting::Backquoted;
    PageFlavour flavour = PageFlavour::Asp;
};

// Who may read a written file: anyone the folder lets, or its owner alone (a file that holds
// the password).
enum class FileAccess { Shared, OwnerOnly };

// The output folder. Each page replaces any file of its name; `written` hears of every page.
class PageFolder {
public:
    using WrittenSink = std::function<void(const std::filesystem::path&)>;
    explicit PageFolder(std::filesystem::path folder, WrittenSink written = {});

    const std::filesystem::path& path() const { return m_folder; }
    // Writes the page text and one line break; PageWriteError when the file cannot be written.
    void write(const std::string& name, std::string_view text, FileAccess access = FileAccess::Shared);

private:
    std::filesystem::path m_folder;
    WrittenSink m_written;
};

// The frame set: createtable.asp above, startcopy.asp below, under the name the user chose.
void WriteMainFramePage(PageFolder& folder, const std::string& mainPageName);
// createtable.asp, its form filled with the login and the one-line table script.
void WriteCreateTablePage(PageFolder& folder, const PageSettings& settings, std::string_view script);

// Hears of each value a page sends other than as read (an extended date cut to the
// microsecond): the record's number and what became of the value.
using ChangedValueSink = std::function<void(std::int64_t record, const std::string& change)>;

// startcopy.asp, the copy pages of `settings.recordsPerPage` records each and endcopy.asp, for
// every record of the design's table, read as a stream so memory does not grow with the table.
// Gives the number of records. EngineError when the file cannot be read.
std::int64_t WriteCopyPages(PageFolder& folder, const PageSettings& settings, const shell::TableDesign& design,
                            source::AccessDatabase& database, const ChangedValueSink& changed = {});

} // namespace kavero::publish
