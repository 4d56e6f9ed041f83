// The list-file reader on arbitrary bytes, in both reading modes. A read that
// fails leaves the caller's lists exactly as they were; a read that succeeds
// gives packed lists of at most 500 entries with NUL-terminated names.
#include "FuzzInvariant.h"

#include "profilelist/ListFileReader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (profilelist::ReadMode mode : {profilelist::ReadMode::Plain, profilelist::ReadMode::Pap}) {
        auto lists = std::make_unique<ProfileList[]>(3);
        auto before = std::make_unique<ProfileList[]>(3);
        std::memset(lists.get(), 0, sizeof(ProfileList) * 3);
        // A marker in one slot shows whether a failed read touched the lists.
        lists[1].litem[499].iIndexOnDevice = 0x5A5A;
        std::memcpy(before.get(), lists.get(), sizeof(ProfileList) * 3);
        ProfileList* pointers[kProfileClassCount] = {&lists[0], &lists[1], &lists[2]};

        const profilelist::ReadStatus status = profilelist::readListText(text, pointers, mode);
        if (status != profilelist::ReadStatus::Ok) {
            FUZZ_REQUIRE(std::memcmp(lists.get(), before.get(), sizeof(ProfileList) * 3) == 0);
            continue;
        }
        for (int c = 0; c < kProfileClassCount; ++c) {
            const ProfileList& list = lists[c];
            FUZZ_REQUIRE(list.iNum >= 0 && list.iNum <= kProfileListCapacity);
            for (int i = 0; i < kProfileListCapacity; ++i) {
                const ProfileListItem& item = list.litem[i];
                FUZZ_REQUIRE(std::memchr(item.FileName, '\0', sizeof item.FileName) != nullptr);
                FUZZ_REQUIRE(std::memchr(item.ProfileName, '\0', sizeof item.ProfileName) != nullptr);
                if (mode == profilelist::ReadMode::Pap)
                    FUZZ_REQUIRE(item.iInMenu != kStateDeviceHiddenConfirmed &&
                                 item.iInMenu != kStateDeviceShownConfirmed);
            }
        }
    }
    return 0;
}
