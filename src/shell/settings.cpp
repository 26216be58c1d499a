// Reading the stored texts into the main window's controls and writing them back.
#include "shell/settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "shell/ascii.h"

namespace kavero::shell {

namespace {

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A whole-text number in the C locale, so that "1,5" never reads as one and a half.
template <class T> bool parseNumber(std::string_view text, T& value, bool& outOfRange) {
    outOfRange = false;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size()) return false;
    if (ec == std::errc::result_out_of_range) {
        outOfRange = true;
        return true;
    }
    return ec == std::errc();
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The window model is only walked here, never changed through this reference.
frmMain& walkable(const frmMain& form) { return const_cast<frmMain&>(form); }

} // namespace

const SettingKey& settingKey(std::string_view key) {
    for (const SettingKey& entry : kSettingKeys) {
        if (entry.key == key) return entry;
    }
    for (const SettingKey& entry : kExtensionKeys) {
        if (entry.key == key) return entry;
    }
    throw std::invalid_argument("no setting named " + std::string(key));
}

std::string formatCheck(CheckState state) { return std::to_string(static_cast<int>(state)); }

std::string formatOption(bool value) { return value ? "True" : "False"; }

std::string formatPosition(float twips) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, twips);
    if (ec != std::errc()) return "0";
    return std::string(buffer, end);
}

CheckState parseCheck(std::string_view text) {
    const std::string_view number = trimBlanks(text);
    double value = 0;
    bool outOfRange = false;
    if (!parseNumber(number, value, outOfRange) || std::isnan(value)) {
        throw SettingsError(SettingsError::kTypeMismatch, "Type mismatch: " + quoted(text) + " is no check box state");
    }
    const double rounded = std::nearbyint(value);
    if (outOfRange || rounded < std::numeric_limits<short>::min() || rounded > std::numeric_limits<short>::max()) {
        throw SettingsError(SettingsError::kOverflow, "Overflow: " + quoted(text) + " is no check box state");
    }
    if (rounded < 0 || rounded > 2) {
        throw SettingsError(SettingsError::kInvalidPropertyValue,
                            "Invalid property value: " + quoted(text) + " is no check box state");
    }
    return static_cast<CheckState>(static_cast<int>(rounded));
}

bool parseOption(std::string_view text) {
    const std::string_view word = trimBlanks(text);
    if (equalsIgnoringCase(word, "True")) return true;
    if (equalsIgnoringCase(word, "False")) return false;
    double value = 0;
    bool outOfRange = false;
    if (!parseNumber(word, value, outOfRange) || std::isnan(value)) {
        throw SettingsError(SettingsError::kTypeMismatch, "Type mismatch: " + quoted(text) + " is no truth value");
    }
    return outOfRange || value != 0;
}

float parsePosition(std::string_view text) {
    float value = 0;
    bool outOfRange = false;
    if (!parseNumber(trimBlanks(text), value, outOfRange) || !std::isfinite(value)) {
        throw SettingsError(SettingsError::kTypeMismatch, "Type mismatch: " + quoted(text) + " is no window position");
    }
    if (outOfRange) throw SettingsError(SettingsError::kOverflow, "Overflow: " + quoted(text) + " is no window position");
    return value;
}

namespace {

// Reads one key and hands its value to `apply`; a value that does not fit is reported and
// the key's default is applied instead.
template <class Parse, class Apply>
void loadKey(const SettingsStore& store, std::string_view key, const SettingsProblemSink& problem, Parse parse,
             Apply apply) {
    const SettingKey& entry = settingKey(key);
    const std::string stored = store.read(key, entry.fallback);
    try {
        apply(parse(stored));
    } catch (const SettingsError& error) {
        if (problem) problem(SettingsError(error.number(), std::string(error.what()) + " (setting " + std::string(key) + ")"));
        apply(parse(std::string(entry.fallback)));
    }
}

std::string asText(const std::string& text) { return text; }

// Far beyond any screen, well inside an int.
constexpr float kLargestExtent = 1.0e7f;

int* windowExtent(frmMain& form, std::string_view key) {
    if (key == "MainWidth") return &form.width;
    if (key == "MainHeight") return &form.height;
    return nullptr;
}

// A check mark is on or off; the grayed state of a check box is no state of a menu item.
bool parseMenuCheck(std::string_view text) {
    const CheckState state = parseCheck(text);
    if (state == CheckState::Grayed) {
        throw SettingsError(SettingsError::kInvalidPropertyValue,
                            "Invalid property value: " + quoted(text) + " is no check mark");
    }
    return state == CheckState::Checked;
}

// One key of a control into that control, by the key's form and the control's kind.
void loadControlKey(frmMain& form, const SettingKey& key, const SettingsStore& store,
                    const SettingsProblemSink& problem) {
    auto table = form.controls();
    ControlEntry* entry = form.find(key.key, table);
    switch (key.form) {
    case SettingForm::Text:
        if (TextBox* box = entry->as<TextBox>()) {
            loadKey(store, key.key, problem, asText, [&](const std::string& v) { box->text = v; });
        } else if (ComboBox* combo = entry->as<ComboBox>()) {
            loadKey(store, key.key, problem, asText, [&](const std::string& v) { combo->text = v; });
        }
        break;
    case SettingForm::Check:
        if (CheckBox* box = entry->as<CheckBox>()) {
            loadKey(store, key.key, problem, parseCheck, [&](CheckState v) { box->value = v; });
        } else if (Menu* item = entry->as<Menu>()) {
            loadKey(store, key.key, problem, parseMenuCheck, [&](bool v) { item->checked = v; });
        }
        break;
    case SettingForm::Option:
        // Switching one on clears the others of its group, as on screen, so a store
        // that holds two "True" of one group still loads one choice (the later key).
        loadKey(store, key.key, problem, parseOption, [&](bool v) { form.setOption(*entry->as<OptionButton>(), v); });
        break;
    case SettingForm::Position:
        // The window's size; a negative or absurd stored size must not wrap around.
        if (int* extent = windowExtent(form, key.key)) {
            loadKey(store, key.key, problem, parsePosition,
                    [&](float v) { *extent = static_cast<int>(std::lround(std::clamp(v, 0.0f, kLargestExtent))); });
        }
        break;
    case SettingForm::Entry:
        break;
    }
}

} // namespace

