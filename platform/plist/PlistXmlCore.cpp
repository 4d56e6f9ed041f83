#include "platform/plist/PlistXmlCore.h"

#include "platform/RegularFile.h"

#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <memory>
#include <strings.h>

namespace plist::core {

namespace {

ReadResult failure(ReadError error, int systemError = 0, std::string detail = {})
{
    ReadResult r;
    r.error = error;
    r.systemError = systemError;
    r.detail = std::move(detail);
    return r;
}

bool startsWith(const std::vector<char>& text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::memcmp(text.data(), prefix.data(), prefix.size()) == 0;
}

// Encodings told by the first bytes: a byte-order mark (skipped), or the
// first characters "<?" of a UTF-16 document without one.
struct LeadingBytes {
    std::string_view bytes;
    const char* encoding;
    std::size_t skip;
};
constexpr LeadingBytes kLeadingBytes[] = {
    {std::string_view("\xEF\xBB\xBF", 3), "UTF-8", 3},
    {std::string_view("\xFF\xFE", 2), "UTF-16LE", 2},
    {std::string_view("\xFE\xFF", 2), "UTF-16BE", 2},
    {std::string_view("<\0?\0", 4), "UTF-16LE", 0},
    {std::string_view("\0<\0?", 4), "UTF-16BE", 0},
};

// Names that mean the document's bytes are UTF-8 as they stand.
constexpr const char* kUtf8Names[] = {"UTF-8", "UTF8", "US-ASCII", "ASCII"};

bool isUtf8Name(const std::string& name)
{
    for (const char* n : kUtf8Names)
        if (strcasecmp(name.c_str(), n) == 0)
            return true;
    return false;
}

// The encoding named by the XML declaration at the start of an
// ASCII-compatible document; empty when there is none.
std::string declaredEncoding(const std::vector<char>& text)
{
    if (!startsWith(text, "<?xml"))
        return {};
    const std::string_view all(text.data(), text.size());
    const std::string_view decl = all.substr(0, all.find("?>"));
    std::size_t at = decl.find("encoding");
    if (at == std::string_view::npos)
        return {};
    at = decl.find_first_not_of(" \t\r\n=", at + 8);
    if (at == std::string_view::npos || (decl[at] != '"' && decl[at] != '\''))
        return {};
    const std::size_t end = decl.find(decl[at], at + 1);
    return end == std::string_view::npos ? std::string() : std::string(decl.substr(at + 1, end - at - 1));
}

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// Converts text[skip..] from `encoding` to UTF-8 in place.
ReadResult convertToUtf8(std::vector<char>& text, std::size_t skip, const std::string& encoding)
{
    const iconv_t raw = iconv_open("UTF-8", encoding.c_str());
    if (raw == iconv_t(-1))
        return failure(ReadError::UnknownEncoding, 0, encoding);
    const std::unique_ptr<void, IconvCloser> owner(raw);
    std::vector<char> out(text.size() * 2 + 16);
    char* in = text.data() + skip;
    std::size_t inLeft = text.size() - skip;
    std::size_t used = 0;
    while (inLeft > 0) {
        char* dst = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const std::size_t rc = iconv(raw, &in, &inLeft, &dst, &outLeft);
        used = std::size_t(dst - out.data());
        if (rc != std::size_t(-1))
            break;
        if (errno != E2BIG)
            return failure(ReadError::NotParsable, 0,
                           "bytes that are not " + encoding + " at byte " + std::to_string(in - text.data()));
        out.resize(out.size() * 2);
    }
    out.resize(used);
    text.swap(out);
    return {};
}

}  // namespace

ReadResult loadDocument(const std::string& path, std::vector<char>& text)
{
    // A document is a file the user named: a symbolic link to it is read.
    switch (rx::readRegularFile(path, kMaxDocumentSize, &text, rx::LinkRule::Follow)) {
    case rx::RegularRead::Ok:
        return {};
    case rx::RegularRead::NotFound:
        return failure(ReadError::NotFound, errno);
    case rx::RegularRead::Refused:
        return failure(ReadError::NotRegular, errno == EISDIR ? EISDIR : 0);
    case rx::RegularRead::TooLarge:
        return failure(ReadError::TooLarge);
    case rx::RegularRead::Unreadable:
    case rx::RegularRead::Failed:
        break;
    }
    return failure(ReadError::NotReadable, errno);
}

ReadResult decodeDocument(std::vector<char>& text)
{
    for (const LeadingBytes& lead : kLeadingBytes) {
        if (!startsWith(text, lead.bytes))
            continue;
        ReadResult r;
        if (isUtf8Name(lead.encoding))
            text.erase(text.begin(), text.begin() + std::ptrdiff_t(lead.skip));
        else
            r = convertToUtf8(text, lead.skip, lead.encoding);
        r.encoding = lead.encoding;
        return r;
    }
    const std::string declared = declaredEncoding(text);
    ReadResult r = declared.empty() || isUtf8Name(declared) ? ReadResult{} : convertToUtf8(text, 0, declared);
    r.encoding = declared.empty() ? "UTF-8" : declared;
    return r;
}

ReadResult parseDocument(pugi::xml_document& doc, std::vector<char>& text)
{
    if (text.empty())
        return failure(ReadError::Empty);
    if (startsWith(text, "bplist"))
        return failure(ReadError::Binary);
    ReadResult r = decodeDocument(text);
    if (r.error != ReadError::None)
        return r;
    const pugi::xml_parse_result parsed = doc.load_buffer_inplace(
        text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
    if (!parsed) {
        r.error = ReadError::NotParsable;
        r.detail = std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset);
    }
    return r;
}

pugi::xml_node topValue(const pugi::xml_document& doc)
{
    const pugi::xml_node root = doc.document_element();
    return isNamed(root, "plist") ? firstElement(root) : root;
}

std::string_view trimSpace(std::string_view s)
{
    while (!s.empty() && isXmlSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isXmlSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view elementText(const pugi::xml_node& node, std::deque<std::string>& joined)
{
    const auto isText = [](const pugi::xml_node& c) {
        return c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata;
    };
    const pugi::xml_node first = node.first_child();
    if (!first)
        return {};
    if (!first.next_sibling() && isText(first))
        return first.value();
    std::string& out = joined.emplace_back();
    for (pugi::xml_node c = first; c; c = c.next_sibling())
        if (isText(c))
            out += c.value();
    return out;
}

std::optional<double> parseRealText(std::string_view text)
{
    const std::string t(trimSpace(text));
    if (t.empty())
        return std::nullopt;
    char* end = nullptr;
    const double d = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size())
        return std::nullopt;
    return d;
}

bool isWritableText(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t len = c < 0x80 ? std::size_t(c >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                                         : xmlCharSequenceLength(s, i);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

}  // namespace plist::core
