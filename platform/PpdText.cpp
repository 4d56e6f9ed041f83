#include "platform/PpdText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <memory>
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

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

}  // namespace

QString decodeText(std::string_view bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::UTF8)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    if (encoding == TextEncoding::ISOLatin1)
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));

    iconv_t raw = iconv_open("UTF-8", iconvName(encoding));
    if (raw == iconv_t(-1))
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    IconvHandle cd(raw);

    std::string out;
    out.resize(bytes.size() * 4 + 4);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(raw, &in, &inLeft, &dst, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG) {
            size_t used = size_t(dst - out.data());
            out.resize(out.size() * 2);
            dst = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        // An invalid or incomplete sequence: one replacement character, then
        // go on after the offending byte.
        if (outLeft < 3) {
            size_t used = size_t(dst - out.data());
            out.resize(out.size() + 16);
            dst = out.data() + used;
            outLeft = out.size() - used;
        }
        std::memcpy(dst, "\xEF\xBF\xBD", 3);
        dst += 3;
        outLeft -= 3;
        ++in;
        --inLeft;
        iconv(raw, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(size_t(dst - out.data()));
    return QString::fromStdString(out);
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
