// Text from outside the program (a file, a device) as it may safely be shown: nothing in it
// can cut a line short, hide characters or reorder what the operator reads.
#pragma once

#include <string>
#include <string_view>

// Valid UTF-8 stays as it is, line feeds and tabs included. Each byte that is not part of
// valid UTF-8 and each other control character becomes \xNN (a NUL is "\x00"); each
// format or separator character that could hide or reorder text (a direction override, a
// zero-width space) becomes \u{NNNN}.
std::string VisibleText(std::string_view text);
// True when `text` is valid UTF-8 with no control, format or separator character at all
// (no line feed or tab either): text that is shown as it stands.
bool IsPlainText(std::string_view text);
