// The "To file" command: preconditions, the script, quoting and line ends as the user chose,
// and the script page with the text selected.
#include "script/to_file_command.h"

#include <string>
#include <utility>

#include "kavero/version.h"
#include "script/create_sql_table_create.h"
#include "script/detail/replace_all.h"
#include "shell/conversion_inputs.h"

namespace kavero::script {

namespace {

void focusOn(shell::frmMain& form, shell::TextBox& box) {
    for (const shell::ControlEntry& entry : form.controls()) {
        if (auto* textBox = entry.as<shell::TextBox>()) textBox->hasFocus = false;
    }
    box.hasFocus = true;
}

} // namespace

std::string terminatorFor(std::string_view boxText) {
    if (boxText == "CR") return "\r";
    if (boxText == "CrLf") return "\r\n";
    return std::string(boxText);
}

shell::CommandResult convertToFile(shell::frmMain& form, shell::UserInterface& ui) {
    const std::string missing = shell::CheckConversionInputs(form, true, false, false);
    if (!missing.empty()) {
        ui.messageBox(missing, kProductName, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
        return shell::CommandResult::stopped(shell::StopReason::MissingInputs, missing);
    }

    // Without the allow-spaces box the names go out bare; defaults keep their characters.
    const source::NameQuoting quoting =
        form.eAllowFieldNamesIwthSpace.checked() ? source::NameQuoting::Backquoted : source::NameQuoting::Bare;
    std::string script;
    try {
        script = CreateSQLtablecreate(form, false, quoting);
    } catch (const ScriptError& e) {
        // An earlier table's script must not stay in the box as if it were this one's.
        form.eScriptOutPut.text.clear();
        ui.messageBox(e.description(), kScriptFailedTitle, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
        return shell::CommandResult::stopped(shell::StopReason::NothingToCreate, e.description());
    }

    std::string& output = form.eScriptOutPut.text;
    output = std::move(script);
    detail::replaceAll(output, "\r\n", terminatorFor(form.eSQLTerminator.text));

    ui.messageBox(kScriptCreatedMessage, kProductName, shell::MessageIcon::Information, shell::MessageButtons::Ok);
    form.eTabControl.tab = shell::kTabScriptOutput;
    focusOn(form, form.eScriptOutPut);
    form.eScriptOutPut.selectAll();
    return shell::CommandResult::done();
}

} // namespace kavero::script
