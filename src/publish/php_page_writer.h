// The page set for web hosts that run PHP 8 with PDO MySQL: the same pages, texts and chain as
// the ASP pages, but the MySQL login lives only in kavero-config.php beside them, every page
// opens only with the run's key in its address (?t=…), and the pages lock themselves once the
// copy is done.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "publish/page_writer.h"
#include "shell/table_design.h"
#include "source/engine.h"

namespace kavero::publish {

inline constexpr std::string_view kPhpConfigFile = "kavero-config.php";
inline constexpr std::string_view kPhpCommonFile = "kavero-common.php";
// The first line of every PHP file KAVERO writes begins so; it tells them from other files.
inline constexpr std::string_view kPhpPageMark = "<?php // KAVERO page set:";

// One publish run: the key the pages open with, and the run's id, which ties the pages to the
// configuration written with them.
struct PhpRun {
    std::string token; // 64 hexadecimal digits
    std::string id;    // 16 hexadecimal digits
};

// A new run from the system's random source (/dev/urandom); PageWriteError when it cannot be read.
PhpRun newPhpRun();

// kavero-config.php (readable by its owner only: it holds the password unless the settings
// leave it out) and kavero-common.php.
void WritePhpSupportFiles(PageFolder& folder, const PageSettings& settings, const PhpRun& run);
// The frame set under the name the user chose (which ends in ".php").
void WritePhpMainPage(PageFolder& folder, const std::string& mainPageName, const PhpRun& run);
// createtable.php with the one-line table script.
void WritePhpCreateTablePage(PageFolder& folder, const PhpRun& run, std::string_view script);
// startcopy.php, the copy pages and endcopy.php, as WriteCopyPages does for the ASP pages.
std::int64_t WritePhpCopyPages(PageFolder& folder, const PageSettings& settings, const PhpRun& run,
                               const shell::TableDesign& design, source::AccessDatabase& database,
                               const ChangedValueSink& changed = {});

// Whether the file is one KAVERO wrote for PHP (it begins with kPhpPageMark).
bool isPhpPage(const std::filesystem::path& file);

} // namespace kavero::publish
