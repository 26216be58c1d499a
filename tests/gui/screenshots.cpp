// Takes a picture of each tab page of the main window, the progress window after a short copy,
// the splash and the About window, as
// the README shows them: kavero_screenshots OUTPUT_FOLDER [DATABASE [TABLE]]. With a table,
// "Go" under "To file" fills the script page. Run it on a real display or under Xvfb;
// settings go to a throwaway folder, and message boxes are answered unseen.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "shell/about_form.h"
#include "ui/program.h"
#include "ui/qt_settings_store.h"
#include "ui/qt_user_interface.h"
#include "app/small_windows.h"
#include "ui/small_windows.h"

namespace {

// The real port, except that boxes are printed instead of waiting for a click.
class UnattendedInterface : public kavero::ui::QtUserInterface {
public:
    kavero::shell::MessageAnswer messageBox(std::string_view text, std::string_view title, kavero::shell::MessageIcon,
                                            kavero::shell::MessageButtons) override {
        std::printf("box \"%.*s\": %.*s\n", static_cast<int>(title.size()), title.data(),
                    static_cast<int>(text.size()), text.data());
        return kavero::shell::MessageAnswer::Ok;
    }
};

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool save(QWidget& widget, const QString& file) {
    settle();
    const bool ok = widget.grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kavero_screenshots OUTPUT_FOLDER [DATABASE [TABLE]]\n");
        return 1;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir home;
    kavero::ui::QtSettingsStore store(home.filePath(QStringLiteral("KAVERO.conf")));
    // The script reads best one statement a line.
    store.write("eSQLTerminator", "CrLf");
    UnattendedInterface ui;
    std::optional<std::string> database;
    if (argc > 2) database = argv[2];
    kavero::ui::Program program(ui, store, home.path().toStdString(), database);
    program.start();
    settle();

    auto& window = program.mainWindow();
    if (argc > 3) {
        if (auto* tables = window.findChild<QListWidget*>(QStringLiteral("eTables"))) {
            const auto found = tables->findItems(QString::fromLocal8Bit(argv[3]), Qt::MatchExactly);
            if (!found.isEmpty()) tables->setCurrentItem(found.first());
        }
        if (auto* go = window.findChild<QPushButton*>(QStringLiteral("eCOnvertLocal"))) go->click();
    }
    bool ok = true;
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("eTabControl"));
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        ok = save(window, out + QStringLiteral("/main-tab%1.png").arg(page)) && ok;
    }

    // A copy of three records whose second the server refused, as the direct command shows it.
    auto& progress = program.progressWindow();
    std::int32_t one = 1;
    std::int32_t three = 3;
    std::int32_t zero = 0;
    progress.showStatus("Your database design is now moved to kavero_test", false, true, one, false);
    progress.showStatus("Copying 3 records in total", false, true, three, false);
    for (int record = 1; record <= 3; ++record) {
        progress.showStatus("Copying record no. " + std::to_string(record), false, false, zero, false);
        if (record == 2) {
            progress.showStatus("Error on record no. 2: 1062 Duplicate entry '7' for key 'PRIMARY'", false, false,
                                zero, true);
        }
    }
    progress.showStatus("Finished copy", true, false, zero, false);
    ok = save(progress, out + QStringLiteral("/progress.png")) && ok;
    progress.close();

    kavero::shell::frmSplash splashModel;
    kavero::ui::SplashWindow splash(splashModel);
    kavero::app::loadSplash(splashModel);
    splash.binding().push();
    splash.show();
    ok = save(splash, out + QStringLiteral("/splash.png")) && ok;
    splash.close();

    kavero::shell::frmAbout aboutModel;
    kavero::ui::AboutWindow about(aboutModel, ui, &window);
    about.show();
    ok = save(about, out + QStringLiteral("/about.png")) && ok;
    about.close();
    window.close();
    return ok ? 0 : 1;
}
