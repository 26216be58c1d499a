// Filling the PHP templates. Every value taken from the user or the records stands in the PHP
// code as base64 in single quotes; the rest are numbers, page names and the run's hex digits.
#include "publish/php_page_writer.h"

#include <array>
#include <fstream>

#include "publish/page_templates.h"
#include "publish/page_text.h"
#include "source/record_statement.h"

namespace kavero::publish {

namespace {

constexpr const char* kEndCopyPage = "endcopy.php";

std::string copyPageName(std::int64_t number) {
    return "startcopy" + std::to_string(number) + ".php";
}

// `bytes` random bytes as hexadecimal digits. std::random_device may be a seeded engine, so
// the key comes from the system's source directly.
std::string randomHex(std::size_t bytes) {
    std::array<char, 64> buffer{};
    std::ifstream source("/dev/urandom", std::ios::binary);
    if (!source.read(buffer.data(), static_cast<std::streamsize>(bytes))) {
        throw PageWriteError("The key of the pages could not be made: /dev/urandom cannot be read");
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < bytes; ++i) {
        const auto byte = static_cast<unsigned char>(buffer[i]);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

} // namespace

PhpRun newPhpRun() {
    return {randomHex(32), randomHex(8)};
}

void WritePhpSupportFiles(PageFolder& folder, const PageSettings& settings, const PhpRun& run) {
    const std::string server = base64(settings.server);
    const std::string database = base64(settings.database);
    const std::string user = base64(settings.user);
    const std::string password = base64(settings.passwordInPages ? settings.password : std::string());
    const Substitution substitutions[] = {
        {"<kavero:run>", run.id},        {"<kavero:token>", run.token}, {"<kavero:server>", server},
        {"<kavero:database>", database}, {"<kavero:user>", user},       {"<kavero:password>", password},
    };
    folder.write(std::string(kPhpConfigFile), fillTemplate(PageTemplate::PhpConfig, substitutions),
                 FileAccess::OwnerOnly);
    folder.write(std::string(kPhpCommonFile), fillTemplate(PageTemplate::PhpCommon, {}));
}

void WritePhpMainPage(PageFolder& folder, const std::string& mainPageName, const PhpRun& run) {
    const Substitution head[] = {{"<kavero:run>", run.id}};
    const Substitution frames[] = {{"<%=createbase%>", "createtable.php<?= $key ?>"},
                                   {"<%=createdata%>", "startcopy.php<?= $key ?>"}};
    folder.write(mainPageName,
                 fillTemplate(PageTemplate::PhpMainFrame, head) + fillTemplate(PageTemplate::MainFrame, frames));
}

void WritePhpCreateTablePage(PageFolder& folder, const PhpRun& run, std::string_view script) {
    const std::string encoded = base64(script);
    const Substitution substitutions[] = {{"<kavero:run>", run.id}, {"<kavero:script>", encoded}};
    folder.write("createtable.php", fillTemplate(PageTemplate::PhpLocalSubmit, substitutions));
}

std::int64_t WritePhpCopyPages(PageFolder& folder, const PageSettings& settings, const PhpRun& run,
                               const shell::TableDesign& design, source::AccessDatabase& database,
                               const ChangedValueSink& changed) {
    const std::vector<source::CopiedField> fields = source::copiedFields(design);
    const std::string head = source::BuildInsertHeader(design.name, fields, settings.quoting) + " ";
    const auto total = static_cast<std::int64_t>(database.recordCount(design.name));
    const std::string records = std::to_string(total);
    {
        const std::string first = total > 0 ? copyPageName(1) : kEndCopyPage;
        const Substitution substitutions[] = {
            {"<kavero:run>", run.id},
            {"<kavero:firstpage>", first},
            {"<kavero:total>", records},
        };
        folder.write("startcopy.php", fillTemplate(PageTemplate::PhpStatCopy, substitutions));
    }

    // Lossless pages keep an AutoNumber 0 as the direct copy does; a session that cannot be set
    // so copies nothing, every record showing why.
    std::string session;
    if (shell::isLossless(design)) {
        session = "if ($pdo !== null && ($connectError = kavero_run($pdo, null, base64_decode('" +
                  base64(std::string(source::kKeepZeroAutoNumbers)) + "'))) !== null) $pdo = null;\n";
    }
    std::int64_t page = 1;
    std::int64_t read = 0;
    std::string batch;
    source::Recordset set = database.openRecordset(design.name);
    while (!set.eof()) {
        batch += "    '" + base64(head + source::BuildValuesClause(fields, set.values())) + "',\n";
        ++read;
        if (changed)
            for (const std::string& change : source::changedValues(fields, set.values())) changed(read, change);
        set.moveNext();
        if (read % settings.recordsPerPage != 0 && !set.eof()) continue;
        const std::string reached = std::to_string(read);
        const std::string next = set.eof() ? kEndCopyPage : copyPageName(page + 1);
        const Substitution substitutions[] = {
            {"<kavero:run>", run.id},    {"<kavero:statements>", batch}, {"<kavero:reached>", reached},
            {"<kavero:total>", records}, {"<kavero:next>", next},        {"<kavero:session>", session},
        };
        folder.write(copyPageName(page), fillTemplate(PageTemplate::PhpCopyData, substitutions));
        ++page;
        batch.clear();
    }

    const std::string query = base64("SELECT * From " + source::quoteName(design.name, settings.quoting));
    std::string names;
    for (const source::CopiedField& field : fields) names += "'" + base64(field.name) + "', ";
    const Substitution substitutions[] = {
        {"<kavero:run>", run.id}, {"<kavero:query>", query}, {"<kavero:fields>", names}};
    folder.write(kEndCopyPage, fillTemplate(PageTemplate::PhpResultFinishCopy, substitutions));
    return total;
}

bool isPhpPage(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string start(kPhpPageMark.size(), '\0');
    return in.read(start.data(), static_cast<std::streamsize>(start.size())) && start == kPhpPageMark;
}

} // namespace kavero::publish
