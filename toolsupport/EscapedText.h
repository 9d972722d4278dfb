#pragma once

#include <string>

// `text` as it may reach a terminal: control bytes (C0 and C1), DEL and bytes
// that are not part of valid UTF-8 are written as \xNN. Tab and line feed stay, and so
// do carriage returns that end a line (the texture report ends its lines in
// CR CR LF); a lone one, which would let later text hide earlier text, does
// not.
std::string EscapedText(const std::string& text);
