// Discovery from the plug-in: back up the list, find the device, ask the
// service (through the launcher) to walk it and merge what it reports.
#include "plugin/discovery/PluginDiscovery.h"

#include "discovery/MibWalk.h"
#include "platform/FixedPaths.h"
#include "platform/HexDigit.h"
#include "platform/PrintSession.h"
#include "plugin/options/PDECommon.h"
#include "profilelist/LauncherCalls.h"
#include "profilelist/ProfileList.h"
#include "protocol/ArgumentStrings.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {

const char* const kReadCommunity = "ombrel";
constexpr double kResolveTimeoutSeconds = 1.0;
constexpr size_t kAddressBufferSize = 255;

struct ProtocolPrefix {
    const char* prefix;
    int16_t code;
};
constexpr ProtocolPrefix kProtocols[] = {
    {"mdns://", kProtocolDnssd}, {"dnssd://", kProtocolDnssd}, {"lpd://", kProtocolLpd},
    {"pap://", kProtocolPap},    {"usb://", kProtocolUsb},
};

std::unique_ptr<rx::ServiceResolver>& resolverSlot()
{
    static std::unique_ptr<rx::ServiceResolver> resolver;
    return resolver;
}

rx::ServiceResolver& resolver()
{
    if (!resolverSlot())
        resolverSlot() = rx::makeAvahiResolver();
    return *resolverSlot();
}

// The authority of a URI: what follows "scheme://" up to the path, query or
// fragment.
std::string netLocation(const std::string& uri)
{
    const size_t start = uri.find("://");
    if (start == std::string::npos)
        return {};
    const size_t from = start + 3;
    const size_t end = uri.find_first_of("/?#", from);
    return uri.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

// The host of a URI: its net location without user information and port.
std::string hostName(const std::string& uri)
{
    std::string host = netLocation(uri);
    if (const size_t at = host.rfind('@'); at != std::string::npos)
        host.erase(0, at + 1);
    if (!host.empty() && host.front() == '[')
        return host.substr(1, host.find(']') == std::string::npos ? std::string::npos : host.find(']') - 1);
    if (const size_t colon = host.find(':'); colon != std::string::npos)
        host.erase(colon);
    return host;
}

std::string decodePercentEscapes(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && rx::hexDigitValue(text[i + 1]) >= 0 && rx::hexDigitValue(text[i + 2]) >= 0) {
            out.push_back(char(rx::hexDigitValue(text[i + 1]) * 16 + rx::hexDigitValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos)
            return parts;
        from = at + 1;
    }
}

// "NAME.APP.TRANSPORT.DOMAIN": the service name (escapes decoded), the
// two-label type and the domain, resolved to the first IPv4 address.
std::string dnssdAddress(const std::string& uri)
{
    const std::string host = hostName(uri);
    if (host.empty())
        return {};
    const std::vector<std::string> parts = split(host, '.');
    if (parts.size() < 4)
        return {};
    const std::string name = decodePercentEscapes(parts[0]);
    const std::string type = parts[1] + "." + parts[2];
    for (const rx::ResolvedAddress& a : resolver().resolve(name, type, parts[3], kResolveTimeoutSeconds)) {
        if (a.family != rx::ResolvedAddress::IPv4)
            continue;
        char text[kAddressBufferSize];
        std::snprintf(text, sizeof text, "%d.%d.%d.%d", a.bytes[0], a.bytes[1], a.bytes[2], a.bytes[3]);
        return text;
    }
    return {};
}

// The lpd URI's net location up to its first ":".
std::string lpdAddress(const std::string& uri)
{
    std::string location = netLocation(uri);
    if (location.size() >= kAddressBufferSize)
        location.resize(kAddressBufferSize - 1);
    return location.substr(0, location.find(':'));
}

}  // namespace

void setServiceResolver(std::unique_ptr<rx::ServiceResolver> replacement)
{
    resolverSlot() = std::move(replacement);
}

std::string deviceAddressForUri(const std::string& uri)
{
    switch (PDECommon::commoniGetProtocolByUrl(uri.c_str())) {
    case kProtocolDnssd: return dnssdAddress(uri);
    case kProtocolLpd: return lpdAddress(uri);
    default: return {};
    }
}

int16_t PDECommon::commoniGetProtocolByUrl(const char* uri)
{
    if (!uri)
        return kProtocolOther;
    for (const ProtocolPrefix& p : kProtocols)
        if (std::strncmp(uri, p.prefix, std::strlen(p.prefix)) == 0)
            return p.code;
    return kProtocolOther;
}

int16_t PDECommon::commoniGetProtocol(const rx::PrintSession* session)
{
    const rx::Printer* printer = session ? session->currentPrinter() : nullptr;
    if (!printer || printer->deviceUri.empty())
        return kProtocolOther;
    return commoniGetProtocolByUrl(printer->deviceUri.c_str());
}

int PDECommon::commonGetProfilesFromMIB(const rx::PrintSession* session)
{
    QVPListSwapProfile(kSwapBackup);
    const rx::Printer* printer = session ? session->currentPrinter() : nullptr;
    if (!printer || printer->deviceUri.empty())
        return 0;
    const std::string address = deviceAddressForUri(printer->deviceUri);
    if (address.empty())
        return 0;
    const std::string login = rx::realUserLoginName();
    const std::optional<std::string> output =
        QVPListRunLauncher({std::string(svc::kOpWalk), kPlugInModelName, login, "snmpwalk", "-Os", "-c",
                            kReadCommunity, "-v", "1", address, kProfileTableOid});
    // The walk's result ("mibwalk_XPC=iRet=N") is read but not acted on: the
    // service has merged and written whatever the walk found.
    (void)output;
    return 0;
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
