// Owners of libcups's allocations, for the host's files that talk to CUPS.
#pragma once

#include <cups/cups.h>
#include <memory>
#include <string>

namespace pdehost {

struct IppDeleter {
    void operator()(ipp_t* p) const { ippDelete(p); }
};
using IppHandle = std::unique_ptr<ipp_t, IppDeleter>;

struct DestDeleter {
    void operator()(cups_dest_t* d) const { cupsFreeDests(1, d); }
};
using DestHandle = std::unique_ptr<cups_dest_t, DestDeleter>;

// An owned option array as libcups builds it.
class OptionArray {
public:
    OptionArray() = default;
    OptionArray(const OptionArray&) = delete;
    OptionArray& operator=(const OptionArray&) = delete;
    ~OptionArray() { cupsFreeOptions(count_, options_); }
    void add(const std::string& name, const std::string& value)
    {
        count_ = cupsAddOption(name.c_str(), value.c_str(), count_, &options_);
    }
    int count() const { return count_; }
    cups_option_t* options() const { return options_; }

private:
    int count_ = 0;
    cups_option_t* options_ = nullptr;
};

// The user's destinations as cupsGetDests2 gives them, owned whole.
class DestList {
public:
    DestList() { count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests); }
    DestList(const DestList&) = delete;
    DestList& operator=(const DestList&) = delete;
    ~DestList() { cupsFreeDests(count, dests); }
    // The destination; null when the list has none of that name and instance.
    cups_dest_t* find(const char* name, const char* instance) const
    {
        return cupsGetDest(name, instance, count, dests);
    }

    int count = 0;
    cups_dest_t* dests = nullptr;
};

}  // namespace pdehost
