// What every window model has besides its controls: caption, place, and whether it is loaded.
#pragma once

#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "shell/controls.h"

namespace kavero::shell {

struct Form {
    std::string name;
    std::string caption;
    // Client area and position in twips.
    float left = 0;
    float top = 0;
    int width = 0;
    int height = 0;
    bool loaded = false;
    bool visible = false;

    Form() = default;
    Form(std::string formName, int widthTwips, int heightTwips)
        : name(std::move(formName)), width(widthTwips), height(heightTwips) {}
    virtual ~Form() = default;

    // Every control of the window, in a fixed order. Built on each call so that copies of a
    // window never point into each other.
    virtual std::vector<ControlEntry> controls() = 0;

    ControlEntry* find(std::string_view controlName, std::vector<ControlEntry>& table);
    template <class T> T* control(std::string_view controlName) {
        auto table = controls();
        ControlEntry* entry = find(controlName, table);
        return entry ? entry->as<T>() : nullptr;
    }

    // Switches one option button on and clears the others of its group, or switches it off.
    void setOption(OptionButton& option, bool value = true);
};

} // namespace kavero::shell
