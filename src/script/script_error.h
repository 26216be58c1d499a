// What the script builder throws when the table design cannot give a well-formed script.
#pragma once

#include <string>

#include "shell/numbered_error.h"

namespace kavero::script {

class ScriptError : public shell::NumberedError {
public:
    // 5: the runtime's "invalid procedure call", what the builder met instead of a table.
    explicit ScriptError(const std::string& description) : NumberedError(5, description) {}
};

} // namespace kavero::script
