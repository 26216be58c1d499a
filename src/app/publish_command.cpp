// The publish command.
#include "app/publish_command.h"

#include <charconv>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/busy_pointer.h"
#include "kavero/version.h"
#include "publish/php_page_writer.h"
#include "script/create_sql_table_create.h"
#include "shell/ascii.h"
#include "shell/conversion_inputs.h"
#include "shell/progress_host.h"
#include "shell/settings.h"
#include "source/open_database.h"

namespace kavero::app {

namespace {

namespace fs = std::filesystem;

// The records the pages send other than as read, the first ones named; a long list would not
// fit the box.
std::string changesText(const std::vector<std::string>& changes) {
    constexpr std::size_t kNamed = 20;
    std::string text = "The pages send " + std::to_string(changes.size()) +
                       (changes.size() == 1 ? " value" : " values") + " other than as read:";
    for (std::size_t i = 0; i < changes.size() && i < kNamed; ++i) text += "\r\n" + changes[i];
    if (changes.size() > kNamed) text += "\r\nand " + std::to_string(changes.size() - kNamed) + " more";
    return text;
}

std::string pagePattern(publish::PageFlavour flavour) {
    return "*" + std::string(publish::pageExtension(flavour));
}

publish::PageFlavour chosenFlavour(const shell::frmMain& form) {
    return form.ePhpPages.checked ? publish::PageFlavour::Php : publish::PageFlavour::Asp;
}

// A path that names a folder and a page in it; the pages are never written, and old pages
// never deleted, anywhere a relative or folder-only name would lead.
bool namesAPageInAFolder(const std::string& outputFile) {
    return !outputFile.empty() && outputFile.front() == '/' && outputFile.back() != '/';
}

std::string deleteQuestion(const std::string& folder, publish::PageFlavour flavour) {
    return "Should I delete all previous KAVERO files (" + pagePattern(flavour) + ") in destination dir :\r\n" +
           folder + "\r\n to avoid confusion when you upload the files.";
}

bool endsWithIgnoringCase(const std::string& name, std::string_view end) {
    return name.size() > end.size() &&
           shell::equalsIgnoringCase(std::string_view(name).substr(name.size() - end.size()), end);
}

// An old page: any *.asp file for the ASP pages. For the PHP pages only the files KAVERO wrote
// (its pages of any earlier run, their configuration and their shared functions), since a
// folder on a PHP web host often holds PHP files of other programs.
bool isPageFile(const fs::directory_entry& entry, publish::PageFlavour flavour) {
    std::error_code ignored;
    const std::string name = entry.path().filename().string();
    if (flavour == publish::PageFlavour::Php) {
        return entry.is_regular_file(ignored) && !entry.is_symlink(ignored) && name.ends_with(".php") &&
               publish::isPhpPage(entry.path());
    }
    if (entry.is_directory(ignored)) return false;
    return endsWithIgnoringCase(name, ".asp");
}

// Deletes the old pages directly inside `folder`: no sub-folder is entered, and a link is
// removed as a link, so nothing outside the folder is touched. PageWriteError names the first
// file that would not go.
void deleteOldPages(const std::string& folder, publish::PageFlavour flavour) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return; // no folder yet: nothing to delete
    for (const fs::directory_entry& entry : it) {
        if (!isPageFile(entry, flavour)) continue;
        if (!fs::remove(entry.path(), error) && error) {
            throw publish::PageWriteError("The old page " + entry.path().string() +
                                          " could not be deleted: " + error.message());
        }
    }
}

// eRecordsPerPage as a number of records, or nothing when it is none a page can hold.
std::optional<int> recordsPerPage(const std::string& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < 1 || value > publish::kMaxRecordsPerPage) return std::nullopt;
    return value;
}

