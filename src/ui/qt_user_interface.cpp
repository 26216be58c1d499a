// Qt dialogs behind the user-interface port.
#include "ui/qt_user_interface.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

#include "ui/form_binding.h"

namespace kavero::ui {

namespace {

QMessageBox::Icon qtIcon(shell::MessageIcon icon) {
    switch (icon) {
    case shell::MessageIcon::Critical: return QMessageBox::Critical;
    case shell::MessageIcon::Question: return QMessageBox::Question;
    case shell::MessageIcon::Exclamation: return QMessageBox::Warning;
    case shell::MessageIcon::Information: return QMessageBox::Information;
    case shell::MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(shell::MessageButtons buttons) {
    switch (buttons) {
    case shell::MessageButtons::Ok: return QMessageBox::Ok;
    case shell::MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case shell::MessageButtons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case shell::MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case shell::MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case shell::MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

shell::MessageAnswer answerOf(int button, shell::MessageButtons buttons) {
    switch (button) {
    case QMessageBox::Ok: return shell::MessageAnswer::Ok;
    case QMessageBox::Cancel: return shell::MessageAnswer::Cancel;
    case QMessageBox::Abort: return shell::MessageAnswer::Abort;
    case QMessageBox::Retry: return shell::MessageAnswer::Retry;
    case QMessageBox::Ignore: return shell::MessageAnswer::Ignore;
    case QMessageBox::Yes: return shell::MessageAnswer::Yes;
    case QMessageBox::No: return shell::MessageAnswer::No;
    default: break;
    }
    // Closed by Escape or the close box: the box's own way out.
    switch (buttons) {
    case shell::MessageButtons::Ok: return shell::MessageAnswer::Ok;
    case shell::MessageButtons::YesNo: return shell::MessageAnswer::No;
    case shell::MessageButtons::AbortRetryIgnore: return shell::MessageAnswer::Abort;
    default: return shell::MessageAnswer::Cancel;
    }
}

QString describe(const QString& pattern) {
    if (pattern == QLatin1String("*.mdb")) return QStringLiteral("Access database (*.mdb)");
    if (pattern == QLatin1String("*.accdb")) return QStringLiteral("Access 2007 database (*.accdb)");
    if (pattern == QLatin1String("*.asp")) return QStringLiteral("Active Server Page (*.asp)");
    if (pattern == QLatin1String("*.sql")) return QStringLiteral("SQL script (*.sql)");
    return pattern + QStringLiteral(" (") + pattern + QStringLiteral(")");
}

} // namespace

QStringList QtUserInterface::nameFilters(const std::string& pattern) {
    const QString given = QString::fromStdString(pattern);
    QStringList filters;
    // Both kinds of Access file first, so the dialog shows either without a change of filter.
    if (given == QLatin1String("*.mdb")) filters << QStringLiteral("Access databases (*.mdb *.accdb)");
    filters << describe(given);
    if (given == QLatin1String("*.mdb")) filters << describe(QStringLiteral("*.accdb"));
    filters << QStringLiteral("All files (*)");
    return filters;
}

shell::MessageAnswer QtUserInterface::messageBox(std::string_view text, std::string_view title,
                                                 shell::MessageIcon icon, shell::MessageButtons buttons) {
    QMessageBox box(qtIcon(icon), QString::fromUtf8(title.data(), static_cast<int>(title.size())),
                    displayText(std::string(text)), qtButtons(buttons), m_owner);
    // A busy pointer must not hide that the program waits for an answer.
    const bool busy = m_busyDepth > 0;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int button = box.exec();
    if (busy) QApplication::restoreOverrideCursor();
    return answerOf(button, buttons);
}

std::optional<std::string> QtUserInterface::fileDialog(const shell::FileDialogRequest& request, bool save) {
    QFileDialog local(m_owner);
    QFileDialog& dialog = m_dialog ? *m_dialog : local;
    dialog.setWindowTitle(QString::fromStdString(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(request.filter));
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    // The preset is a folder and a name, where the name may be the pattern itself.
    const QString preset = QString::fromStdString(request.presetName);
    const int slash = preset.lastIndexOf(QChar('/'));
    const QString folder = slash >= 0 ? preset.left(slash + 1) : QString();
    const QString name = preset.mid(slash + 1);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) dialog.setDirectory(folder);
    dialog.selectFile(name.contains(QChar('*')) ? QString() : name);

    const bool busy = m_busyDepth > 0;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = dialog.exec();
    if (busy) QApplication::restoreOverrideCursor();
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<std::string> QtUserInterface::openFileDialog(const shell::FileDialogRequest& request) {
    return fileDialog(request, false);
}

std::optional<std::string> QtUserInterface::saveFileDialog(const shell::FileDialogRequest& request) {
    return fileDialog(request, true);
}

void QtUserInterface::setBusy(bool busy) {
    if (busy) {
        if (m_busyDepth++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0) {
        if (--m_busyDepth == 0) QApplication::restoreOverrideCursor();
    }
}

void QtUserInterface::yield() {
    if (m_beforeYield) m_beforeYield();
    // Paint and let timers run, but take no clicks or keys in the middle of a command.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtUserInterface::beep() { QApplication::beep(); }

shell::StartResult QtUserInterface::startProgram(const std::string& program,
                                                 const std::vector<std::string>& arguments) {
    const QString name = QString::fromStdString(program);
    const QString path = name.contains(QChar('/')) ? (QFileInfo(name).isExecutable() ? name : QString())
                                                   : QStandardPaths::findExecutable(name);
    if (path.isEmpty()) return shell::StartResult::NotFound;
    QStringList args;
    for (const std::string& argument : arguments) args << QString::fromStdString(argument);
    return QProcess::startDetached(path, args) ? shell::StartResult::Started : shell::StartResult::Failed;
}

} // namespace kavero::ui
