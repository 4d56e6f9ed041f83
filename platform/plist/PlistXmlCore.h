// What the two XML property-list readers (the generic one of PlistXml.h and
// the profile list reader) and the two writers share, so that they read and
// write one format the same way: loading a document file, its text encoding,
// the parse, element walking, element text, numbers and escaping. Internal to
// those readers and writers, and to the list file check, which tells what the
// writers will drop.
#pragma once

#include "platform/plist/PlistXml.h"

#include <pugixml.hpp>

#include <cstddef>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plist::core {

// Documents larger than this are refused before they are read whole: a full
// profile list file is about 1 MiB, print settings far less.
inline constexpr std::size_t kMaxDocumentSize = std::size_t(16) << 20;
inline constexpr std::string_view kMaxDocumentSizeText = "16 MiB";

// Reads the bytes of a whole document file into `text` by the rules of
// rx::readRegularFile: only regular files, an open that never blocks (a FIFO
// is refused, not waited on), nothing above kMaxDocumentSize, also when the
// file grows past it while it is read. A symbolic link the user gave is
// followed. On failure `text` is unspecified and the result says why.
ReadResult loadDocument(const std::string& path, std::vector<char>& text);

// Converts the document in `text` to UTF-8 in place, as its byte-order mark
// or XML declaration says: UTF-8 (with or without a mark) and ASCII are kept
// as they are, UTF-16 is found by its mark or by its first characters, any
// other declared encoding is converted with iconv. result.encoding names
// what was found ("UTF-8" when nothing was declared).
ReadResult decodeDocument(std::vector<char>& text);

// Decodes `text` and parses it in place into `doc` (which then points into
// `text`): empty documents, binary property lists and malformed XML each
// fail with their own error.
ReadResult parseDocument(pugi::xml_document& doc, std::vector<char>& text);

// The value element at the top of a parsed document: the first element
// inside <plist>, or the document element itself when it is not <plist>.
// Null when there is none.
pugi::xml_node topValue(const pugi::xml_document& doc);

inline bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimSpace(std::string_view s);

// The first element child, and the next element sibling (text, comments
// and processing instructions between elements are skipped).
inline pugi::xml_node nextElement(pugi::xml_node n)
{
    n = n.next_sibling();
    while (n && n.type() != pugi::node_element)
        n = n.next_sibling();
    return n;
}
inline pugi::xml_node firstElement(const pugi::xml_node& parent)
{
    pugi::xml_node n = parent.first_child();
    return n && n.type() != pugi::node_element ? nextElement(n) : n;
}

inline bool isNamed(const pugi::xml_node& n, const char* name)
{
    return n && std::strcmp(n.name(), name) == 0;
}

// The character data of an element (text and CDATA children). Text split
// by comments or CDATA sections is joined into a new string of `joined`,
// which keeps it for as long as the view is used.
std::string_view elementText(const pugi::xml_node& node, std::deque<std::string>& joined);

// The value of a <real> element's text: a decimal floating-point number,
// "nan" or "inf" forms, surrounded by XML white space; nullopt for anything
// else, blank text included.
std::optional<double> parseRealText(std::string_view text);

// Hands the XML form of `s` to put() in pieces: &, <, > and CR escaped, tab
// and LF kept, other characters below U+0020 dropped, invalid UTF-8 and
// characters XML cannot carry as U+FFFD. Text that passes
// isWritableText() is only escaped.
template <class Put>
void escapeText(std::string_view s, Put&& put)
{
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        std::size_t run = i;
        while (run < n) {
            const unsigned char c = static_cast<unsigned char>(s[run]);
            if (c < 0x20 || c >= 0x80 || c == '&' || c == '<' || c == '>')
                break;
            ++run;
        }
        if (run > i)
            put(s.substr(i, run - i));
        i = run;
        if (i >= n)
            break;
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len = 1;
        if (c == '&')
            put("&amp;");
        else if (c == '<')
            put("&lt;");
        else if (c == '>')
            put("&gt;");
        else if (c == '\r')
            put("&#13;");
        else if (c == '\t' || c == '\n')
            put(s.substr(i, 1));
        else if (c >= 0x80) {
            len = xmlCharSequenceLength(s, i);
            put(len != 0 ? s.substr(i, len) : std::string_view("\xEF\xBF\xBD"));
            len = len != 0 ? len : 1;
        }
        i += len;
    }
}

// True when the bytes are valid UTF-8 made only of characters an XML
// document can carry, so escapeText() changes nothing but the escapes.
bool isWritableText(std::string_view s);

}  // namespace plist::core
