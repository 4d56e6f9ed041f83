#include "platform/TextConversion.h"

#include "platform/plist/PlistXml.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <memory>

namespace rx {

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

// The bytes a sequence that does not convert takes at `at`.
std::size_t unconvertedLength(std::string_view bytes, std::size_t at, bool fromUtf8)
{
    if (!fromUtf8 || static_cast<unsigned char>(bytes[at]) < 0x80)
        return 1;
    const std::size_t len = plist::xmlCharSequenceLength(bytes, at);
    return len ? len : 1;
}

// Output buffer that grows as iconv fills it.
struct Output {
    std::string text;
    std::size_t used = 0;

    char* end() { return text.data() + used; }
    std::size_t room() const { return text.size() - used; }
    void reserveMore(std::size_t n)
    {
        if (room() < n)
            text.resize(text.size() * 2 + n);
    }
};

}  // namespace

std::optional<std::string> convertText(std::string_view bytes, const char* from, const char* to,
                                       std::string_view replacement)
{
    iconv_t raw = iconv_open(to, from);
    if (raw == iconv_t(-1))
        return std::nullopt;
    IconvHandle cd(raw);
    const bool fromUtf8 = std::strcmp(from, "UTF-8") == 0;

    Output out;
    out.text.resize(bytes.size() * 4 + 16);
    std::size_t at = 0;
    while (at < bytes.size()) {
        char* in = const_cast<char*>(bytes.data()) + at;
        std::size_t inLeft = bytes.size() - at;
        char* dst = out.end();
        std::size_t outLeft = out.room();
        const std::size_t done = iconv(raw, &in, &inLeft, &dst, &outLeft);
        const int error = errno;
        at = bytes.size() - inLeft;
        out.used = std::size_t(dst - out.text.data());
        if (done != std::size_t(-1))
            break;
        if (error == E2BIG) {
            out.reserveMore(out.text.size());
            continue;
        }
        out.reserveMore(replacement.size());
        std::memcpy(out.end(), replacement.data(), replacement.size());
        out.used += replacement.size();
        at += unconvertedLength(bytes, at, fromUtf8);
        iconv(raw, nullptr, nullptr, nullptr, nullptr);
    }
    out.text.resize(out.used);
    return out.text;
}

}  // namespace rx
