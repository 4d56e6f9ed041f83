// Resolution of a network service (a DNS-SD instance) to its addresses.
// The plug-in uses the Avahi client library; tests put a fake in its place.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rx {

struct ResolvedAddress {
    enum Family { IPv4, IPv6 } family;
    std::array<uint8_t, 16> bytes;  // IPv4 uses the first four
};

class ServiceResolver {
public:
    virtual ~ServiceResolver() = default;
    // The addresses of service `name` of `type` ("_ipp._tcp") in `domain`
    // ("local"); empty when it does not resolve within the time-out.
    virtual std::vector<ResolvedAddress> resolve(const std::string& name, const std::string& type,
                                                 const std::string& domain, double timeoutSeconds) = 0;
};

// The Avahi client resolver; it resolves nothing when no Avahi daemon runs.
std::unique_ptr<ServiceResolver> makeAvahiResolver();

}  // namespace rx
