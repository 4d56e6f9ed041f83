// Nibble text of ticket-added profile paths: decoding any text is safe, and
// decoding what encoding made gives the bytes back.
#include "FuzzInvariant.h"

#include "plugin/options/ProfileMenus.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace pde = pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string decoded = pde::decodeNibbleText(bytes);
    FUZZ_REQUIRE(decoded.size() == (bytes.size() + 1) / 2);

    const std::string encoded = pde::encodeNibbleText(bytes);
    FUZZ_REQUIRE(encoded.size() == bytes.size() * 2);
    for (char c : encoded)
        FUZZ_REQUIRE(static_cast<unsigned char>(c) >= 0x30 && static_cast<unsigned char>(c) <= 0x3F);
    FUZZ_REQUIRE(pde::decodeNibbleText(encoded) == bytes);
    return 0;
}
