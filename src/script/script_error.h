// What the script builder throws when the table design cannot give a well-formed script.
#pragma once

#include <stdexcept>
#include <string>

namespace kavero::script {

class ScriptError : public std::runtime_error {
public:
    explicit ScriptError(const std::string& description) : std::runtime_error(description) {}
};

} // namespace kavero::script
