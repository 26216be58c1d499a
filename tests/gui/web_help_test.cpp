// The Help items, the About window's web address and its system information button with real
// programs started by the Qt port: small recording scripts stand in for the browser and the
// viewer, and BROWSER and PATH decide what is found.
#include "gui_fixture.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>

#include "ui/qt_user_interface.h"

using namespace kavero;
using kavero::testing::GuiTest;

namespace {

// The real port, except that boxes are noted instead of shown, with whether the main window
// was up at the time; program starts are noted and then really made.
class NotingPort : public ui::QtUserInterface {
public:
    struct Box {
        std::string text;
        std::string title;
        bool mainShown;
    };
    std::vector<Box> boxes;
    std::function<bool()> mainShown;
    std::vector<std::string> started;

    shell::StartResult startProgram(const std::string& program, const std::vector<std::string>& arguments) override {
        started.push_back(program);
        return QtUserInterface::startProgram(program, arguments);
    }

    shell::MessageAnswer messageBox(std::string_view text, std::string_view title, shell::MessageIcon,
                                    shell::MessageButtons) override {
        boxes.push_back({std::string(text), std::string(title), mainShown && mainShown()});
        return shell::MessageAnswer::Ok;
    }
};

class WebHelpGui : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        for (const char* name : {"BROWSER", "PATH"}) {
            const char* value = std::getenv(name);
            saved[name] = value ? std::optional<std::string>(value) : std::nullopt;
        }
        bin = std::filesystem::path(folder->filePath(QStringLiteral("tools")).toStdString());
        std::filesystem::create_directories(bin);
        log = bin.parent_path() / "started.log";
    }
    void TearDown() override {
        program.reset();
        for (const auto& [name, value] : saved)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        GuiTest::TearDown();
    }

    static void setVariable(const char* name, const std::optional<std::string>& value) {
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }

    // A program in `bin` that adds a line to the log for each start: its name, then each
    // argument in brackets.
    std::string recorder(const std::string& name) {
        const std::filesystem::path file = bin / name;
        std::ofstream(file) << "#!/bin/sh\nline=\"${0##*/}\"\nfor a in \"$@\"; do line=\"$line [$a]\"; done\n"
                               "printf '%s\\n' \"$line\" >> '"
                            << log.string() << "'\n";
        std::filesystem::permissions(file, std::filesystem::perms::owner_all);
        return file.string();
    }

    std::vector<std::string> logLines() {
        std::vector<std::string> lines;
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // The programs started so far write in their own time: wait for the count, then read.
    std::vector<std::string> waitForLines(std::size_t count) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return logLines().size() >= count; }, 30000)) << "waiting for " << count;
        return logLines();
    }

    ui::Program& startWith(std::optional<std::string> database = std::nullopt) {
        program = std::make_unique<ui::Program>(port, *store, programFolder(), std::move(database));
        port.mainShown = [this] { return program->mainWindow().isVisible(); };
        program->start();
        QApplication::processEvents();
        return *program;
    }
    void trigger(const char* item) { widget<QAction>(item)->trigger(); }

    // Opens the About window and runs `inside` while it is up, then closes it.
    void withAbout(const std::function<void(QDialog&)>& inside) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(about, nullptr);
            seen = true;
            inside(*about);
            about->reject();
        });
        trigger("AboutKAVERO");
        EXPECT_TRUE(seen);
    }

    NotingPort port;
    std::filesystem::path bin;
    std::filesystem::path log;
    std::map<std::string, std::optional<std::string>> saved;
};

std::string helpUrl(const std::string& word) {
    return "http://kavero.example.org/redirect.asp?cmd=" + word + "&major=1&minor=1&revision=0";
}

} // namespace

TEST_F(WebHelpGui, HelpItemsAndTheWebAddressOpenInTheBrowserNamedByBrowser) {
    setVariable("BROWSER", recorder("record-browser") + " --new-tab");
    startWith();
    trigger("HelpOntheweb");
    waitForLines(1);
    trigger("Support");
    waitForLines(2);
    trigger("ISPSupport");
    waitForLines(3);
    std::string address;
    withAbout([&](QDialog& about) {
        auto* label = about.findChild<QLabel*>(QStringLiteral("Label1"));
        ASSERT_NE(label, nullptr);
        address = label->text().toStdString();
        QTest::mouseClick(label, Qt::LeftButton);
        waitForLines(4);
    });
    EXPECT_EQ(waitForLines(4), (std::vector<std::string>{
                                   "record-browser [--new-tab] [" + helpUrl("kavero") + "]",
                                   "record-browser [--new-tab] [" + helpUrl("kaverosupport") + "]",
                                   "record-browser [--new-tab] [" + helpUrl("kaveroispsupport") + "]",
                                   "record-browser [--new-tab] [" + address + "]",
                               }));
    EXPECT_EQ(address.rfind("https://", 0), 0u) << address;
    EXPECT_TRUE(port.boxes.empty());
}

