#include "platform/PpdText.h"

#include "platform/TextConversion.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <strings.h>
#include <string>

namespace rx {

TextEncoding textEncodingForLanguageEncoding(const char* e)
{
    if (!e)
        return TextEncoding::MacRoman;
    if (std::strcmp(e, "ISOLatin1") == 0)
        return TextEncoding::ISOLatin1;
    if (std::strcmp(e, "WindowsANSI") == 0)
        return TextEncoding::WindowsLatin1;
    if (std::strcmp(e, "JIS83-RKSJ") == 0)
        return TextEncoding::ShiftJIS;
    if (std::strcmp(e, "UTF-8") == 0 || std::strcmp(e, "UTF8") == 0)
        return TextEncoding::UTF8;
    return TextEncoding::MacRoman;
}

namespace {

// The LanguageEncoding names libcups converts to UTF-8 while reading (it
// compares them without regard to case).
constexpr const char* kConvertedByLibcups[] = {"ISOLatin1", "ISOLatin2", "ISOLatin5",
                                                "JIS83-RKSJ", "MacStandard", "WindowsANSI"};

bool convertedByLibcups(const char* declared)
{
    return std::any_of(std::begin(kConvertedByLibcups), std::end(kConvertedByLibcups),
                       [&](const char* name) { return strcasecmp(name, declared) == 0; });
}

}  // namespace

TextEncoding ppdStringEncoding(const char* reported, const char* declared)
{
    if (declared && !convertedByLibcups(declared))
        return textEncodingForLanguageEncoding(declared);
    return textEncodingForLanguageEncoding(reported);
}

const char* iconvName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::ISOLatin1: return "ISO-8859-1";
    case TextEncoding::WindowsLatin1: return "CP1252";
    case TextEncoding::ShiftJIS: return "SHIFT_JIS";
    case TextEncoding::UTF8: return "UTF-8";
    case TextEncoding::MacRoman: break;
    }
    return "MACINTOSH";
}

QString decodeText(std::string_view bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::UTF8)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    if (encoding == TextEncoding::ISOLatin1)
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    const std::optional<std::string> text = convertText(bytes, iconvName(encoding), "UTF-8", "\xEF\xBF\xBD");
    if (!text)
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    return QString::fromStdString(*text);
}

QString decodePpdText(const char* bytes, TextEncoding encoding)
{
    if (!bytes)
        return QString();
    if (encoding == TextEncoding::MacRoman) {
        const QByteArray raw(bytes);
        const QString utf8 = QString::fromUtf8(raw);
        const bool latin1Range = std::all_of(utf8.begin(), utf8.end(), [](QChar c) { return c.unicode() <= 0xFF; });
        if (utf8.toUtf8() == raw && latin1Range) {
            const QByteArray original = utf8.toLatin1();
            return decodeText(std::string_view(original.constData(), size_t(original.size())), encoding);
        }
    }
    return decodeText(bytes, encoding);
}

QString decodeText(const char* bytes, TextEncoding encoding)
{
    if (!bytes)
        return QString();
    return decodeText(std::string_view(bytes), encoding);
}

}  // namespace rx
