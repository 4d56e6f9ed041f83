// Reading and writing XML property lists (the standard DOCTYPE, UTF-8).
#pragma once

#include "platform/plist/Plist.h"

#include <cstddef>
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

enum class ReadError {
    None,
    NotFound,         // no file at the path
    NotReadable,      // the file cannot be opened or read
    NotRegular,       // a directory, FIFO, device or socket
    TooLarge,         // above the size any of our documents reaches
    Empty,            // a file without a byte
    Binary,           // a binary property list
    UnknownEncoding,  // declares an encoding that cannot be converted
    NotParsable,      // not well-formed XML, or not a property list
    TooDeep,          // nested deeper than the reader follows
};

// The outcome of a read: why it failed, with the system's error number where
// the file layer gave one, and a detail (the parser's message, the encoding
// name); on success too, the document's encoding as found.
struct ReadResult {
    ReadError error = ReadError::None;
    int systemError = 0;
    std::string detail;
    std::string encoding;
};

// A short reason for messages ("Is a directory", "a binary property list,
// not XML"); empty for success.
std::string describe(const ReadResult& result);

// Parses the text of an XML property list in any encoding the document
// declares. On failure the result is a None value and, when given, *result
// says why.
Value parseXml(std::string_view text, ReadResult* result = nullptr);

// Loads and parses a file: a regular file only, never blocking on a FIFO, of
// bounded size.
Value readXmlFile(const std::string& path, ReadResult* result = nullptr);

// The value of an <integer> element's text: decimal or 0x-prefixed
// hexadecimal, optionally signed, surrounded by XML white space. Values above
// the signed range (written by unsigned writers) wrap as two's complement;
// nullopt for anything else.
std::optional<int64_t> parseIntegerText(std::string_view text);

// The length of the well-formed UTF-8 sequence of a non-ASCII character that
// an XML document can carry (not a surrogate, U+FFFE or U+FFFF) at s[i],
// where s[i] >= 0x80; 0 when the bytes there are no such sequence.
inline std::size_t xmlCharSequenceLength(std::string_view s, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char c = byte(0);
    const std::size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (len == 0 || c > 0xF4 || i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k)
        if ((byte(k) & 0xC0) != 0x80)
            return 0;
    if (len == 3 && ((c == 0xE0 && byte(1) < 0xA0) || (c == 0xED && byte(1) >= 0xA0) ||
                     (c == 0xEF && byte(1) == 0xBF && byte(2) >= 0xBE)))
        return 0;
    if (len == 4 && ((c == 0xF0 && byte(1) < 0x90) || (c == 0xF4 && byte(1) >= 0x90)))
        return 0;
    return len;
}

// Serialises a value as a complete XML property list document.
std::string toXml(const Value& root);

}  // namespace plist
