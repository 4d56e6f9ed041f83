#include "platform/plist/PlistXml.h"

#include <pugixml.hpp>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plist {

namespace {

std::string_view trim(std::string_view s)
{
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!s.empty() && space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && space(s.back()))
        s.remove_suffix(1);
    return s;
}

std::optional<double> parseReal(std::string_view s)
{
    std::string t(trim(s));
    if (t.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    double d = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size())
        return std::nullopt;
    return d;
}

int base64Value(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

std::optional<std::string> base64Decode(std::string_view s)
{
    std::string out;
    out.reserve(s.size() * 3 / 4);
    uint32_t acc = 0;
    int bits = 0;
    for (unsigned char c : s) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        if (c == '=')
            break;
        int v = base64Value(c);
        if (v < 0)
            return std::nullopt;
        acc = (acc << 6) | uint32_t(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(char((acc >> bits) & 0xff));
        }
    }
    return out;
}

std::string base64Encode(std::string_view bytes)
{
    static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        uint32_t n = (uint32_t(uint8_t(bytes[i])) << 16) | (uint32_t(uint8_t(bytes[i + 1])) << 8) |
                     uint8_t(bytes[i + 2]);
        out += table[(n >> 18) & 63];
        out += table[(n >> 12) & 63];
        out += table[(n >> 6) & 63];
        out += table[n & 63];
    }
    if (i + 1 == bytes.size()) {
        uint32_t n = uint32_t(uint8_t(bytes[i])) << 16;
        out += table[(n >> 18) & 63];
        out += table[(n >> 12) & 63];
        out += "==";
    } else if (i + 2 == bytes.size()) {
        uint32_t n = (uint32_t(uint8_t(bytes[i])) << 16) | (uint32_t(uint8_t(bytes[i + 1])) << 8);
        out += table[(n >> 18) & 63];
        out += table[(n >> 12) & 63];
        out += table[(n >> 6) & 63];
        out += '=';
    }
    return out;
}

// The concatenated character data of an element (text and CDATA children).
std::string elementText(const pugi::xml_node& node)
{
    pugi::xml_node first = node.first_child();
    if (first && !first.next_sibling() && (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata))
        return first.value();
    std::string out;
    for (pugi::xml_node c = first; c; c = c.next_sibling())
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
            out += c.value();
    return out;
}

constexpr int kMaxDepth = 256;

// Converts one value element; false when the element is not a valid value.
bool convert(const pugi::xml_node& node, Value& out, int depth)
{
    if (depth > kMaxDepth)
        return false;
    const char* name = node.name();
    switch (name[0]) {
    case 'd':
        if (std::strcmp(name, "dict") == 0) {
            auto dict = Dictionary::create();
            for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
                if (c.type() != pugi::node_element)
                    continue;
                if (std::strcmp(c.name(), "key") != 0)
                    return false;
                std::string key = elementText(c);
                pugi::xml_node v = c.next_sibling();
                while (v && v.type() != pugi::node_element)
                    v = v.next_sibling();
                if (!v)
                    return false;
                Value value;
                if (!convert(v, value, depth + 1))
                    return false;
                dict->set(std::move(key), std::move(value));
                c = v;
            }
            out = Value(dict);
            return true;
        }
        if (std::strcmp(name, "data") == 0) {
            auto bytes = base64Decode(elementText(node));
            if (!bytes)
                return false;
            out = Value(Data{std::move(*bytes)});
            return true;
        }
        if (std::strcmp(name, "date") == 0) {
            out = Value(Date{std::string(trim(elementText(node)))});
            return true;
        }
        return false;
    case 's':
        if (std::strcmp(name, "string") == 0) {
            out = Value(elementText(node));
            return true;
        }
        return false;
    case 'i':
        if (std::strcmp(name, "integer") == 0) {
            auto i = parseIntegerText(elementText(node));
            if (!i)
                return false;
            out = Value(*i);
            return true;
        }
        return false;
    case 'r':
        if (std::strcmp(name, "real") == 0) {
            auto d = parseReal(elementText(node));
            if (!d)
                return false;
            out = Value(*d);
            return true;
        }
        return false;
    case 't':
        if (std::strcmp(name, "true") == 0) {
            out = Value(true);
            return true;
        }
        return false;
    case 'f':
        if (std::strcmp(name, "false") == 0) {
            out = Value(false);
            return true;
        }
        return false;
    case 'a':
        if (std::strcmp(name, "array") == 0) {
            auto array = std::make_shared<Array>();
            for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
                if (c.type() != pugi::node_element)
                    continue;
                Value value;
                if (!convert(c, value, depth + 1))
                    return false;
                array->push_back(std::move(value));
            }
            out = Value(array);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void setError(ReadError* error, ReadError e)
{
    if (error)
        *error = e;
}

// Appends text with the XML escapes; characters XML cannot carry are
// dropped and invalid UTF-8 becomes U+FFFD, so the output is always a
// well-formed document.
void appendEscaped(std::string& out, std::string_view s)
{
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        size_t run = i;
        while (run < n) {
            unsigned char c = static_cast<unsigned char>(s[run]);
            if (c < 0x20 || c >= 0x80 || c == '&' || c == '<' || c == '>')
                break;
            ++run;
        }
        out.append(s.data() + i, run - i);
        i = run;
        if (i >= n)
            break;
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == '&') {
            out += "&amp;";
            ++i;
        } else if (c == '<') {
            out += "&lt;";
            ++i;
        } else if (c == '>') {
            out += "&gt;";
            ++i;
        } else if (c < 0x20) {
            if (c == '\t' || c == '\n')
                out += char(c);
            else if (c == '\r')
                out += "&#13;";
            ++i;
        } else {
            // A multi-byte UTF-8 sequence: copied when XML can carry it.
            const size_t len = xmlCharSequenceLength(s, i);
            if (len != 0) {
                out.append(s.data() + i, len);
                i += len;
            } else {
                out += "\xEF\xBF\xBD";
                ++i;
            }
        }
    }
}

