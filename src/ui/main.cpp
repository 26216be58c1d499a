// kavero: the desktop program. Start it with a database file to open that file.
#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/product_info.h"
#include "kavero/version.h"
#include "ui/program.h"
#include "ui/qt_settings_store.h"
#include "ui/qt_user_interface.h"
#include "ui/widgets.h"

namespace {

constexpr int kExitUsage = 2;

// The name the desktop entry, the AppStream data and the icon are installed under; set on the
// application so that a Wayland desktop pairs the window with its menu entry and icon.
constexpr const char* kDesktopFileName = "org.example.kavero";

void printHelp() {
    std::printf("Usage: kavero [OPTION]... [DATABASE]\n"
                "%s.\n"
                "Opens the window; with DATABASE, the Access file (.mdb or .accdb) DATABASE is open\n"
                "in it instead of the one of the last run.\n"
                "\n"
                "Options:\n"
                "  -h, --help     show this help and exit\n"
                "  -v, --version  show the version and exit\n"
                "  --             take what follows as DATABASE, even when it begins with '-'\n"
                "\n"
                "The options of every Qt program, such as -platform and -style, are taken as well.\n"
                "The window's entries and options are kept in ~/.config/KAVERO/KAVERO.conf.\n"
                "kavero-cli runs the same commands without a window.\n",
                kavero::app::kFileDescription);
}

int usageError(const std::string& text) {
    std::fprintf(stderr, "kavero: %s (see kavero --help)\n", text.c_str());
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    // Help and version are answered before the window system is reached, so they work without
    // a display (over ssh, or when the manual page is made at build time).
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--") break;
        if (argument == "-h" || argument == "--help") {
            printHelp();
            return 0;
        }
        if (argument == "-v" || argument == "--version") {
            std::printf("kavero %s\n", kavero::kVersionText);
            return 0;
        }
    }

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KAVERO"));
    QApplication::setApplicationName(QStringLiteral("KAVERO"));
    QApplication::setApplicationVersion(QString::fromLatin1(kavero::kVersionText));
    QApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    QApplication::setWindowIcon(kavero::ui::productIcon());

    // Qt has taken its own options out of the list by now; what is left is ours.
    std::optional<std::string> database;
    const QStringList arguments = QApplication::arguments();
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            return usageError("unknown option " + argument.toStdString());
        } else if (database) {
            return usageError("one DATABASE at most, not also " + argument.toStdString());
        } else {
            database = argument.toStdString();
        }
    }

    kavero::ui::QtSettingsStore store(kavero::ui::QtSettingsStore::defaultFileName());
    kavero::ui::QtUserInterface ui;
    kavero::ui::Program program(ui, store, QApplication::applicationDirPath().toStdString(), database);
    program.start();
    return QApplication::exec();
}
