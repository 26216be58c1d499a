// Lookup by name and exclusive option groups, shared by every window model.
#include "shell/form.h"

namespace kavero::shell {

ControlEntry* Form::find(std::string_view controlName, std::vector<ControlEntry>& table) {
    for (ControlEntry& entry : table) {
        if (entry.name == controlName) return &entry;
    }
    return nullptr;
}

void Form::setOption(OptionButton& option, bool value) {
    if (value) {
        for (const ControlEntry& entry : controls()) {
            OptionButton* other = entry.as<OptionButton>();
            if (other && other != &option && other->group == option.group) other->value = false;
        }
    }
    option.value = value;
}

} // namespace kavero::shell