TEST_F(WebHelpGui, ABrowserNotFoundAndOneThatDoesNotStartEachGetTheirBox) {
    startWith();
    const auto expectBox = [&](const std::string& text, const std::string& title) {
        ASSERT_EQ(port.boxes.size(), 1u);
        EXPECT_EQ(port.boxes[0].text, text);
        EXPECT_EQ(port.boxes[0].title, title);
        port.boxes.clear();
    };
    setVariable("BROWSER", (bin / "no-such-browser").string());
    trigger("HelpOntheweb");
    expectBox("Could not find associated Browser", "Browser Not Found, on start browser");

    // Without BROWSER: xdg-open from PATH, here one whose interpreter is missing, then none.
    setVariable("BROWSER", std::nullopt);
    std::ofstream(bin / "xdg-open") << "#!/nonexistent/interpreter\n";
    std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
    setVariable("PATH", bin.string());
    trigger("Support");
    expectBox("Web Page not Opened", "URL Failed, on start browser");
    std::filesystem::remove(bin / "xdg-open");
    trigger("ISPSupport");
    expectBox("Could not find associated Browser", "Browser Not Found, on start browser");
}

TEST_F(WebHelpGui, SystemInfoStartsAViewerFromThePathOrSaysItIsUnavailable) {
    startWith();
    setVariable("PATH", bin.string());
    withAbout([&](QDialog& about) {
        auto* sysInfo = about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
        ASSERT_NE(sysInfo, nullptr);
        sysInfo->click();
        ASSERT_EQ(port.boxes.size(), 1u);
        EXPECT_EQ(port.boxes[0].text, "System Information Is Unavailable At This Time");
        EXPECT_EQ(port.boxes[0].title, "KAVERO on start sysinfo");
        recorder("kinfocenter");
        sysInfo->click();
        EXPECT_EQ(waitForLines(1), std::vector<std::string>{"kinfocenter"});
        EXPECT_TRUE(about.isVisible());
    });
    EXPECT_EQ(port.boxes.size(), 1u);
}

TEST_F(WebHelpGui, TheWebAddressIsALinkForMouseAndKeyboardAndEnterStillMeansOk) {
    setVariable("BROWSER", recorder("record-browser"));
    startWith();
    withAbout([&](QDialog& about) {
        auto* label = about.findChild<QLabel*>(QStringLiteral("Label1"));
        ASSERT_NE(label, nullptr);
        // A double click as the window system delivers it: a click, then a second press that
        // comes as a double click, and its release.
        QTest::mouseClick(label, Qt::LeftButton);
        QTest::mouseDClick(label, Qt::LeftButton);
        EXPECT_EQ(port.started.size(), 1u) << "a double click opens the page once";
        QTest::mouseClick(label, Qt::RightButton);
        EXPECT_EQ(port.started.size(), 1u);
        EXPECT_TRUE(label->focusPolicy() & Qt::TabFocus);
        label->setFocus();
        QTest::keyClick(label, Qt::Key_Space);
        EXPECT_EQ(port.started.size(), 2u);
    });
    // Opened again, the focus is on OK: Enter closes the window and opens nothing.
    withAbout([&](QDialog& about) {
        QWidget* focus = about.focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_EQ(focus->objectName(), "cmdOK");
        QTest::keyClick(focus, Qt::Key_Return);
        EXPECT_FALSE(about.isVisible());
    });
    EXPECT_EQ(port.started.size(), 2u);
    waitForLines(2); // both browsers done before their folder goes
}

TEST_F(WebHelpGui, ABadDatabaseArgumentIsReportedOverTheShownMainWindow) {
    startWith((bin / "gone.mdb").string());
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "Error on opening database, on eFilename");
    EXPECT_TRUE(port.boxes[0].mainShown);
    EXPECT_TRUE(program->mainWindow().isVisible());
}
