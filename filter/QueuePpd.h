// What the colour filter needs of the queue's PPD: the colour options it
// offers (choices in PPD order, default) and each choice's invocation code.
#pragma once

#include "colormodel/JobColorOptions.h"

#include <cups/ppd.h>
#include <memory>
#include <optional>
#include <string>

namespace colourfilter {

class QueuePpd {
public:
    // Opens the PPD; null with a message (libcups's reason and line) when it
    // cannot be read.
    static std::unique_ptr<QueuePpd> open(const char* path, std::string* error);

    // The colour options of the model that this PPD offers.
    colormodel::OfferedOptions colorOptions() const;
    // The invocation code of a choice, or nothing when the PPD lacks it.
    std::optional<std::string> code(const std::string& option, const std::string& choice) const;

private:
    struct Closer {
        void operator()(ppd_file_t* p) const { ppdClose(p); }
    };
    explicit QueuePpd(ppd_file_t* ppd) : ppd_(ppd) {}
    std::unique_ptr<ppd_file_t, Closer> ppd_;
};

}  // namespace colourfilter