void loadWindowPosition(frmMain& form, const SettingsStore& store, const SettingsProblemSink& problem) {
    loadKey(store, "MainLeft", problem, parsePosition, [&](float v) { form.left = v; });
    loadKey(store, "MainTop", problem, parsePosition, [&](float v) { form.top = v; });
}

void loadControlSettings(frmMain& form, const SettingsStore& store, const SettingsProblemSink& problem) {
    // Keys 3 to 20, in table order; the walk stops before the two entry keys, which need
    // their lists filled first.
    for (std::size_t i = 2; i < 20; ++i) {
        const SettingKey& key = kSettingKeys[i];
        loadControlKey(form, key, store, problem);
        if (key.key == "eCreateIndex" &&
            !(form.eCreateNoKeys.value || form.ECreateKey.value || form.eCreateIndex.value)) {
            form.setOption(form.ECreateKey);
        }
        // The same for the two "Publish to" rows: with neither chosen, uploading by hand,
        // which is their default, so the enabling rule always leaves one row usable.
        if (key.key == "eDirectToISP" && !(form.ManuelUpload.value || form.eDirectToISP.value)) {
            form.setOption(form.ManuelUpload);
        }
    }
}

void loadExtensionSettings(frmMain& form, const SettingsStore& store, const SettingsProblemSink& problem) {
    for (const SettingKey& key : kExtensionKeys) loadControlKey(form, key, store, problem);
}

void applyPublishToRows(frmMain& form) {
    const bool direct = form.eDirectToISP.value;
    form.eSourceDest.enabled = !direct;
    form.eProvideName.enabled = direct;
}

void addTerminatorItems(frmMain& form) {
    for (std::string_view item : kTerminatorItems) form.eSQLTerminator.addItem(std::string(item));
}

void selectSavedEntry(ComboBox& box, std::string_view saved) {
    for (std::size_t i = 0; i < box.items.size(); ++i) {
        if (box.items[i] == saved) box.select(static_cast<int>(i));
    }
}

void selectSavedDataSource(frmMain& form, const SettingsStore& store) {
    selectSavedEntry(form.cboDSNList, store.read("cboDSNList", kNoneEntry));
}

void selectSavedProvider(frmMain& form, const SettingsStore& store) {
    selectSavedEntry(form.eProvideName, store.read("eProvideName", kNoneEntry));
}

std::string entryValue(const ComboBox& box) {
    if (const std::string* item = box.selectedItem()) {
        // An editable box whose text was changed by hand no longer shows its entry.
        if (!box.editable || box.text == *item) return *item;
    }
    if (box.editable) return box.text;
    return std::string(kNoneEntry);
}

std::string settingValue(const frmMain& form, std::string_view key) {
    const SettingKey& setting = settingKey(key);
    if (key == "MainLeft") return formatPosition(form.left);
    if (key == "MainTop") return formatPosition(form.top);
    if (const int* extent = windowExtent(walkable(form), key)) return formatPosition(static_cast<float>(*extent));
    auto table = walkable(form).controls();
    ControlEntry* entry = walkable(form).find(key, table);
    switch (setting.form) {
    case SettingForm::Text:
        if (const TextBox* box = entry->as<TextBox>()) return box->text;
        return entry->as<ComboBox>()->text;
    case SettingForm::Check:
        if (const Menu* item = entry->as<Menu>())
            return formatCheck(item->checked ? CheckState::Checked : CheckState::Unchecked);
        return formatCheck(entry->as<CheckBox>()->value);
    case SettingForm::Option:
        return formatOption(entry->as<OptionButton>()->value);
    case SettingForm::Entry:
        return entryValue(*entry->as<ComboBox>());
    case SettingForm::Position:
        break;
    }
    return {};
}

std::vector<std::string> saveSettings(const frmMain& form, SettingsStore& store) {
    std::vector<std::string> refused;
    for (std::string_view key : kSaveOrder) {
        if (!store.write(key, settingValue(form, key))) refused.emplace_back(key);
    }
    for (const SettingKey& extension : kExtensionKeys) {
        if (!store.write(extension.key, settingValue(form, extension.key))) refused.emplace_back(extension.key);
    }
    return refused;
}

} // namespace kavero::shell
