#include "platform/plist/PlistXml.h"

#include "platform/plist/PlistXmlCore.h"

#include <pugixml.hpp>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>

namespace plist {

namespace {

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

constexpr int kMaxDepth = 256;

// Converts value elements into values; `tooDeep` tells a document nested
// deeper than kMaxDepth from a malformed one.
struct Converter {
    std::deque<std::string> joined;
    bool tooDeep = false;

    std::string_view text(const pugi::xml_node& node) { return core::elementText(node, joined); }
    bool convert(const pugi::xml_node& node, Value& out, int depth);
};

// Converts one value element; false when the element is not a valid value.
bool Converter::convert(const pugi::xml_node& node, Value& out, int depth)
{
    if (depth > kMaxDepth) {
        tooDeep = true;
        return false;
    }
    const char* name = node.name();
    switch (name[0]) {
    case 'd':
        if (std::strcmp(name, "dict") == 0) {
            auto dict = Dictionary::create();
            for (pugi::xml_node c = core::firstElement(node); c; c = core::nextElement(c)) {
                if (!core::isNamed(c, "key"))
                    return false;
                std::string key(text(c));
                pugi::xml_node v = core::nextElement(c);
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
            auto bytes = base64Decode(text(node));
            if (!bytes)
                return false;
            out = Value(Data{std::move(*bytes)});
            return true;
        }
        if (std::strcmp(name, "date") == 0) {
            out = Value(Date{std::string(core::trimSpace(text(node)))});
            return true;
        }
        return false;
    case 's':
        if (std::strcmp(name, "string") == 0) {
            out = Value(text(node));
            return true;
        }
        return false;
    case 'i':
        if (std::strcmp(name, "integer") == 0) {
            const std::string_view t = core::trimSpace(text(node));
            const auto i = parseIntegerText(t);
            if (!i)
                return false;
            // Above the signed range: an unsigned writer's value, kept as such.
            out = *i < 0 && t.front() != '-' ? Value::unsignedInteger(uint64_t(*i)) : Value(*i);
            return true;
        }
        return false;
    case 'r':
        if (std::strcmp(name, "real") == 0) {
            auto d = core::parseRealText(text(node));
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
            for (pugi::xml_node c = core::firstElement(node); c; c = core::nextElement(c)) {
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

void appendEscaped(std::string& out, std::string_view s)
{
    core::escapeText(s, [&](std::string_view piece) { out.append(piece); });
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
        auto r = v.isUnsignedInteger() ? std::to_chars(buf, buf + sizeof buf, uint64_t(*v.integer()))
                                       : std::to_chars(buf, buf + sizeof buf, *v.integer());
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
    s = core::trimSpace(s);
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

namespace {

Value parseLoaded(std::vector<char>& text, ReadResult* result)
{
    pugi::xml_document doc;
    ReadResult r = core::parseDocument(doc, text);
    Value value;
    Converter converter;
    const pugi::xml_node top = r.error == ReadError::None ? core::topValue(doc) : pugi::xml_node();
    if (r.error == ReadError::None && (!top || !converter.convert(top, value, 0))) {
        r.error = converter.tooDeep ? ReadError::TooDeep : ReadError::NotParsable;
        r.detail = top ? "" : "no value inside <plist>";
        value = Value();
    }
    if (result)
        *result = std::move(r);
    return value;
}

}  // namespace

Value parseXml(std::string_view text, ReadResult* result)
{
    std::vector<char> buffer(text.begin(), text.end());
    return parseLoaded(buffer, result);
}

Value readXmlFile(const std::string& path, ReadResult* result)
{
    std::vector<char> text;
    ReadResult loaded = core::loadDocument(path, text);
    if (loaded.error == ReadError::None)
        return parseLoaded(text, result);
    if (result)
        *result = std::move(loaded);
    return {};
}

std::string describe(const ReadResult& r)
{
    switch (r.error) {
    case ReadError::None:
        return {};
    case ReadError::NotFound:
    case ReadError::NotReadable:
        return r.systemError ? std::strerror(r.systemError) : "cannot be read";
    case ReadError::NotRegular:
        return r.systemError ? std::strerror(r.systemError) : "not a regular file";
    case ReadError::TooLarge:
        return "larger than " + std::string(core::kMaxDocumentSizeText);
    case ReadError::Empty:
        return "an empty file";
    case ReadError::Binary:
        return "a binary property list, not XML";
    case ReadError::UnknownEncoding:
        return "declares the encoding \"" + r.detail + "\", which cannot be converted";
    case ReadError::NotParsable:
        return "not a well-formed XML property list" + (r.detail.empty() ? "" : " (" + r.detail + ")");
    case ReadError::TooDeep:
        return "nested deeper than " + std::to_string(kMaxDepth) + " levels";
    }
    return "unknown error";
}

std::string toXml(const Value& root)
{
    std::string out(kXmlHeader);
    writeValue(out, root, 0);
    out += "</plist>\n";
    return out;
}

}  // namespace plist
