// The record copy loop.
#include "odbc/copy_records.h"

#include <chrono>
#include <optional>

#include "odbc/check_records.h"
#include "odbc/error_text.h"
#include "odbc/fast_copy.h"
#include "odbc/server_warnings.h"
#include "shell/show_status.h"
#include "source/record_statement.h"

namespace kavero::odbc {

namespace {

std::string recordLine(std::string_view start, std::int64_t record, const DiagnosticRecord& diagnostic) {
    return std::string(start) + std::to_string(record) + ": " + std::to_string(diagnostic.nativeError) + " " +
           serverText(diagnostic.message);
}

// Every line of a text, each as a status line that does not move the bar.
void postLines(shell::StatusChannel& channel, const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        if (end > start) channel.showStatus(std::string_view(text).substr(start, end - start), false, false, 0, true);
        start = end + 1;
    }
}

std::int32_t barTotal(std::int64_t total) {
    return total > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(total);
}

// One INSERT per record, each committed on its own, with a status line per record.
SentRecords copyRecordByRecord(Connection& connection, const CopyRequest& request,
                               const std::vector<source::CopiedField>& fields, const std::string& head, bool strict,
                               shell::StatusChannel& channel, CopyCounters& counters) {
    // One statement handle for every record, and SHOW WARNINGS only where the server could
    // have changed a value instead of refusing it: each costs a round trip per record.
    Statement insert(connection);
    SentRecords sent;
    std::int64_t& record = sent.records;
    try {
        source::AccessDatabase database(request.databasePath, request.readOptions);
        const std::int64_t total = request.total;
        counters.total = total;
        channel.showStatus("Copying " + std::to_string(total) + " records in total", false, true, barTotal(total));

        source::Recordset records = database.openRecordset(request.design.name);
        shell::ProgressPacer pacer(channel, total);
        for (; !records.eof(); records.moveNext()) {
            pacer.update(record);
            if (channel.stopRequested()) {
                channel.showStatus(shell::stoppedByUserLine(counters.copied, total), true);
                return sent;
            }
            ++record;
            counters.read = record;
            const std::string statement = head + source::BuildValuesClause(fields, records.values());
            channel.showStatus("Copying record no. " + std::to_string(record));
            postChangedValues(channel, record, fields, records.values());
            try {
                insert.execute(statement);
            } catch (const Error& error) {
                ++counters.rejected;
                sent.rejected.push_back(record);
                postRejectedRecord(channel, record, error);
                continue;
            }
            ++counters.copied;
            if (strict) continue;
            for (const DiagnosticRecord& warning : serverWarnings(connection)) {
                channel.showStatus(recordLine(kChangedRecordLine, record, warning), false, false, 0, true);
            }
        }
        pacer.post(record);
    } catch (const source::EngineError& error) {
        // The Access file is damaged past this record: the rest cannot be read, and saying so
        // is the last thing the copy does.
        channel.showStatus("Error reading the record after record no. " + std::to_string(record) + ": " +
                               error.boxText(),
                           false, false, 0, true);
        channel.showStatus("The copy ended early: the Access file could not be read to its end", true);
        return sent;
    }
    sent.finished = true;
    return sent;
}

} // namespace

void postChangedValues(shell::StatusChannel& channel, std::int64_t record,
                       const std::vector<source::CopiedField>& fields, const std::vector<jet::Value>& values) {
    for (const std::string& change : source::changedValues(fields, values))
        channel.showStatus(std::string(kChangedRecordLine) + std::to_string(record) + ": " + change, false, false, 0,
                           true);
}

void CopyRecordsDirectly(const CopyRequest& request, shell::StatusChannel& channel, CopyCounters& counters) {
    const auto started = std::chrono::steady_clock::now();
    std::optional<DirectConnection> direct;
    try {
        direct.emplace(OpenDirectConnection(request.login));
    } catch (const Error& error) {
        postLines(channel, connectionFailureText(request.login.dataSource, error));
        channel.showStatus("No record was copied: the connection could not be opened", true);
        return;
    }
    Connection& connection = direct->connection();
    if (shell::isLossless(request.design)) {
        try {
            connection.execute(std::string(source::kKeepZeroAutoNumbers));
        } catch (const Error& error) {
            postLines(channel, error.what());
            channel.showStatus("No record was copied: the session could not be set to keep AutoNumber values", true);
            return;
        }
    }
    const bool strict = sessionIsStrict(connection);

    const std::vector<source::CopiedField> fields = source::copiedFields(request.design);
    // The script just made the table with backquoted names, so the statements name it the
    // same way: a reserved word such as Order must not make every record fail.
    const std::string head =
        source::BuildInsertHeader(request.design.name, fields, source::NameQuoting::Backquoted) + " ";

    SentRecords sent = request.fast.enabled
                           ? CopyInChunks(connection, request, fields, head, strict, channel, counters)
                           : copyRecordByRecord(connection, request, fields, head, strict, channel, counters);
    if (!sent.finished) return;
    counters.finished = true;
    channel.showStatus("Finished copy");
    CheckCounts check;
    if (request.check) {
        check = CheckCopiedRecords(
            connection,
            {request.databasePath, request.readOptions, request.design, std::move(sent.rejected), request.total},
            channel, counters);
        counters.checkComplete = check.complete;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    channel.showStatus(
        summaryLine(sent.records, counters.copied, counters.rejected, check.verified, check.complete, seconds), true);
}

} // namespace kavero::odbc
