#include "protocol/ArgumentStrings.h"

#include "platform/HexDigit.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

std::string walkReply(int result)
{
    return "iRet=" + std::to_string(result);
}

std::string leaseReply(std::string_view token)
{
    return std::string(kReplyTrue) + std::string(kLeaseMark) + std::string(token);
}

bool isTrueReply(std::string_view reply)
{
    return reply == kReplyTrue || !leaseOfReply(reply).empty();
}

bool isLeaseToken(std::string_view text)
{
    return text.size() == kLeaseTokenSize &&
           text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::string leaseOfReply(std::string_view reply)
{
    const std::string head = std::string(kReplyTrue) + std::string(kLeaseMark);
    return reply.starts_with(head) && isLeaseToken(reply.substr(head.size())) ? std::string(reply.substr(head.size()))
                                                                            : std::string();
}

std::string leaseOfOutput(std::string_view output)
{
    const std::string mark = "=" + std::string(kReplyTrue) + std::string(kLeaseMark);
    const std::size_t at = output.rfind(mark);
    if (at == std::string_view::npos)
        return {};
    const std::string_view token = output.substr(at + mark.size(), kLeaseTokenSize);
    return isLeaseToken(token) ? std::string(token) : std::string();
}

bool isValidUtf8(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Runs of ASCII, the bulk of a list's text, eight bytes at a time.
        std::uint64_t word;
        while (end - p >= 8 && (std::memcpy(&word, p, 8), (word & 0x8080808080808080u) == 0))
            p += 8;
        if (p == end)
            break;
        unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        uint32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        p += extra + 1;
    }
    return true;
}

std::optional<std::string> joinArguments(std::string_view operation,
                                         const std::vector<std::string_view>& arguments)
{
    const std::string name(operation);
    const std::vector<std::string> owned(arguments.begin(), arguments.end());
    std::vector<const char*> values;
    for (const std::string& value : owned)
        values.push_back(value.c_str());
    std::size_t size = 0;
    std::unique_ptr<char, decltype(&std::free)> joined(
        rx_join_arguments(name.c_str(), values.size(), values.data(), &size), std::free);
    if (!joined)
        return std::nullopt;
    return std::string(joined.get(), size);
}

int parseDecimal(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value);
}

namespace {

// The value that ends at `marker`, starting at `from`; absent when the
// marker does not occur at or after `from`.
std::optional<std::string_view> valueBefore(std::string_view argument, std::size_t from,
                                            std::string_view marker, std::size_t* markerEnd)
{
    std::size_t at = argument.find(marker);
    if (at == std::string_view::npos || at < from)
        return std::nullopt;
    *markerEnd = at + marker.size();
    return argument.substr(from, at - from);
}

std::optional<std::string> pathValue(std::optional<std::string_view> value)
{
    if (!value || *value == kNullValue)
        return std::nullopt;
    return std::string(*value);
}

}  // namespace

SwapArgument parseSwapArgument(std::string_view argument)
{
    SwapArgument swap;
    std::size_t afterType = 0;
    if (auto type = valueBefore(argument, 0, kMarkerSwapType, &afterType))
        swap.swapType = *type == kNullValue ? 0 : parseDecimal(*type);
    std::size_t afterCurrent = afterType;
    auto current = valueBefore(argument, afterType, kMarkerCurrent, &afterCurrent);
    swap.currentPath = pathValue(current);
    if (current) {
        std::size_t afterPrevious = 0;
        swap.previousPath = pathValue(valueBefore(argument, afterCurrent, kMarkerPrevious, &afterPrevious));
    }
    return swap;
}

std::optional<UrlAndText> parseUrlAndText(std::string_view argument)
{
    std::size_t at = argument.find(kMarkerUrl);
    if (at == std::string_view::npos)
        return std::nullopt;
    return UrlAndText{std::string(argument.substr(0, at)), std::string(argument.substr(at + kMarkerUrl.size()))};
}

WalkParse parseWalkArgument(std::string_view argument, WalkArgument* out)
{
    std::size_t afterModel = 0;
    auto model = valueBefore(argument, 0, kMarkerModel, &afterModel);
    if (!model)
        return WalkParse::MissingMarker;
    std::size_t afterUser = 0;
    auto user = valueBefore(argument, afterModel, kMarkerUser, &afterUser);
    if (!user)
        return WalkParse::MissingMarker;
    WalkArgument walk;
    walk.modelName = std::string(*model);
    walk.userName = std::string(*user);
    std::string_view rest = argument.substr(afterUser);
    for (std::size_t at; (at = rest.find(kMarkerArg)) != std::string_view::npos;) {
        if (walk.vector.size() == kMaxWalkElements)
            return WalkParse::TooManyElements;
        walk.vector.emplace_back(rest.substr(0, at));
        rest.remove_prefix(at + kMarkerArg.size());
    }
    *out = std::move(walk);
    return WalkParse::Ok;
}

namespace {

bool isUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

}  // namespace

std::string fileUrlFromPath(std::string_view absolutePath)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : absolutePath) {
        if (isUnreserved(c) || c == '/') {
            url.push_back(static_cast<char>(c));
        } else {
            url.push_back('%');
            url.push_back(kHex[c >> 4]);
            url.push_back(kHex[c & 15]);
        }
    }
    return url;
}

std::optional<std::string> pathFromFileUrl(std::string_view url)
{
    constexpr std::string_view kScheme = "file://";
    if (url.size() < kScheme.size())
        return std::nullopt;
    for (std::size_t i = 0; i < kScheme.size(); ++i) {
        char c = url[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != kScheme[i])
            return std::nullopt;
    }
    std::string_view rest = url.substr(kScheme.size());
    std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    std::string_view host = rest.substr(0, slash);
    if (!host.empty() && host != "localhost")
        return std::nullopt;
    rest.remove_prefix(slash);
    if (rest.find_first_of("?#") != std::string_view::npos)
        return std::nullopt;
    std::string path;
    path.reserve(rest.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != '%') {
            path.push_back(rest[i]);
            continue;
        }
        if (i + 2 >= rest.size())
            return std::nullopt;
        int hi = rx::hexDigitValue(rest[i + 1]);
        int lo = rx::hexDigitValue(rest[i + 2]);
        if (hi < 0 || lo < 0 || (hi == 0 && lo == 0))
            return std::nullopt;
        path.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    return path;
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
