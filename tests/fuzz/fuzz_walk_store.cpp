// The walk's storing of variables: arbitrary OIDs (inside the profile table
// and not), types and value lengths go into the spool list. Nothing is
// written outside its 500 slots, names stay cut to 31 bytes, and iNum counts
// only the index variables of rows 1 to 500.
#include "FuzzInvariant.h"

#include "discovery/MibWalkSnmp.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Reads the input as a list of variables:
//   flags (bit 0: OID starts with the table entry), OID length, sub-ids
//   (4 bytes each), type, value length (2 bytes), value bytes.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint32_t word()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | byte();
        return value;
    }
    std::vector<uint8_t> bytes(size_t n)
    {
        n = std::min(n, size_ - std::min(at_, size_));
        std::vector<uint8_t> out(data_ + at_, data_ + at_ + n);
        at_ += n;
        return out;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

constexpr oid kEntry[] = {1, 3, 6, 1, 4, 1, 71362, 1, 1, 1, 1, 6, 13, 1, 1};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::memset(&spoolListOfThisThread(), 0, sizeof(ProfileList));
    Input in(data, size);
    int indexVariables = 0;
    while (!in.empty()) {
        const uint8_t flags = in.byte();
        std::vector<oid> name;
        if (flags & 1)
            name.assign(std::begin(kEntry), std::end(kEntry));
        const size_t extra = in.byte() % 8;
        for (size_t i = 0; i < extra && name.size() < MAX_OID_LEN; ++i)
            name.push_back((flags & 2) ? in.byte() : in.word());
        const u_char type = in.byte();
        const size_t length = (size_t(in.byte()) << 8) | in.byte();
        std::vector<uint8_t> value = in.bytes(length);
        long integer = 0;
        if (!value.empty())
            std::memcpy(&integer, value.data(), std::min(value.size(), sizeof integer));

        netsnmp_variable_list var{};
        var.name = name.data();
        var.name_length = name.size();
        var.type = type;
        // As the SNMP library hands them over: an INTEGER always points to a
        // long, other types to their bytes.
        if (type == ASN_INTEGER) {
            var.val.integer = &integer;
            var.val_len = sizeof integer;
        } else {
            var.val.string = value.empty() ? nullptr : value.data();
            var.val_len = value.size();
        }
        const int before = spoolListOfThisThread().iNum;
        vSpoolPlist(name.data(), name.size(), &var);
        if (spoolListOfThisThread().iNum != before) {
            ++indexVariables;
            FUZZ_REQUIRE(name.size() >= 18 && name[15] == 1 && name[17] >= 1 && name[17] <= 500);
        }
    }
    FUZZ_REQUIRE(spoolListOfThisThread().iNum == indexVariables);
    for (const ProfileListItem& item : spoolListOfThisThread().litem) {
        FUZZ_REQUIRE(std::strlen(item.FileName) <= 31);
        FUZZ_REQUIRE(std::strlen(item.ProfileName) <= 31);
        FUZZ_REQUIRE(item.iInMenu == 0);
    }
    return 0;
}
