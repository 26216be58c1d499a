// kavero: the desktop program.
#include <QApplication>
#include <QMainWindow>

#include "kavero/version.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("%1 Version %2.%3")
                              .arg(QString::fromUtf8(kavero::kProductName))
                              .arg(kavero::kVersionMajor)
                              .arg(kavero::kVersionMinor));
    window.resize(703, 343);
    window.show();
    return QApplication::exec();
}
