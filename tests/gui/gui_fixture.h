// Shared set-up of the GUI tests: one QApplication on the offscreen platform, and per test a
// temporary folder holding the settings file and the program folder (for provider.txt).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "support/scripted_user_interface.h"
#include "ui/program.h"
#include "ui/qt_settings_store.h"

namespace kavero::testing {

QApplication& guiApplication();

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString settingsFile() const;
    std::filesystem::path programFolder() const;
    // Values written by QSettings itself, as a previous run would have left them.
    void seedSettings(const std::map<QString, QString>& values);
    QString storedValue(const QString& key);
    QStringList storedKeys();
    void writeProviders(const std::string& text);

    // Builds the program over this test's store and folder and runs its start-up.
    ui::Program& start(std::optional<std::string> database = std::nullopt);

    template <class W> W* widget(const char* name) { return child<W>(program->mainWindow(), name); }
    template <class W> W* progressWidget(const char* name) { return child<W>(program->progressWindow(), name); }
    // The progress window's status lines as its list shows them, newest first.
    QStringList statusLines();

private:
    template <class W> static W* child(const QObject& window, const char* name) {
        W* found = window.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

protected:
    std::unique_ptr<QTemporaryDir> folder;
    ScriptedUserInterface ui;
    std::unique_ptr<ui::QtSettingsStore> store;
    std::unique_ptr<ui::Program> program;
};

} // namespace kavero::testing
