// What the colour filter needs of the queue's PPD: the colour options it
// offers (choices in PPD order, default) and each choice's invocation code.
//
// The filter runs for every job, so it reads the PPD itself instead of
// loading libcups and its dependencies: the main keywords of UI options
// (*OpenUI/*JCLOpenUI ... *CloseUI), their *Default lines and their choice
// lines with quoted code (which may span lines). Everything else in the file
// is skipped. Options are found as libcups finds them: only inside a UI
// block, the first block of a keyword counting.
#pragma once

#include "colormodel/JobColorOptions.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace colourfilter {

class QueuePpd {
public:
    // Reads the PPD; null with a message when it cannot be read or is not a
    // PPD (no *PPD-Adobe line first, a quoted value without its end).
    static std::unique_ptr<QueuePpd> open(const char* path, std::string* error);
    // The same from the file's text (`name` for messages).
    static std::unique_ptr<QueuePpd> parse(const std::string& text, const std::string& name, std::string* error);

    // The colour options of the model that this PPD offers.
    colormodel::OfferedOptions colorOptions() const;
    // The invocation code of a choice, or nothing when the PPD lacks it.
    std::optional<std::string> code(const std::string& option, const std::string& choice) const;

private:
    struct Option {
        std::string defaultChoice;
        std::vector<std::pair<std::string, std::string>> choices;  // keyword, code
    };
    std::map<std::string, Option, std::less<>> options_;
};

}  // namespace colourfilter
