// Reading and writing XML property lists (the standard DOCTYPE, UTF-8).
#pragma once

#include "platform/plist/Plist.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plist {

// The start of every document written: XML declaration, the standard
// property-list DOCTYPE and the opening <plist> element.
inline constexpr std::string_view kXmlHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n";

enum class ReadError { None, NotFound, NotReadable, NotParsable };

// Parses the text of an XML property list. On failure the result is a None
// value and, when given, *error says why.
Value parseXml(std::string_view text, ReadError* error = nullptr);

// Loads and parses a file.
Value readXmlFile(const std::string& path, ReadError* error = nullptr);

// The value of an <integer> element's text: decimal or 0x-prefixed
// hexadecimal, optionally signed, surrounded by XML white space. Values above
// the signed range (written by unsigned writers) wrap as two's complement;
// nullopt for anything else.
std::optional<int64_t> parseIntegerText(std::string_view text);

// Serialises a value as a complete XML property list document.
std::string toXml(const Value& root);

}  // namespace plist
