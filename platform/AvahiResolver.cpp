#include "platform/ServiceResolver.h"

#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-common/error.h>
#include <avahi-common/simple-watch.h>
#include <chrono>
#include <cstring>

namespace rx {

namespace {

struct PollDeleter {
    void operator()(AvahiSimplePoll* p) const { avahi_simple_poll_free(p); }
};
struct ClientDeleter {
    void operator()(AvahiClient* c) const { avahi_client_free(c); }
};
struct ResolverDeleter {
    void operator()(AvahiServiceResolver* r) const { avahi_service_resolver_free(r); }
};

struct Outcome {
    bool done = false;
    std::vector<ResolvedAddress> addresses;
};

void onResolved(AvahiServiceResolver*, AvahiIfIndex, AvahiProtocol, AvahiResolverEvent event, const char*,
                const char*, const char*, const char*, const AvahiAddress* address, uint16_t, AvahiStringList*,
                AvahiLookupResultFlags, void* userdata)
{
    auto* outcome = static_cast<Outcome*>(userdata);
    outcome->done = true;
    if (event != AVAHI_RESOLVER_FOUND || !address)
        return;
    ResolvedAddress a{};
    if (address->proto == AVAHI_PROTO_INET) {
        a.family = ResolvedAddress::IPv4;
        std::memcpy(a.bytes.data(), &address->data.ipv4.address, 4);
    } else {
        a.family = ResolvedAddress::IPv6;
        std::memcpy(a.bytes.data(), address->data.ipv6.address, 16);
    }
    outcome->addresses.push_back(a);
}

class AvahiResolver : public ServiceResolver {
public:
    std::vector<ResolvedAddress> resolve(const std::string& name, const std::string& type, const std::string& domain,
                                         double timeoutSeconds) override
    {
        std::unique_ptr<AvahiSimplePoll, PollDeleter> poll(avahi_simple_poll_new());
        if (!poll)
            return {};
        int error = 0;
        std::unique_ptr<AvahiClient, ClientDeleter> client(
            avahi_client_new(avahi_simple_poll_get(poll.get()), AvahiClientFlags(0), nullptr, nullptr, &error));
        if (!client)
            return {};
        Outcome outcome;
        std::unique_ptr<AvahiServiceResolver, ResolverDeleter> resolver(avahi_service_resolver_new(
            client.get(), AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, name.c_str(), type.c_str(), domain.c_str(),
            AVAHI_PROTO_INET, AvahiLookupFlags(0), onResolved, &outcome));
        if (!resolver)
            return {};
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
        while (!outcome.done) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                break;
            if (avahi_simple_poll_iterate(poll.get(), int(left)) != 0)
                break;
        }
        return outcome.addresses;
    }
};

}  // namespace

std::unique_ptr<ServiceResolver> makeAvahiResolver()
{
    return std::make_unique<AvahiResolver>();
}

}  // namespace rx
