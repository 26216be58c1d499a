// The GUI tests' shared set-up.
#include "gui_fixture.h"

#include <QAbstractItemModel>
#include <QListView>

#include <fstream>

namespace kavero::testing {

namespace {

// The application lives from before the first test to after the last, and is gone before
// static destruction starts: Qt's own statics must not outlive it.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { guiApplication(); }
    void TearDown() override {
        QApplication::processEvents();
        delete s_application;
        s_application = nullptr;
    }
    static QApplication* s_application;
};

QApplication* QtEnvironment::s_application = nullptr;
[[maybe_unused]] ::testing::Environment* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

QApplication& guiApplication() {
    if (!QtEnvironment::s_application) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "kavero_gui_tests";
        static char* argv[] = {name, nullptr};
        QtEnvironment::s_application = new QApplication(argc, argv);
    }
    return *QtEnvironment::s_application;
}

void GuiTest::SetUp() {
    guiApplication();
    folder = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(folder->isValid());
    // Anything that still looks for the user's settings finds this test's folder.
    qputenv("XDG_CONFIG_HOME", folder->filePath(QStringLiteral("config")).toUtf8());
    std::filesystem::create_directories(programFolder());
    store = std::make_unique<ui::QtSettingsStore>(settingsFile());
}

void GuiTest::TearDown() {
    program.reset();
    store.reset();
    // Windows a test opened itself must not outlive it.
    for (QWidget* widget : QApplication::topLevelWidgets()) widget->close();
    folder.reset();
}

QString GuiTest::settingsFile() const {
    return folder->filePath(QStringLiteral("config/KAVERO/KAVERO.conf"));
}

std::filesystem::path GuiTest::programFolder() const {
    return std::filesystem::path(folder->filePath(QStringLiteral("bin")).toStdString());
}

void GuiTest::seedSettings(const std::map<QString, QString>& values) {
    QSettings settings(settingsFile(), QSettings::NativeFormat);
    for (const auto& [key, value] : values) settings.setValue(QStringLiteral("Settings/") + key, value);
    settings.sync();
    ASSERT_EQ(settings.status(), QSettings::NoError);
}

QString GuiTest::storedValue(const QString& key) {
    QSettings settings(settingsFile(), QSettings::NativeFormat);
    return settings.value(QStringLiteral("Settings/") + key, QStringLiteral("<absent>")).toString();
}

QStringList GuiTest::storedKeys() {
    QSettings settings(settingsFile(), QSettings::NativeFormat);
    return settings.allKeys();
}

void GuiTest::writeProviders(const std::string& text) {
    std::ofstream(programFolder() / "provider.txt", std::ios::binary) << text;
}

ui::Program& GuiTest::start(std::optional<std::string> database) {
    program = std::make_unique<ui::Program>(ui, *store, programFolder(), std::move(database));
    program->start();
    QApplication::processEvents();
    return *program;
}

QStringList GuiTest::statusLines() {
    QStringList shown;
    if (auto* view = progressWidget<QListView>("eShowStatus")) {
        for (int i = 0; i < view->model()->rowCount(); ++i) shown << view->model()->index(i, 0).data().toString();
    }
    return shown;
}

} // namespace kavero::testing
