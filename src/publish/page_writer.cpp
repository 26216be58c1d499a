// Filling the templates into the page set.
#include "publish/page_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "publish/page_templates.h"
#include "publish/page_text.h"
#include "source/record_statement.h"

namespace kavero::publish {

namespace {

namespace fs = std::filesystem;

constexpr const char* kCreateTablePage = "createtable.asp";
constexpr const char* kStartCopyPage = "startcopy.asp";
constexpr const char* kEndCopyPage = "endcopy.asp";

std::string copyPageName(std::int64_t number) {
    return "startcopy" + std::to_string(number) + ".asp";
}

std::string passwordType(const PageSettings& settings, std::string_view shown) {
    return settings.passwordInPages ? std::string(shown) : "password";
}

std::string passwordValue(const PageSettings& settings) {
    return settings.passwordInPages ? settings.password : std::string();
}

// "?ip=5&tr=12&sc=2&s=…&d=…&u=…&p=…" of a page of the copy chain. Without the password in the
// pages, the page passes on the one it was opened with.
std::string chainQuery(const PageSettings& settings, std::int64_t total, std::int64_t page) {
    std::string query = "?ip=" + std::to_string(settings.recordsPerPage) + "&tr=" + std::to_string(total) +
                        "&sc=" + std::to_string(page) + "&s=" + urlEncode(settings.server) +
                        "&d=" + urlEncode(settings.database) + "&u=" + urlEncode(settings.user) + "&p=";
    query += settings.passwordInPages ? urlEncode(settings.password)
                                      : std::string(R"(<%=Server.URLEncode(Request.QueryString("p"))%>)");
    return query;
}

// The page's statement list: StrArray(1)="…" to StrArray(k)="…", one per line.
void appendBatchLine(std::string& batch, int position, std::string_view statement) {
    batch += "StrArray(";
    batch += std::to_string(position);
    batch += ")=\"";
    appendVbStringBody(batch, statement);
    batch += "\"\r\n";
}

void writeStartCopyPage(PageFolder& folder, const PageSettings& settings, std::int64_t total) {
    const std::string first = total > 0 ? "startcopy1.asp" : kEndCopyPage;
    const std::string records = std::to_string(total);
    const std::string perPage = std::to_string(settings.recordsPerPage);
    const std::string firstNumber = total > 0 ? "1" : "0";
    const std::string server = htmlEscape(settings.server);
    const std::string database = htmlEscape(settings.database);
    const std::string user = htmlEscape(settings.user);
    const std::string password = htmlEscape(passwordValue(settings));
    const std::string type = passwordType(settings, "hidden");
    const Substitution substitutions[] = {
        {R"(<%=firstpage%>)", first},
        {R"(<%=passwordtype%>)", type},
        {R"(<%=request.querystring("s")%>)", server},
        {R"(<%=request.querystring("d")%>)", database},
        {R"(<%=request.querystring("u")%>)", user},
        {R"(<%=request.querystring("p")%>)", password},
        {R"(<%=request.querystring("tr")%>)", records},
        {R"(<%=request.querystring("ip")%>)", perPage},
        {R"(<%=request.querystring("sc")%>)", firstNumber},
    };
    folder.write(kStartCopyPage, fillTemplate(PageTemplate::StatCopy, substitutions));
}

// Lossless pages keep an AutoNumber 0 as the direct copy does: the session says so before the
// first record. When it cannot, the connection is closed, so that no record goes in renumbered.
std::string sessionLines(const shell::TableDesign& design) {
    if (!shell::isLossless(design)) return {};
    return "If number = 0 Then\r\n  conn.Execute \"" + vbStringBody(source::kKeepZeroAutoNumbers) +
           "\"\r\n  number = Err.Number\r\n  description = Err.Description\r\n  If number <> 0 Then conn.Close\r\n"
           "End If\r\n";
}

void writeCopyPage(PageFolder& folder, const PageSettings& settings, const shell::TableDesign& design,
                   std::int64_t number, const std::string& batch, const std::string& next) {
    const std::string array = "redim StrArray(" + std::to_string(settings.recordsPerPage) + ")";
    const std::string session = sessionLines(design);
    const Substitution substitutions[] = {
        {"<strings>", batch},
        {"<kavero:session>", session},
        {"<globalarray>", array},
        {"<%=nexpage%>", next},
    };
    folder.write(copyPageName(number), fillTemplate(PageTemplate::CopyData, substitutions));
}

void writeEndCopyPage(PageFolder& folder, const PageSettings& settings, const shell::TableDesign& design,
                      const std::vector<source::CopiedField>& fields) {
    const std::string query = vbStringBody("SELECT * From " + source::quoteName(design.name, settings.quoting));
    std::string lines;
    for (const source::CopiedField& field : fields) {
        lines += "      response.write Server.HTMLEncode(rs(\"" + vbStringBody(field.name) + "\") & \"\")\r\n";
        lines += "      response.write \", \"\r\n";
    }
    const Substitution substitutions[] = {
        {"<sqlstr>", query},
        {"<fields>", lines},
    };
    folder.write(kEndCopyPage, fillTemplate(PageTemplate::ResultFinishCopy, substitutions));
}

// A file only its owner can read, also when one of that name was there before: the old one is
// emptied and closed to others before the text goes in. A link in its place is refused.
bool writeOwnerOnly(const fs::path& path, std::string_view text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0600) == 0;
    std::string all(text);
    all += '\n';
    for (std::size_t done = 0; ok && done < all.size();) {
        const ssize_t n = ::write(fd, all.data() + done, all.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    const int cause = errno;
    const bool closed = ::close(fd) == 0;
    if (!ok) errno = cause; // the write's reason, not the close's
    return ok && closed;
}

} // namespace

std::string_view pageExtension(PageFlavour flavour) {
    return flavour == PageFlavour::Php ? ".php" : ".asp";
}

PageFolder::PageFolder(fs::path folder, WrittenSink written)
    : m_folder(std::move(folder)), m_written(std::move(written)) {}

void PageFolder::write(const std::string& name, std::string_view text, FileAccess access) {
    const fs::path path = m_folder / name;
    errno = 0;
    bool ok = false;
    if (access == FileAccess::OwnerOnly) {
        ok = writeOwnerOnly(path, text);
    } else {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        if (file) {
            file.write(text.data(), static_cast<std::streamsize>(text.size()));
            file.put('\n');
            file.close();
        }
        ok = static_cast<bool>(file);
    }
    if (!ok) {
        const int cause = errno;
        throw PageWriteError("The page " + path.string() + " could not be written" +
                             (cause != 0 ? ": " + std::string(std::strerror(cause)) : std::string()));
    }
    if (m_written) m_written(path);
}

void WriteMainFramePage(PageFolder& folder, const std::string& mainPageName) {
    const Substitution substitutions[] = {
        {"<%=createbase%>", kCreateTablePage},
        {"<%=createdata%>", kStartCopyPage},
    };
    folder.write(mainPageName, fillTemplate(PageTemplate::MainFrame, substitutions));
}

void WriteCreateTablePage(PageFolder& folder, const PageSettings& settings, std::string_view script) {
    const std::string server = htmlEscape(settings.server);
    const std::string database = htmlEscape(settings.database);
    const std::string user = htmlEscape(settings.user);
    const std::string password = htmlEscape(passwordValue(settings));
    const std::string type = passwordType(settings, "text");
    const std::string query = htmlEscape(script);
    const Substitution substitutions[] = {
        {R"(<%=passwordtype%>)", type},          {R"(<%=request.form("s")%>)", server},
        {R"(<%=request.form("d")%>)", database}, {R"(<%=request.form("u")%>)", user},
        {R"(<%=request.form("p")%>)", password}, {R"(<%=request.form("q")%>)", query},
    };
    folder.write(kCreateTablePage, fillTemplate(PageTemplate::LocalSubmit, substitutions));
}

std::int64_t WriteCopyPages(PageFolder& folder, const PageSettings& settings, const shell::TableDesign& design,
                            source::AccessDatabase& database, const ChangedValueSink& changed) {
    const std::vector<source::CopiedField> fields = source::copiedFields(design);
    const std::string head = source::BuildInsertHeader(design.name, fields, settings.quoting) + " ";
    // Every address carries the total, so the records are counted first (without decoding them).
    const auto total = static_cast<std::int64_t>(database.recordCount(design.name));
    writeStartCopyPage(folder, settings, total);

    std::int64_t page = 1;
    std::int64_t record = 0;
    int position = 0;
    std::string batch;
    std::string statement;
    source::Recordset set = database.openRecordset(design.name);
    while (!set.eof()) {
        statement = head;
        statement += source::BuildValuesClause(fields, set.values());
        ++record;
        if (changed)
            for (const std::string& change : source::changedValues(fields, set.values())) changed(record, change);
        appendBatchLine(batch, ++position, statement);
        set.moveNext();
        if (position < settings.recordsPerPage && !set.eof()) continue;
        const std::string next = set.eof() ? kEndCopyPage + chainQuery(settings, total, page)
                                           : copyPageName(page + 1) + chainQuery(settings, total, page + 1);
        writeCopyPage(folder, settings, design, page, batch, next);
        ++page;
        position = 0;
        batch.clear();
    }
    writeEndCopyPage(folder, settings, design, fields);
    return total;
}

} // namespace kavero::publish
