// How a field's type word becomes a MySQL column type, and how a key on such a field is
// written. Every word gets a type, so each field yields a whole column clause.
#pragma once

#include <string>
#include <string_view>

namespace kavero::script {

// The text that follows the column name, ending in ", ": " INTEGER, ", " VARCHAR(50), " …
// Binary fields (the empty word) become LONGBLOB and any word the mapping does not know
// becomes LONGTEXT, so that whatever such a field holds is kept.
std::string columnText(std::string_view typeWord, std::string_view size);

// The prefix length a key on the field needs, without parentheses, or empty when the key
// takes the whole column. A text key is as long as the field; LONGBLOB and LONGTEXT
// columns can only be keyed on a prefix.
std::string keyPrefixLength(std::string_view typeWord, std::string_view size);

// Whether the word is one the mapping knows by name (BOOLEAN … AUTONUM).
bool isKnownTypeWord(std::string_view typeWord);

} // namespace kavero::script
