// kavero-cli script: the table script exactly as "To file" leaves it in the script box; with
// --records followed by the statements the direct copy sends, one per record, so the output
// fed to the mariadb client moves the table without any ODBC set-up. With --all-tables every
// user table of the file in turn.
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/table_summary.h"
#include "script/create_sql_table_create.h"
#include "script/to_file_command.h"
#include "shell/main_form.h"
#include "source/record_statement.h"

namespace kavero::cli {

namespace {

struct ScriptArguments {
    std::string file;
    std::string table;
    bool allTables = false;
    std::string keys = "key";
    std::string terminator = ";";
    bool allowSpaces = false;
    bool records = false;
    CodePageOption codePage;
    bool lossless = false;
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

// One statement per record, each ended by ";" and a line break, streamed as read; gives the
// number of records.
std::int64_t writeRecordStatements(const shell::frmMain& form, const source::ReadOptions& options, Output& out) {
    const std::vector<source::CopiedField> fields = source::copiedFields(form.design);
    // Names keep their backquotes, as in the direct copy, so a reserved word stays a name.
    const std::string head = source::BuildInsertHeader(form.design.name, fields, source::NameQuoting::Backquoted) + " ";
    source::AccessDatabase database(form.eFilename.text, options);
    std::string statement;
    std::int64_t records = 0;
    for (source::Recordset set = database.openRecordset(form.design.name); !set.eof() && !out.failed();
         set.moveNext()) {
        statement = head;
        appendOnOneLine(statement, source::BuildValuesClause(fields, set.values()));
        statement += ";\n";
        out.write(statement);
        ++records;
        // Named as the direct copy names them, so a record the script changes is never silent.
        for (const std::string& change : source::changedValues(fields, set.values()))
            printDiagnostic("record changed " + std::to_string(records) + ": " + change);
    }
    return records;
}

// One table, as `script FILE TABLE` does it.
TableRun scriptTable(const ScriptArguments& args, const std::string& table) {
    TableRun run;
    run.status = kExitFailed;
    shell::frmMain form;
    Console console;
    const source::ReadOptions options = args.codePage.readOptions();
    if (const auto failed = pickTable(form, console, args.file, table, args.allowSpaces, options, args.lossless)) {
        run.status = *failed;
        return run;
    }
    applyKeysOption(form, args.keys);
    applyLossless(form, args.lossless);
    form.eSQLTerminator.text = args.terminator;
    Output out;
    if (!args.records) {
        const shell::CommandResult result = script::convertToFile(form, console);
        if (!result.ok()) {
            run.status = reportResult(result);
            return run;
        }
        out.write(form.eScriptOutPut.text);
        if (out.finish()) run.status = kExitDone;
        return run;
    }
    // The dump is what the direct copy sends: its one-line script, names in backquotes, then
    // the records. It says its encoding, so no client default can garble the text.
    try {
        out.write("SET NAMES utf8mb4;\n" + script::CreateSQLtablecreate(form, true) + "\n");
        run.read = writeRecordStatements(form, options, out);
    } catch (const shell::NumberedError& error) {
        out.finish();
        printError(error);
        return run;
    }
    if (out.finish()) run.status = kExitDone;
    return run;
}

// The lossless whole-database script: foreign key checks off while the tables are dropped and
// created again, since a key a former run left would stop a parent's DROP TABLE; then, after
// the last table (and its records), the file's relationships as foreign keys, checked again.
int scriptWithForeignKeys(const ScriptArguments& args, const std::vector<std::string>& tables) {
    const std::string end = args.records ? ";\n" : script::terminatorFor(args.terminator);
    {
        Output out;
        out.write("SET SESSION foreign_key_checks = 0" + end);
        if (!out.finish()) return kExitFailed;
    }
    std::vector<std::string> created;
    const int status = runAllTables(tables, [&](const std::string& table) {
        TableRun run = scriptTable(args, table);
        if (tableCreated(run.status)) created.push_back(table);
        return run;
    });
    const auto keys = planForeignKeys(args.file, tables, created, args.codePage.readOptions());
    if (!keys) return kExitFailed;
    Output out;
    out.write("SET SESSION foreign_key_checks = 1" + end);
    for (const source::ForeignKey& key : *keys) out.write(key.statement + end);
    return out.finish() ? status : kExitFailed;
}

int runScript(const ScriptArguments& args) {
    if (!args.allTables) return scriptTable(args, args.table).status;
    const auto tables = allUserTables(args.file, args.codePage.readOptions(), args.lossless);
    if (!tables) return kExitFailed;
    if (args.lossless) return scriptWithForeignKeys(args, *tables);
    return runAllTables(*tables, [&](const std::string& table) { return scriptTable(args, table); });
}

} // namespace

void addScriptCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<ScriptArguments>();
    CLI::App* command =
        app.add_subcommand("script", "Print the MySQL script of a table, as the \"To file\" target makes it");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    CLI::Option* table = command->add_option("TABLE", args->table, "Table name (any letter case)");
    table->excludes(command->add_flag("--all-tables", args->allTables,
                                      "Every user table of the file, one after the other, and a table of them "
                                      "on standard error at the end"));
    addKeysOption(*command, args->keys);
    command
        ->add_option("--terminator", args->terminator,
                     "What ends each statement: CR, CrLf, or any text used as it stands")
        ->capture_default_str();
    command->add_flag("--allow-spaces", args->allowSpaces,
                      "Allow table and field names with a blank, and keep the backquotes around names");
    addLosslessFlag(*command, args->lossless);
    command->add_flag("--records", args->records,
                      "Print what the direct copy sends: its one-line script, then one INSERT statement per "
                      "record (for the mariadb client, which stops at a refused record unless run with --force; "
                      "--terminator does not apply)");
    args->codePage.addTo(*command);
    command->footer("With --all-tables --lossless the script turns foreign key checks off before the first table "
                    "and on again after the last, and ends with the relationships of the file as foreign keys; one "
                    "that the tables cannot hold is named on standard error and left out. The server refuses a key "
                    "that the records break (1452).");
    command->callback([args, &exitStatus] {
        if (!args->allTables && args->table.empty()) throw CLI::RequiredError("TABLE or --all-tables");
        exitStatus = runScript(*args);
    });
}

} // namespace kavero::cli
