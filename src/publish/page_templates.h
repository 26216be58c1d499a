// The page templates the web-host pages are made from, and the one way they are filled.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kavero::publish {

enum class PageTemplate {
    MainFrame,        // the main page: the frame set
    LocalSubmit,      // createtable.asp: the connection form and the table script
    StatCopy,         // startcopy.asp: the button that starts the record copy
    CopyData,         // startcopyN.asp: one batch of INSERT statements
    ResultFinishCopy, // endcopy.asp: the copied table as the server holds it
    // The same pages for PHP, and the two files beside them.
    PhpMainFrame, // only the key check: the frame set of MainFrame follows it
    PhpLocalSubmit,
    PhpStatCopy,
    PhpCopyData,
    PhpResultFinishCopy,
    PhpCommon, // kavero-common.php: the functions every PHP page shares
    PhpConfig, // kavero-config.php: the login and the key
};

// The pristine text of a template. Its shared parts (the page start up to <body> and the server
// functions) stand in it as <pagestart> and <serverfunctions>; fillTemplate puts them in.
std::string_view pageTemplate(PageTemplate page);

struct Substitution {
    std::string_view placeholder;
    std::string_view text;
};

// The template with every occurrence of each placeholder replaced by its text, in one pass
// from left to right: inserted text is never looked at again, so a value that happens to hold
// a placeholder stays as it is. The shared parts are filled in the same pass.
std::string fillTemplate(PageTemplate page, std::span<const Substitution> substitutions);

} // namespace kavero::publish
