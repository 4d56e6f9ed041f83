#include "service/WalkVector.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

namespace {

constexpr std::string_view kProgramName = "snmpwalk";
constexpr std::string_view kOutputFlags = "abeEfnqQsStTuUvxX";
// "-C" takes any letters: i, c and p switch walk settings, any other letter
// only leaves a diagnostic and the walk goes on.
constexpr std::string_view kWalkFlags = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::size_t kMaxValueSize = 255;

// Transports the agent address may name, and the words that the SNMP library
// would take as a transport when they stand before a ":".
constexpr std::array<std::string_view, 4> kAllowedTransports{"udp", "tcp", "udp6", "tcp6"};

bool allOf(std::string_view text, std::string_view allowed)
{
    return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
}

bool isDigits(std::string_view text)
{
    return allOf(text, "0123456789") && text.size() <= 9;
}

bool inRange(std::string_view text, int low, int high)
{
    if (!isDigits(text))
        return false;
    int value = std::stoi(std::string(text));
    return value >= low && value <= high;
}

bool isPrintable(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F; });
}

bool isHostName(std::string_view host)
{
    return allOf(host, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-_") && host.front() != '-' &&
           host.size() <= 253;
}

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// HOST, HOST:PORT, TRANSPORT:HOST or TRANSPORT:HOST:PORT.
bool isAgentAddress(std::string_view agent)
{
    if (agent.empty() || agent.front() == '-' || agent.size() > kMaxValueSize)
        return false;
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        std::size_t colon = agent.find(':', start);
        parts.push_back(agent.substr(start, colon == std::string_view::npos ? std::string_view::npos : colon - start));
        if (colon == std::string_view::npos)
            break;
        start = colon + 1;
    }
    bool hasTransport = parts.size() >= 2 && std::find(kAllowedTransports.begin(), kAllowedTransports.end(),
                                                       lower(parts[0])) != kAllowedTransports.end();
    std::size_t host = hasTransport ? 1 : 0;
    std::size_t rest = parts.size() - host;
    if (rest < 1 || rest > 2 || !isHostName(parts[host]))
        return false;
    if (rest == 2) {
        if (!inRange(parts[host + 1], 1, 65535))
            return false;
        // Without an explicit transport, "word:port" must not read as a
        // transport name: only host names that contain a dot or a digit.
        if (!hasTransport && parts[host].find_first_of(".0123456789") == std::string_view::npos)
            return false;
    }
    return true;
}

bool isNumericOid(std::string_view oid)
{
    if (!allOf(oid, ".0123456789") || oid.size() > kMaxValueSize)
        return false;
    return oid.find("..") == std::string_view::npos && oid.back() != '.' &&
           oid.find_first_of("0123456789") != std::string_view::npos;
}

}  // namespace

std::string checkWalkVector(const std::vector<std::string>& vector)
{
    if (vector.empty())
        return {};
    if (vector[0] != kProgramName)
        return "program name is not snmpwalk";
    std::size_t i = 1;
    for (; i < vector.size() && !vector[i].empty() && vector[i][0] == '-'; ++i) {
        std::string_view option = vector[i];
        auto value = [&]() -> std::string_view {
            return i + 1 < vector.size() ? std::string_view(vector[++i]) : std::string_view();
        };
        if (option.size() > 2 && option[1] == 'O') {
            if (!allOf(option.substr(2), kOutputFlags))
                return "output flags outside the allowed set";
        } else if (option.size() > 2 && option[1] == 'C') {
            if (!allOf(option.substr(2), kWalkFlags))
                return "walk flags are not letters";
        } else if (option == "-c") {
            std::string_view community = value();
            if (community.empty() || community.front() == '-' || community.size() > 64 || !isPrintable(community))
                return "bad community";
        } else if (option == "-v") {
            std::string_view version = value();
            if (version != "1" && version != "2c")
                return "bad SNMP version";
        } else if (option == "-r") {
            if (!inRange(value(), 0, 5))
                return "retries out of range";
        } else if (option == "-t") {
            if (!inRange(value(), 1, 10))
                return "time-out out of range";
        } else {
            return "option not allowed: " + std::string(option.substr(0, 16));
        }
    }
    if (vector.size() - i != 2)
        return "expected one agent address and one OID";
    if (!isAgentAddress(vector[i]))
        return "bad agent address";
    if (!isNumericOid(vector[i + 1]))
        return "OID is not numeric";
    return {};
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
