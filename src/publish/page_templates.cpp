// Template texts and the one-pass filling.
#include "publish/page_templates.h"

#include <vector>

namespace kavero::publish {

namespace detail {
extern const std::string_view kMainPage;
extern const std::string_view kCreateTable;
extern const std::string_view kStartCopy;
extern const std::string_view kCopyPage;
extern const std::string_view kEndCopy;
extern const std::string_view kPageStart;
extern const std::string_view kServerFunctions;
extern const std::string_view kPhpMainPage;
extern const std::string_view kPhpCreateTable;
extern const std::string_view kPhpStartCopy;
extern const std::string_view kPhpCopyPage;
extern const std::string_view kPhpEndCopy;
extern const std::string_view kPhpCommon;
extern const std::string_view kPhpConfig;
} // namespace detail

namespace {

// The shared parts end with a line break, as every template file does; where they are put in,
// the template's own line break follows.
std::string_view withoutLastLineBreak(std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    return text;
}

} // namespace

std::string_view pageTemplate(PageTemplate page) {
    switch (page) {
    case PageTemplate::MainFrame:
        return detail::kMainPage;
    case PageTemplate::LocalSubmit:
        return detail::kCreateTable;
    case PageTemplate::StatCopy:
        return detail::kStartCopy;
    case PageTemplate::CopyData:
        return detail::kCopyPage;
    case PageTemplate::ResultFinishCopy:
        return detail::kEndCopy;
    case PageTemplate::PhpMainFrame:
        return detail::kPhpMainPage;
    case PageTemplate::PhpLocalSubmit:
        return detail::kPhpCreateTable;
    case PageTemplate::PhpStatCopy:
        return detail::kPhpStartCopy;
    case PageTemplate::PhpCopyData:
        return detail::kPhpCopyPage;
    case PageTemplate::PhpResultFinishCopy:
        return detail::kPhpEndCopy;
    case PageTemplate::PhpCommon:
        return detail::kPhpCommon;
    case PageTemplate::PhpConfig:
        return detail::kPhpConfig;
    }
    return {};
}

std::string fillTemplate(PageTemplate page, std::span<const Substitution> substitutions) {
    std::vector<Substitution> all(substitutions.begin(), substitutions.end());
    all.push_back({"<pagestart>", withoutLastLineBreak(detail::kPageStart)});
    all.push_back({"<serverfunctions>", withoutLastLineBreak(detail::kServerFunctions)});

    const std::string_view text = pageTemplate(page);
    std::string filled;
    filled.reserve(text.size());
    std::size_t copied = 0;
    for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at)) {
        const Substitution* found = nullptr;
        for (const Substitution& s : all) {
            if (text.substr(at, s.placeholder.size()) == s.placeholder) {
                found = &s;
                break;
            }
        }
        if (found == nullptr) {
            ++at;
            continue;
        }
        filled.append(text, copied, at - copied);
        filled += found->text;
        at += found->placeholder.size();
        copied = at;
    }
    filled.append(text, copied);
    return filled;
}

} // namespace kavero::publish
