// The direct conversion command.
#include "app/direct_command.h"

#include <optional>

#include "kavero/version.h"
#include "odbc/check_records.h"
#include "odbc/error_text.h"
#include "odbc/execute_table_script.h"
#include "script/create_sql_table_create.h"
#include "shell/conversion_inputs.h"

namespace kavero::app {

namespace {

odbc::DirectLogin loginFrom(const shell::frmMain& form) {
    const std::string* source = form.cboDSNList.selectedItem();
    return {source != nullptr ? *source : form.cboDSNList.text, form.eMySqlDatabase.text, form.eMySqlusername.text,
            form.eMySqlpassword.text};
}

// The script on the server; the error text of every failed statement, or of the connection.
std::string runScript(const odbc::DirectLogin& login, const std::string& script) {
    try {
        odbc::DirectConnection direct = odbc::OpenDirectConnection(login);
        return odbc::ExecuteTableScript(direct.connection(), script).errorText();
    } catch (const odbc::Error& error) {
        return odbc::connectionFailureText(login.dataSource, error);
    }
}

// Reads every record once, so that a damaged file is reported before the server is touched,
// not after half the table has been copied; gives the number of records, the copy's total.
std::int64_t readToTheEnd(const shell::frmMain& form, const source::ReadOptions& options) {
    return source::readEveryRecord(form.eFilename.text, options, form.design.name);
}

// A second run while one is in progress is refused.
std::optional<shell::CommandResult> refuseWhileWorking(shell::UserInterface& ui, const shell::ProgressHost& progress) {
    if (!progress.working()) return std::nullopt;
    const std::string text = "A copy is still running; wait for it to finish or stop it first.";
    ui.messageBox(text, kProductName, shell::MessageIcon::Exclamation, shell::MessageButtons::Ok);
    return shell::CommandResult::stopped(shell::StopReason::None, text);
}

} // namespace

shell::CommandResult convertDirectly(shell::frmMain& form, shell::UserInterface& ui, shell::ProgressHost& progress,
                                     const source::ReadOptions& options, std::shared_ptr<odbc::CopyCounters> counters,
                                     odbc::FastCopyOptions fast) {
    const std::string missing = shell::CheckConversionInputs(form, false, false, true);
    if (!missing.empty()) {
        ui.messageBox(missing, kProductName, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
        return shell::CommandResult::stopped(shell::StopReason::MissingInputs, missing);
    }
    if (const auto busy = refuseWhileWorking(ui, progress)) return *busy;

    ui.setBusy(true);
    std::int64_t records = 0;
    try {
        form.eScriptOutPut.text = script::CreateSQLtablecreate(form, true);
        if (form.eCopyDirectlyAlsoData.checked()) records = readToTheEnd(form, options);
    } catch (const script::ScriptError& e) {
        ui.setBusy(false);
        ui.messageBox(e.description(), kProductName, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
        return shell::CommandResult::stopped(shell::StopReason::NothingToCreate, e.description());
    } catch (const source::EngineError& e) {
        ui.setBusy(false);
        ui.messageBox(e.boxText(), "Error on reading the records, on eConvertDirectly", shell::MessageIcon::Critical,
                      shell::MessageButtons::Ok);
        return shell::CommandResult::failed(e);
    }

    const odbc::DirectLogin login = loginFrom(form);
    std::string message;
    shell::CommandResult result;
    if (ui.messageBox(kDirectConfirmation, kProductName, shell::MessageIcon::Information,
                      shell::MessageButtons::YesNo) == shell::MessageAnswer::Yes) {
        message = runScript(login, form.eScriptOutPut.text);
        if (!message.empty()) result = {shell::Outcome::Failed, shell::StopReason::None, 0, message, {}};
    } else {
        message = std::string(kDirectCanceled);
        result = shell::CommandResult::stopped(shell::StopReason::None, message);
    }
    ui.setBusy(false);
    if (!message.empty()) {
        ui.messageBox(message, kProductName, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
        return result;
    }

    std::int32_t one = 1;
    progress.showStatus("Your database design is now moved to " + login.dataSource, false, true, one, false);
    if (!form.eCopyDirectlyAlsoData.checked()) {
        progress.showStatus("Finished moving " + login.dataSource, true, false, one, false);
        return result;
    }
    odbc::CopyRequest request{login,   form.eFilename.text,     options,        form.design,
                              records, form.eCheckCopy.checked, std::move(fast)};
    request.fast.enabled = form.eFastCopy.checked;
    if (!counters) counters = std::make_shared<odbc::CopyCounters>();
    progress.startWork([request = std::move(request), counters](shell::StatusChannel& channel) {
        odbc::CopyRecordsDirectly(request, channel, *counters);
    });
    return result;
}

shell::CommandResult verifyCopiedTable(shell::frmMain& form, shell::UserInterface& ui, shell::ProgressHost& progress,
                                       const source::ReadOptions& options,
                                       std::shared_ptr<odbc::CopyCounters> counters) {
    const std::string missing = shell::CheckConversionInputs(form, false, false, true);
    if (!missing.empty()) {
        ui.messageBox(missing, kProductName, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
        return shell::CommandResult::stopped(shell::StopReason::MissingInputs, missing);
    }
    if (const auto busy = refuseWhileWorking(ui, progress)) return *busy;
    odbc::CheckRequest request{form.eFilename.text, options, form.design, {}, 0};
    try {
        request.total = readToTheEnd(form, options);
    } catch (const source::EngineError& e) {
        ui.messageBox(e.boxText(), "Error on reading the records, on eConvertDirectly", shell::MessageIcon::Critical,
                      shell::MessageButtons::Ok);
        return shell::CommandResult::failed(e);
    }
    const odbc::DirectLogin login = loginFrom(form);
    if (!counters) counters = std::make_shared<odbc::CopyCounters>();
    counters->total = request.total;
    std::int32_t one = 1;
    progress.showStatus("Checking the table " + form.design.name + " on " + login.dataSource, false, true, one, false);
    progress.startWork([login, request = std::move(request), counters](shell::StatusChannel& channel) {
        odbc::CheckCopiedTable(login, request, channel, *counters);
    });
    return shell::CommandResult::done();
}

} // namespace kavero::app
