#include "filter/QueuePpd.h"

#include "colormodel/ColorOptionTable.h"

namespace colourfilter {

std::unique_ptr<QueuePpd> QueuePpd::open(const char* path, std::string* error)
{
    if (!path || !*path) {
        *error = "no PPD (PPD is not set)";
        return nullptr;
    }
    ppd_file_t* ppd = ppdOpenFile(path);
    if (!ppd) {
        int line = 0;
        const ppd_status_t status = ppdLastError(&line);
        *error = std::string("cannot read the PPD ") + path + ": " + ppdErrorString(status) + " (line " +
                 std::to_string(line) + ")";
        return nullptr;
    }
    return std::unique_ptr<QueuePpd>(new QueuePpd(ppd));
}

colormodel::OfferedOptions QueuePpd::colorOptions() const
{
    colormodel::OfferedOptions out;
    for (const colormodel::ColorOption& model : colormodel::kColorOptions) {
        ppd_option_t* option = ppdFindOption(ppd_.get(), model.keyword);
        if (!option)
            continue;
        colormodel::OfferedOption& o = out[model.keyword];
        o.defaultChoice = option->defchoice;
        for (int i = 0; i < option->num_choices; ++i)
            o.choices.emplace_back(option->choices[i].choice);
    }
    return out;
}

std::optional<std::string> QueuePpd::code(const std::string& option, const std::string& choice) const
{
    ppd_choice_t* c = ppdFindChoice(ppdFindOption(ppd_.get(), option.c_str()), choice.c_str());
    if (!c)
        return std::nullopt;
    return std::string(c->code ? c->code : "");
}

}  // namespace colourfilter
