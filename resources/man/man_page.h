// The korvane(1) manual page, written from the program's --help text and its key table, so a new
// option or key shows in the page without anyone editing it.
#pragma once
#include <string>
#include <string_view>

namespace korvane {

// The name a user reads for a virtual key ("Enter", "Left", "[", "M"); empty for a key the page
// has no name for, which the generator refuses rather than print a number.
std::string KeyName(unsigned key);
// The page's KEYS section body: one tagged paragraph per key of the player's key table, and one
// for Shift with a key where Shift changes what it does. Empty when a key of the table has no name.
std::string KeysSection();
// The whole page in roff. `help` is the --help text: the lines up to the first empty one are the
// synopsis ("Usage: " dropped), a line beginning with an option and two spaces is that option's
// entry, any other text a paragraph. Empty when a key of the table has no name.
std::string ManPage(std::string_view help, std::string_view version);

}  // namespace korvane
