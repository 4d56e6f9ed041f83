#include "colormodel/PpdGenerator.h"

#include "colormodel/ColorOptionTable.h"
#include "colormodel/JobColorOptions.h"
#include "colormodel/PpdConstraintLines.h"

#include <pugixml.hpp>
#include <set>
#include <sstream>

namespace colormodel {

namespace {

// The invocation code of a choice: PostScript that records the choice in
// userdict under the option's keyword, which a printer's setup can read.
std::string invocationCode(const std::string& option, const std::string& choice)
{
    return "userdict /" + option + " (" + choice + ") put";
}

// Order of the colour options in the job's setup, after the page size (10).
constexpr int kFirstOrder = 20;

// A text to translate: the PPD line's keyword part after "*ll." and the
// English text.
struct Text {
    std::string key;   // "Translation ColorPage", "QVQuickColor Standard", ...
    std::string english;
};

// The translatable texts of the device part: each option of an OpenUI block
// and each of its choices.
void deviceTexts(const std::string& device, std::vector<Text>* out)
{
    std::istringstream in(device);
    std::string line, option;
    while (std::getline(in, line)) {
        if (line.rfind("*OpenUI *", 0) == 0) {
            const std::size_t slash = line.find('/'), colon = line.find(':', 9);
            if (slash == std::string::npos || colon == std::string::npos || slash > colon)
                continue;
            option = line.substr(9, slash - 9);
            out->push_back({"Translation " + option, line.substr(slash + 1, colon - slash - 1)});
        } else if (line.rfind("*CloseUI:", 0) == 0) {
            option.clear();
        } else if (!option.empty() && line.rfind("*" + option + " ", 0) == 0) {
            const std::size_t slash = line.find('/'), colon = line.find(':');
            if (slash != std::string::npos && colon != std::string::npos && slash < colon)
                out->push_back({line.substr(1, slash - 1), line.substr(slash + 1, colon - slash - 1)});
        }
    }
}

void colorTexts(std::vector<Text>* out)
{
    out->push_back({std::string("Translation ") + kColorGroupKeyword, kColorGroupText});
    for (const ColorOption& option : kColorOptions) {
        out->push_back({std::string("Translation ") + option.keyword, option.text});
        for (const ColorChoice& choice : option.choices)
            out->push_back({std::string(option.keyword) + " " + choice.keyword, choice.text});
    }
}

void colorOptions(std::string* ppd)
{
    const OfferedOptions defaults = modelOptions();
    *ppd += std::string("*OpenGroup: ") + kColorGroupKeyword + "/" + kColorGroupText + "\n";
    int order = kFirstOrder;
    for (const ColorOption& option : kColorOptions) {
        const std::string key = option.keyword;
        const char* ui = option.kind == OptionKind::Boolean ? "Boolean" : "PickOne";
        *ppd += "*OpenUI *" + key + "/" + option.text + ": " + ui + "\n";
        *ppd += "*OrderDependency: " + std::to_string(order++) + " AnySetup *" + key + "\n";
        *ppd += "*Default" + key + ": " + defaults.at(key).defaultChoice + "\n";
        for (const ColorChoice& choice : option.choices)
            *ppd += "*" + key + " " + choice.keyword + "/" + choice.text + ": \"" +
                    invocationCode(key, choice.keyword) + "\"\n";
        *ppd += "*CloseUI: *" + key + "\n";
    }
    *ppd += std::string("*CloseGroup: ") + kColorGroupKeyword + "\n";
}

}  // namespace

bool readCatalogue(const std::string& path, Catalogue* out, std::string* error)
{
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_file(path.c_str());
    if (!parsed) {
        *error = path + ": " + parsed.description();
        return false;
    }
    for (const pugi::xml_node context : doc.child("TS").children("context")) {
        if (std::string(context.child_value("name")) != "Localizable")
            continue;
        for (const pugi::xml_node message : context.children("message")) {
            const pugi::xml_node translation = message.child("translation");
            const std::string type = translation.attribute("type").value();
            if (translation.text().empty() || type == "unfinished" || type == "obsolete" || type == "vanished")
                continue;
            (*out)[message.child_value("source")] = translation.child_value();
        }
    }
    return true;
}

bool generatePpd(const std::string& device, const std::vector<PpdLanguage>& languages, std::string* ppd,
                 std::string* error)
{
    std::vector<Text> texts;
    deviceTexts(device, &texts);
    colorTexts(&texts);

    std::string translations;
    std::set<std::string> missing;
    std::string codes;
    for (const PpdLanguage& language : languages) {
        codes += (codes.empty() ? "" : " ") + language.code;
        for (const Text& text : texts) {
            const auto found = language.texts.find(text.english);
            if (found == language.texts.end()) {
                missing.insert(language.code + ": \"" + text.english + "\"");
                continue;
            }
            translations += "*" + language.code + "." + text.key + "/" + found->second + ": \"\"\n";
        }
    }
    if (!missing.empty()) {
        *error = "the catalogues lack these texts:";
        for (const std::string& m : missing)
            *error += "\n  " + m;
        return false;
    }

    *ppd = device;
    if (!ppd->empty() && ppd->back() != '\n')
        *ppd += '\n';
    *ppd += "*cupsLanguages: \"" + codes + "\"\n";
    *ppd += std::string("*cupsFilter2: \"application/vnd.cups-postscript application/postscript 0 ") + kFilterName +
            "\"\n\n";
    colorOptions(ppd);
    *ppd += "\n*% The colour rules that CUPS can express, from the rule table.\n";
    *ppd += cupsConstraintLines();
    *ppd += "\n*% Translations, from the panel's catalogues.\n";
    *ppd += translations;
    return true;
}

}  // namespace colormodel