shell::CommandResult refuse(shell::UserInterface& ui, const std::string& text) {
    ui.messageBox(text, kProductName, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
    return shell::CommandResult::stopped(shell::StopReason::None, text);
}

shell::CommandResult fail(shell::UserInterface& ui, const shell::NumberedError& error, std::string_view title) {
    ui.messageBox(error.boxText(), title, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
    return shell::CommandResult::failed(error);
}

} // namespace

std::string outputFolder(const std::string& outputFile) {
    const std::size_t slash = outputFile.rfind('/');
    return slash == std::string::npos ? std::string() : outputFile.substr(0, slash + 1);
}

std::string mainPageName(const std::string& outputFile) {
    const std::size_t slash = outputFile.rfind('/');
    return slash == std::string::npos ? outputFile : outputFile.substr(slash + 1);
}

std::optional<std::string> flavouredPageName(const std::string& outputFile, publish::PageFlavour flavour) {
    const std::string name = mainPageName(outputFile);
    if (flavour == publish::PageFlavour::Asp || name.ends_with(".php")) return name;
    if (endsWithIgnoringCase(name, ".asp")) return name.substr(0, name.size() - 4) + ".php";
    return std::nullopt;
}

std::string publishInstructions(const std::string& outputFile, publish::PageFlavour flavour, std::string_view token) {
    const std::string folder = outputFolder(outputFile);
    std::string page = flavouredPageName(outputFile, flavour).value_or(mainPageName(outputFile));
    if (flavour == publish::PageFlavour::Php) page += "?t=" + std::string(token);
    std::string text = "Your database design is now ready to publish\r\n"
                       "What you have to do now is : \r\n"
                       "1. Publish all the files (" +
                       pagePattern(flavour) + ") from  " + folder +
                       " to your ISP/or your own web server\r\n"
                       "2. Start you browser and enter URL, path to files, + " +
                       page + " (Exp. Http://" + std::string(kExampleHost) + "/" + page +
                       ")\r\n"
                       "3. Create the database by pressing the 'submit to mySQL server' button in the browser window, "
                       "and check there is no error message\r\n"
                       "4. Copy you data by pressing the 'start copy x record to your mySQL server' button\r\n"
                       "\r\n"
                       "Warning you will delete all data in your database is the databse already exist !!!!!\r\n"
                       "\r\n";
    if (flavour == publish::PageFlavour::Php) {
        text += "The pages open only with the address above (keep it to yourself). The MySQL login is in " +
                std::string(publish::kPhpConfigFile) +
                " only. After one copy the pages lock themselves: then delete them all from the web server.\r\n";
    }
    return text;
}

void chooseAspFile(shell::frmMain& form, shell::UserInterface& ui, const shell::SettingsStore& store) {
    const publish::PageFlavour flavour = chosenFlavour(form);
    std::string preset = form.eSourceDest.text.empty() ? store.read(shell::kAspPathKey, source::defaultDatabaseFolder())
                                                       : outputFolder(form.eSourceDest.text);
    preset += pagePattern(flavour);
    form.dlgCommonDialog.fileName = preset;
    form.dlgCommonDialog.filter = pagePattern(flavour);
    form.dlgCommonDialog.defaultExt = std::string(publish::pageExtension(flavour).substr(1));
    form.dlgCommonDialog.dialogTitle = "Select where source files should be created so you can upload them later";
    const std::optional<std::string> chosen = ui.saveFileDialog(
        {form.dlgCommonDialog.dialogTitle, form.dlgCommonDialog.filter, preset, form.dlgCommonDialog.defaultExt});
    if (!chosen || chosen->empty() || chosen->find('*') != std::string::npos) return;
    form.dlgCommonDialog.fileName = *chosen;
    form.eSourceDest.text = *chosen;
}

shell::CommandResult publishToIsp(shell::frmMain& form, shell::UserInterface& ui, const source::ReadOptions& options,
                                  const publish::PageFolder::WrittenSink& written) {
    const std::string missing = shell::CheckConversionInputs(form, false, true, false);
    const std::string outputFile = form.eSourceDest.text;
    const bool withRecords = form.eISPAlsoCopyData.checked();
    const std::optional<int> perPage = recordsPerPage(form.eRecordsPerPage.text);
    const publish::PageFlavour flavour = chosenFlavour(form);

    if (!outputFile.empty() && !namesAPageInAFolder(outputFile)) {
        return refuse(ui, "The output file must be a full path with the main page's name, such as "
                          "/home/you/web/kavero" +
                              std::string(publish::pageExtension(flavour)) + ":\r\n" + outputFile);
    }
    const std::optional<std::string> pageName = flavouredPageName(outputFile, flavour);
    if (!outputFile.empty() && !pageName) {
        return refuse(ui, "The main page of the PHP pages must end in .php, or the web server does not run it:\r\n" +
                              outputFile);
    }
    if (outputFile.empty() && missing.empty()) {
        return refuse(ui, "You have to select a output file to publish the KAVERO scripts to: the pages are "
                          "written into its folder on this computer first, also for \"Direct to ISP\".");
    }
    if (withRecords && !perPage) {
        return refuse(ui, "Records per copy page must be a whole number from 1 to " +
                              std::to_string(publish::kMaxRecordsPerPage) + ", not \"" + form.eRecordsPerPage.text +
                              "\".");
    }

    // With no output file there is no folder to ask about; the list below says what is missing.
    if (!outputFile.empty()) {
        const std::string folder = outputFolder(outputFile);
        if (ui.messageBox(deleteQuestion(folder, flavour), kProductName, shell::MessageIcon::Question,
                          shell::MessageButtons::YesNo) == shell::MessageAnswer::Yes) {
            try {
                deleteOldPages(folder, flavour);
            } catch (const publish::PageWriteError& e) {
                return fail(ui, e, "Error on deleting the old pages");
            }
        }
    }
    if (!missing.empty()) {
        ui.messageBox(missing, kProductName, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
        return shell::CommandResult::stopped(shell::StopReason::MissingInputs, missing);
    }

    publish::PageSettings settings;
    settings.server = form.eMySqlserveraddressISP.text;
    settings.database = form.eMySqlDatabaseISP.text;
    settings.user = form.eMySqlusernameISP.text;
    settings.password = form.eMySqlpasswordISP.text;
    settings.passwordInPages = !form.eLeavePasswordOut.checked;
    settings.recordsPerPage = perPage.value_or(publish::kDefaultRecordsPerPage);
    settings.quoting = form.eAllowFieldNamesIwthSpace.checked() || form.eLossless.checked
                           ? source::NameQuoting::Backquoted
                           : source::NameQuoting::Bare;
    settings.flavour = flavour;
    publish::PhpRun run;
    std::vector<std::string> changes;
    const publish::ChangedValueSink changed = [&](std::int64_t record, const std::string& change) {
        changes.push_back("record " + std::to_string(record) + ": " + change);
    };

    // The busy pointer goes before a failure is shown: each handler runs after the scope ends.
    try {
        BusyPointer busy(ui);
        form.eScriptOutPut.text = script::CreateSQLtablecreate(form, true, settings.quoting);
        // A large table makes thousands of pages: the window is repainted a few times a second
        // meanwhile (its buttons ignore clicks while a command runs).
        auto lastYield = std::chrono::steady_clock::now();
        publish::PageFolder folder(outputFolder(outputFile), [&](const fs::path& page) {
            if (written) written(page);
            const auto now = std::chrono::steady_clock::now();
            if (now - lastYield < shell::kStatusInterval) return;
            lastYield = now;
            ui.yield();
        });
        if (flavour == publish::PageFlavour::Php) {
            run = publish::newPhpRun();
            publish::WritePhpSupportFiles(folder, settings, run);
            publish::WritePhpMainPage(folder, *pageName, run);
            publish::WritePhpCreateTablePage(folder, run, form.eScriptOutPut.text);
        } else {
            publish::WriteMainFramePage(folder, *pageName);
            publish::WriteCreateTablePage(folder, settings, form.eScriptOutPut.text);
        }
        if (withRecords) {
            source::AccessDatabase database(form.eFilename.text, options);
            if (flavour == publish::PageFlavour::Php) {
                publish::WritePhpCopyPages(folder, settings, run, form.design, database, changed);
            } else {
                publish::WriteCopyPages(folder, settings, form.design, database, changed);
            }
        }
    } catch (const script::ScriptError& e) {
        ui.messageBox(e.description(), kProductName, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
        return shell::CommandResult::stopped(shell::StopReason::NothingToCreate, e.description());
    } catch (const publish::PageWriteError& e) {
        return fail(ui, e, "Error on writing the pages");
    } catch (const source::EngineError& e) {
        return fail(ui, e, "Error on reading the records, on ePublishToISP");
    }
    if (!changes.empty())
        ui.messageBox(changesText(changes), kProductName, shell::MessageIcon::Exclamation, shell::MessageButtons::Ok);
    ui.messageBox(publishInstructions(outputFile, flavour, run.token), kProductName, shell::MessageIcon::Information,
                  shell::MessageButtons::Ok);
    return shell::CommandResult::done();
}

} // namespace kavero::app
