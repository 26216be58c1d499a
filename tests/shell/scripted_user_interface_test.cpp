// The test port itself: questions are answered only from the queue, and nothing goes
// unrecorded, so tests built on it can trust what it reports.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include "support/scripted_user_interface.h"

using kavero::shell::FileDialogRequest;
using kavero::shell::MessageAnswer;
using kavero::shell::MessageButtons;
using kavero::shell::MessageIcon;
using kavero::testing::ScriptedUserInterface;

TEST(ScriptedUserInterface, RecordsMessagesAndAnswersFromQueue) {
    ScriptedUserInterface ui;
    ui.answers = {MessageAnswer::No};
    EXPECT_EQ(ui.messageBox("Done", "KAVERO", MessageIcon::Information, MessageButtons::Ok), MessageAnswer::Ok);
    EXPECT_EQ(ui.messageBox("Delete?", "KAVERO", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::No);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "Delete?");
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Question);
    EXPECT_TRUE(ui.answers.empty());
}

TEST(ScriptedUserInterface, UnexpectedQuestionFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUserInterface ui;
            ui.messageBox("Really?", "KAVERO", MessageIcon::Question, MessageButtons::YesNo);
        },
        "unexpected question");
}

TEST(ScriptedUserInterface, FileDialogsAnswerInOrderAndCancel) {
    ScriptedUserInterface ui;
    ui.fileChoices = {std::string("/data/shop.mdb"), std::nullopt};
    FileDialogRequest request{"Select Access source database", "*.mdb", "/data/*.mdb", "mdb"};
    EXPECT_EQ(ui.openFileDialog(request), "/data/shop.mdb");
    EXPECT_EQ(ui.saveFileDialog(request), std::nullopt);
    ASSERT_EQ(ui.dialogs.size(), 2u);
    EXPECT_FALSE(ui.dialogs[0].save);
    EXPECT_TRUE(ui.dialogs[1].save);
    EXPECT_EQ(ui.dialogs[0].request.presetName, "/data/*.mdb");
}
