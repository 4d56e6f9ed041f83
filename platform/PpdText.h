// Text encodings of PPD strings and their decoding.
#pragma once

#include <QString>
#include <string_view>

namespace rx {

enum class TextEncoding {
    MacRoman,      // anything not listed below, or no LanguageEncoding
    ISOLatin1,     // "ISOLatin1"
    WindowsLatin1, // "WindowsANSI" (code page 1252)
    ShiftJIS,      // "JIS83-RKSJ"
    UTF8,          // "UTF-8" or "UTF8"
};

// The encoding a PPD's LanguageEncoding value names (exact, case-sensitive);
// null means no entry.
TextEncoding textEncodingForLanguageEncoding(const char* languageEncoding);

// The encoding in which libcups hands over a parsed PPD's strings.
// `reported` is the structure's lang_encoding; `declared` the file's own
// LanguageEncoding value, null when the file has none (and for structures
// built by hand). libcups converts the encodings it knows to UTF-8 and then
// reports "UTF-8"; for any other declared name ("None", "EUC-KR", ...) it
// keeps the file's bytes and still reports "UTF-8", so the table above
// applies to the declared name, and anything it does not list is Mac OS Roman.
TextEncoding ppdStringEncoding(const char* reported, const char* declared);

// The iconv name of an encoding.
const char* iconvName(TextEncoding encoding);

// Decodes bytes in the given encoding. Bytes that do not convert are
// replaced by U+FFFD; a null pointer gives a null string.
QString decodeText(const char* bytes, TextEncoding encoding);
QString decodeText(std::string_view bytes, TextEncoding encoding);

// Decodes a string of a PPD read by libcups. For a file without a
// LanguageEncoding entry libcups reports no encoding but has already turned
// each byte into the UTF-8 form of the ISO 8859-1 character; those bytes are
// recovered first, so the Mac OS Roman reading applies to the file's own
// bytes. Hand-built structures holding the raw bytes decode as they are.
QString decodePpdText(const char* bytes, TextEncoding encoding);

}  // namespace rx
