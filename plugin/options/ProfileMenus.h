// Helpers of the profile menus, shared with the profile window.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

struct ProfileListItem;

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

// The list a row's profile class draws on: 1 -> RGB, 2 -> DST, 3 -> SIM;
// -1 for a row without profile items.
int profileClassIndex(int16_t profileClass);

// "FILE(NAME)Location"; a null string when it cannot be formed.
QString profileItemTitle(const ProfileListItem& item);

// The storage prefix of the entry's location followed by its file name.
std::string profileDevicePath(const ProfileListItem& item);

// Each byte as two characters 0x30 + high nibble, 0x30 + low nibble.
std::string encodeNibbleText(const std::string& bytes);
// Pairs (h, l) -> ((h << 4) + l - 0x30) mod 256; an odd last character pairs with NUL.
std::string decodeNibbleText(const std::string& text);

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
