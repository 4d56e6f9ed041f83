// Reading and writing XML property lists (the standard DOCTYPE, UTF-8).
#pragma once

#include "platform/plist/Plist.h"

#include <string>
#include <string_view>

namespace plist {

enum class ReadError { None, NotFound, NotReadable, NotParsable };

// Parses the text of an XML property list. On failure the result is a None
// value and, when given, *error says why.
Value parseXml(std::string_view text, ReadError* error = nullptr);

// Loads and parses a file.
Value readXmlFile(const std::string& path, ReadError* error = nullptr);

// Serialises a value as a complete XML property list document.
std::string toXml(const Value& root);

}  // namespace plist
