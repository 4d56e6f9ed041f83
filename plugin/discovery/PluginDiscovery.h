// The plug-in side of discovery: the resolver it uses for DNS-SD device URIs.
#pragma once

#include "platform/ServiceResolver.h"

#include <memory>
#include <string>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

// Replaces the resolver (tests put a fake in); null restores Avahi.
void setServiceResolver(std::unique_ptr<rx::ServiceResolver> resolver);

// The address discovery would walk for a device URI: the dotted IPv4
// address of a DNS-SD service, the host of an lpd URI without its port;
// empty when there is none (other protocols, no host, no resolution).
std::string deviceAddressForUri(const std::string& uri);

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
