// What a command did, besides what it showed: callers such as kavero-cli decide their exit
// status and their own wording from this, never from the message boxes.
#pragma once

#include <string>

#include "shell/numbered_error.h"

namespace kavero::shell {

enum class Outcome {
    Done,
    Stopped, // refused before any work: missing inputs, a name the server would not take
    Failed,  // an error during the work
};

// Why a command stopped, for callers that word it their own way.
enum class StopReason {
    None,
    MissingInputs,   // text: the numbered list
    BlankInName,     // subject: the name; blanks are allowed only with the allow-spaces box
    IllegalName,     // subject: the name; a character no server name may hold
    NothingToCreate, // the table has no field the script can create
};

struct CommandResult {
    Outcome outcome = Outcome::Done;
    StopReason reason = StopReason::None;
    int number = 0;      // of a failure
    std::string text;    // what the user was shown, without the number
    std::string subject; // the name a stop is about

    static CommandResult done() { return {}; }
    static CommandResult stopped(StopReason reason, std::string text, std::string subject = {}) {
        return {Outcome::Stopped, reason, 0, std::move(text), std::move(subject)};
    }
    static CommandResult failed(const NumberedError& error) {
        return {Outcome::Failed, StopReason::None, error.number(), error.description(), {}};
    }
    bool ok() const { return outcome == Outcome::Done; }
};

} // namespace kavero::shell
