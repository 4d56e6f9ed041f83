// The rx8240 PPD made from the colour model: the device part as written
// (page sizes, resolution, fonts), then the colour options in one group
// with the model's choices, defaults (preset 0's for the advanced options)
// and invocation code, the rules' constraint lines, the filter that imposes
// the model on every job, and the translation of every group, option and
// choice text into each catalogue's language.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace colormodel {

// English text -> translated text, one language.
using Catalogue = std::map<std::string, std::string>;

struct PpdLanguage {
    std::string code;  // the PPD's language code ("de", "fr", "ja")
    Catalogue texts;
};

// Reads the translations of context "Localizable" from a translation source
// (.ts) file; false with a message when it cannot be read.
bool readCatalogue(const std::string& path, Catalogue* out, std::string* error);

// The PPD text: `device` (the device part, beginning with *PPD-Adobe) with
// the colour part added. False with a message naming every text a language
// lacks: a PPD that speaks a language speaks it for every text.
bool generatePpd(const std::string& device, const std::vector<PpdLanguage>& languages, std::string* ppd,
                 std::string* error);

// The filter every PostScript job passes on its way to the printer.
inline constexpr const char* kFilterName = "rx8240-colour";

}  // namespace colormodel
