#include "filter/QueuePpd.h"

#include "colormodel/ColorOptionTable.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace colourfilter {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// One main-keyword entry: "*Keyword Option/Text: value".
struct Entry {
    std::string_view keyword;  // without the '*'
    std::string_view option;   // the option keyword (or choice); may be empty
    std::string_view value;    // a quoted value without its quotes, or the rest of the line
};

// The entries of a PPD's text, one after another. A quoted value runs to its
// closing quote, over lines.
class EntryReader {
public:
    explicit EntryReader(std::string_view text) : text_(text) {}

    // False at the end, or with `error` set when the text ends inside a
    // quoted value.
    bool next(Entry* e, std::string* error)
    {
        while (pos_ < text_.size()) {
            const std::string_view line = takeLine();
            if (line.size() < 2 || line[0] != '*' || line[1] == '%')
                continue;
            const std::size_t colon = line.find(':');
            const std::string_view head = line.substr(1, colon == std::string_view::npos ? colon : colon - 1);
            const std::size_t space = head.find_first_of(" \t");
            e->keyword = head.substr(0, space);
            e->option = space == std::string_view::npos ? std::string_view() : trim(head.substr(space));
            e->option = e->option.substr(0, e->option.find('/'));
            e->value = colon == std::string_view::npos ? std::string_view() : trim(line.substr(colon + 1));
            if (e->value.empty() || e->value.front() != '"')
                return true;
            // A quoted value: up to the next quote, which may be lines away.
            const std::size_t open = std::size_t(e->value.data() - text_.data()) + 1;
            const std::size_t close = text_.find('"', open);
            if (close == std::string_view::npos) {
                *error = "a quoted value has no end";
                return false;
            }
            e->value = text_.substr(open, close - open);
            if (close > lineEnd_) {
                // The entry ends with the line that holds the closing quote.
                const std::size_t nl = text_.find('\n', close);
                pos_ = nl == std::string_view::npos ? text_.size() : nl + 1;
            }
            return true;
        }
        return false;
    }

private:
    std::string_view takeLine()
    {
        const std::size_t nl = text_.find('\n', pos_);
        lineEnd_ = nl == std::string_view::npos ? text_.size() : nl;
        const std::string_view line = text_.substr(pos_, lineEnd_ - pos_);
        pos_ = lineEnd_ + 1;
        return line;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lineEnd_ = 0;
};

}  // namespace

std::unique_ptr<QueuePpd> QueuePpd::open(const char* path, std::string* error)
{
    if (!path || !*path) {
        *error = "no PPD (PPD is not set)";
        return nullptr;
    }
    std::string text;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    bool ok = fd >= 0;
    struct stat st{};
    if (ok && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ok = false;
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    }
    char buf[65536];
    for (ssize_t n; ok && (n = ::read(fd, buf, sizeof buf)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        else
            text.append(buf, std::size_t(n));
    }
    const int why = errno;
    if (fd >= 0)
        ::close(fd);
    if (!ok) {
        *error = std::string("cannot read the PPD ") + path + ": " + std::strerror(why);
        return nullptr;
    }
    return parse(text, path, error);
}

std::unique_ptr<QueuePpd> QueuePpd::parse(const std::string& text, const std::string& name, std::string* error)
{
    if (text.rfind("*PPD-Adobe:", 0) != 0) {
        *error = "the PPD " + name + " does not begin with *PPD-Adobe";
        return nullptr;
    }
    auto ppd = std::unique_ptr<QueuePpd>(new QueuePpd);
    EntryReader reader(text);
    Entry e;
    std::string problem;
    std::string_view open;  // the option of the UI block being read; "" outside
    bool fresh = false;     // the block is the keyword's first
    std::map<std::string_view, std::string_view> defaults;  // the last *DefaultKey line of each key
    while (reader.next(&e, &problem)) {
        if (e.keyword == "OpenUI" || e.keyword == "JCLOpenUI") {
            // "*OpenUI *Key/Text:" puts the key where a choice would be.
            open = e.option.substr(e.option.starts_with('*') ? 1 : 0);
            fresh = !open.empty() && !ppd->options_.contains(open);
            if (fresh)
                ppd->options_[std::string(open)];
        } else if (e.keyword == "CloseUI" || e.keyword == "JCLCloseUI") {
            open = {};
        } else if (e.keyword.starts_with("Default") && e.option.empty()) {
            defaults[e.keyword.substr(7)] = e.value;
        } else if (fresh && !open.empty() && e.keyword == open && !e.option.empty()) {
            ppd->options_.find(open)->second.choices.emplace_back(e.option, e.value);
        }
    }
    if (!problem.empty()) {
        *error = "cannot read the PPD " + name + ": " + problem;
        return nullptr;
    }
    for (auto& [keyword, option] : ppd->options_)
        if (const auto d = defaults.find(keyword); d != defaults.end())
            option.defaultChoice = d->second;
    return ppd;
}

colormodel::OfferedOptions QueuePpd::colorOptions() const
{
    colormodel::OfferedOptions out;
    for (const colormodel::ColorOption& model : colormodel::kColorOptions) {
        const auto it = options_.find(model.keyword);
        if (it == options_.end())
            continue;
        colormodel::OfferedOption& o = out[model.keyword];
        o.defaultChoice = it->second.defaultChoice;
        for (const auto& [choice, code] : it->second.choices)
            o.choices.push_back(choice);
    }
    return out;
}

std::optional<std::string> QueuePpd::code(const std::string& option, const std::string& choice) const
{
    const auto it = options_.find(option);
    if (it == options_.end())
        return std::nullopt;
    for (const auto& [keyword, code] : it->second.choices)
        if (keyword == choice)
            return code;
    return std::nullopt;
}

}  // namespace colourfilter
