// Conversion of text between character encodings, by their iconv names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rx {

// `bytes` converted from one encoding to another. A sequence that does not
// convert (invalid, incomplete, or without a counterpart in the target)
// becomes `replacement`, and conversion goes on after it: after the whole
// character when the source is "UTF-8" and the character is well formed,
// else after one byte. Nullopt when iconv knows either encoding not.
std::optional<std::string> convertText(std::string_view bytes, const char* from, const char* to,
                                       std::string_view replacement);

}  // namespace rx
