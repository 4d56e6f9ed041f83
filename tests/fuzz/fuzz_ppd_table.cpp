// The PPD-to-table path on mutated PPD files: libcups parses the bytes, then
// every option found gets its UI list through the panel's code, under each
// text encoding the table knows (libcups itself reports UTF-8 for the PPDs it
// converts, so the encoding is also set by hand). Every list holds one entry
// per choice.
#include "FuzzInvariant.h"

#include "plugin/options/PDECommon.h"

#include <cups/ppd.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pde = pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846;

namespace {

struct PpdCloser {
    void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};

const char* const kEncodings[] = {nullptr, "ISOLatin1", "WindowsANSI", "JIS83-RKSJ", "UTF-8", "MacStandard"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int fd = memfd_create("fuzz.ppd", MFD_CLOEXEC);
    FUZZ_REQUIRE(fd >= 0);
    FUZZ_REQUIRE(write(fd, data + 1, size - 1) == static_cast<ssize_t>(size - 1) || size == 1);
    lseek(fd, 0, SEEK_SET);
    std::unique_ptr<ppd_file_t, PpdCloser> ppd(ppdOpenFd(fd));
    close(fd);
    if (!ppd)
        return 0;
    // The encoding libcups reported, or one chosen by the first byte.
    char* reported = ppd->lang_encoding;
    const size_t choice = data[0] % (std::size(kEncodings) + 1);
    if (choice < std::size(kEncodings))
        ppd->lang_encoding = const_cast<char*>(kEncodings[choice]);

    int groupCount = 0;
    for (ppd_group_t* group = ppd->groups; groupCount < ppd->num_groups; ++group, ++groupCount) {
        for (int o = 0; o < group->num_options; ++o) {
            const ppd_option_t& option = group->options[o];
            pde::UIList* list = nullptr;
            const pde::OSStatus status = pde::PDECommon::commonGetPPDArrayForUIOption(ppd.get(), option.keyword, &list);
            std::unique_ptr<pde::UIList> owned(list);
            if (status != pde::kNoErr)
                continue;
            FUZZ_REQUIRE(owned != nullptr);
            // One entry per choice of the option the keyword finds (keywords
            // are matched without case, so it may be another one).
            const ppd_option_t* found = ppdFindOption(ppd.get(), option.keyword);
            FUZZ_REQUIRE(found != nullptr);
            FUZZ_REQUIRE(owned->size() == (found->num_choices > 0 ? found->num_choices : 0));
        }
    }
    ppd->lang_encoding = reported;  // libcups frees what it allocated
    return 0;
}
