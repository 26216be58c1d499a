// The test port itself: a question or a file dialog that no test answered fails that test,
// so tests built on the port never pass on a guessed answer.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "support/scripted_user_interface.h"

using namespace kavero::shell;
using kavero::testing::ScriptedUserInterface;

TEST(ScriptedUserInterface, UnansweredQuestionsAndDialogsFailTheTest) {
    EXPECT_NONFATAL_FAILURE(
        ScriptedUserInterface().messageBox("Really?", "KAVERO", MessageIcon::Question, MessageButtons::YesNo),
        "unexpected question");
    EXPECT_NONFATAL_FAILURE(ScriptedUserInterface().openFileDialog({"Select", "*.mdb", "/data/*.mdb", "mdb"}),
                            "unexpected file dialog");
    ScriptedUserInterface ui;
    EXPECT_EQ(ui.messageBox("Done", "KAVERO", MessageIcon::Information, MessageButtons::Ok), MessageAnswer::Ok);
}
