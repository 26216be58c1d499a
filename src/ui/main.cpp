// kavero: the desktop program. Start it with a database file to open that file.
#include <QApplication>
#include <QStringList>

#include <optional>

#include "ui/program.h"
#include "ui/qt_settings_store.h"
#include "ui/qt_user_interface.h"
#include "ui/widgets.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KAVERO"));
    QApplication::setApplicationName(QStringLiteral("KAVERO"));
    QApplication::setWindowIcon(kavero::ui::productIcon());

    std::optional<std::string> database;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) database = arguments.at(1).toStdString();

    kavero::ui::QtSettingsStore store(kavero::ui::QtSettingsStore::defaultFileName());
    kavero::ui::QtUserInterface ui;
    kavero::ui::Program program(ui, store, QApplication::applicationDirPath().toStdString(), database);
    program.start();
    return QApplication::exec();
}
