// kavero-cli script: the table script exactly as "To file" leaves it in the script box; with
// --records followed by the statements the direct copy sends, one per record, so the output
// fed to the mariadb client moves the table without any ODBC set-up.
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/console.h"
#include "script/create_sql_table_create.h"
#include "script/to_file_command.h"
#include "shell/main_form.h"
#include "source/record_statement.h"

namespace kavero::cli {

namespace {

struct ScriptArguments {
    std::string file;
    std::string table;
    std::string keys = "key";
    std::string terminator = ";";
    bool allowSpaces = false;
    bool records = false;
    CodePageOption codePage;
};

// A line break can only stand inside a text literal; written as \r and \n it keeps the
// statement on one line, and the mariadb client, which drops a CR before a line end even
// inside a string, receives it unchanged.
void appendOnOneLine(std::string& line, std::string_view statement) {
    for (char c : statement) {
        if (c == '\r') {
            line += "\\r";
        } else if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
}

// One statement per record, each ended by ";" and a line break, streamed as read.
void writeRecordStatements(const shell::frmMain& form, const source::ReadOptions& options, Output& out) {
    const std::vector<source::CopiedField> fields = source::copiedFields(form.design);
    // Names keep their backquotes, as in the direct copy, so a reserved word stays a name.
    const std::string head = source::BuildInsertHeader(form.design.name, fields, source::NameQuoting::Backquoted) + " ";
    source::AccessDatabase database(form.eFilename.text, options);
    std::string statement;
    for (source::Recordset set = database.openRecordset(form.design.name); !set.eof() && !out.failed();
         set.moveNext()) {
        statement = head;
        appendOnOneLine(statement, source::BuildValuesClause(fields, set.values()));
        statement += ";\n";
        out.write(statement);
    }
}

int runScript(const ScriptArguments& args) {
    shell::frmMain form;
    Console console;
    const source::ReadOptions options = args.codePage.readOptions();
    if (const auto failed = pickTable(form, console, args.file, args.table, args.allowSpaces, options)) {
        return *failed;
    }
    applyKeysOption(form, args.keys);
    form.eSQLTerminator.text = args.terminator;
    Output out;
    if (!args.records) {
        const shell::CommandResult result = script::convertToFile(form, console);
        if (!result.ok()) return reportResult(result);
        out.write(form.eScriptOutPut.text);
        return out.finish() ? kExitDone : kExitFailed;
    }
    // The dump is what the direct copy sends: its one-line script, names in backquotes, then
    // the records. It says its encoding, so no client default can garble the text.
    try {
        out.write("SET NAMES utf8mb4;\n" + script::CreateSQLtablecreate(form, true) + "\n");
        writeRecordStatements(form, options, out);
    } catch (const shell::NumberedError& error) {
        out.finish();
        printError(error);
        return kExitFailed;
    }
    return out.finish() ? kExitDone : kExitFailed;
}

} // namespace

void addScriptCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<ScriptArguments>();
    CLI::App* command =
        app.add_subcommand("script", "Print the MySQL script of a table, as the \"To file\" target makes it");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    command->add_option("TABLE", args->table, "Table name (any letter case)")->required();
    addKeysOption(*command, args->keys);
    command
        ->add_option("--terminator", args->terminator,
                     "What ends each statement: CR, CrLf, or any text used as it stands")
        ->capture_default_str();
    command->add_flag("--allow-spaces", args->allowSpaces,
                      "Allow table and field names with a blank, and keep the backquotes around names");
    command->add_flag("--records", args->records,
                      "Print what the direct copy sends: its one-line script, then one INSERT statement per "
                      "record (for the mariadb client, which stops at a refused record unless run with --force; "
                      "--terminator does not apply)");
    args->codePage.addTo(*command);
    command->callback([args, &exitStatus] { exitStatus = runScript(*args); });
}

} // namespace kavero::cli