void appendIndent(std::string& out, int depth)
{
    out.append(size_t(depth), '\t');
}

void writeValue(std::string& out, const Value& v, int depth)
{
    switch (v.type()) {
    case Type::None:
        out += "<string></string>\n";
        break;
    case Type::String:
        out += "<string>";
        appendEscaped(out, *v.string());
        out += "</string>\n";
        break;
    case Type::Integer: {
        char buf[32];
        auto r = std::to_chars(buf, buf + sizeof buf, *v.integer());
        out += "<integer>";
        out.append(buf, r.ptr);
        out += "</integer>\n";
        break;
    }
    case Type::Real: {
        double d = *v.real();
        out += "<real>";
        if (std::isnan(d))
            out += "nan";
        else if (std::isinf(d))
            out += d > 0 ? "+infinity" : "-infinity";
        else {
            char buf[40];
            auto r = std::to_chars(buf, buf + sizeof buf, d);
            out.append(buf, r.ptr);
        }
        out += "</real>\n";
        break;
    }
    case Type::Boolean:
        out += *v.boolean() ? "<true/>\n" : "<false/>\n";
        break;
    case Type::Date:
        out += "<date>";
        appendEscaped(out, v.date()->iso8601);
        out += "</date>\n";
        break;
    case Type::Data:
        out += "<data>";
        out += base64Encode(v.data()->bytes);
        out += "</data>\n";
        break;
    case Type::Array: {
        auto a = v.array();
        if (!a || a->empty()) {
            out += "<array/>\n";
            break;
        }
        out += "<array>\n";
        for (const auto& e : *a) {
            appendIndent(out, depth + 1);
            writeValue(out, e, depth + 1);
        }
        appendIndent(out, depth);
        out += "</array>\n";
        break;
    }
    case Type::Dictionary: {
        auto d = v.dictionary();
        if (!d || d->empty()) {
            out += "<dict/>\n";
            break;
        }
        out += "<dict>\n";
        for (const auto& [k, e] : d->entries()) {
            appendIndent(out, depth + 1);
            out += "<key>";
            appendEscaped(out, k);
            out += "</key>\n";
            appendIndent(out, depth + 1);
            writeValue(out, e, depth + 1);
        }
        appendIndent(out, depth);
        out += "</dict>\n";
        break;
    }
    }
}

}  // namespace

std::optional<int64_t> parseIntegerText(std::string_view s)
{
    s = trim(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty())
        return std::nullopt;
    uint64_t u = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), u, base);
    if (ec != std::errc() || p != s.data() + s.size())
        return std::nullopt;
    if (negative) {
        if (u > uint64_t(INT64_MAX) + 1)
            return std::nullopt;
        return int64_t(0 - u);
    }
    return int64_t(u);
}

Value parseXml(std::string_view text, ReadError* error)
{
    setError(error, ReadError::None);
    pugi::xml_document doc;
    auto result = doc.load_buffer(text.data(), text.size(),
                                  pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
    if (!result) {
        setError(error, ReadError::NotParsable);
        return {};
    }
    pugi::xml_node root = doc.document_element();
    if (std::strcmp(root.name(), "plist") == 0) {
        root = root.first_child();
        while (root && root.type() != pugi::node_element)
            root = root.next_sibling();
    }
    Value value;
    if (!root || !convert(root, value, 0)) {
        setError(error, ReadError::NotParsable);
        return {};
    }
    return value;
}

Value readXmlFile(const std::string& path, ReadError* error)
{
    setError(error, ReadError::None);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        setError(error, errno == ENOENT || errno == ENOTDIR ? ReadError::NotFound : ReadError::NotReadable);
        return {};
    }
    std::string text;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0)
        text.reserve(size_t(st.st_size));
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            setError(error, ReadError::NotReadable);
            return {};
        }
        if (n == 0)
            break;
        text.append(buf, size_t(n));
    }
    ::close(fd);
    return parseXml(text, error);
}

std::string toXml(const Value& root)
{
    std::string out(kXmlHeader);
    writeValue(out, root, 0);
    out += "</plist>\n";
    return out;
}

}  // namespace plist
