#include "filter/JobOptions.h"

namespace colourfilter {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

}  // namespace

std::map<std::string, std::string> parseJobOptions(std::string_view text)
{
    std::map<std::string, std::string> out;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        while (i < n && isSpace(text[i]))
            ++i;
        const std::size_t nameStart = i;
        while (i < n && !isSpace(text[i]) && text[i] != '=')
            ++i;
        std::string name(text.substr(nameStart, i - nameStart));
        if (name.empty()) {
            ++i;  // a stray '='
            continue;
        }
        if (i >= n || text[i] != '=') {
            if (name.starts_with("no") && name.size() > 2)
                out[name.substr(2)] = "false";
            else
                out[name] = "true";
            continue;
        }
        ++i;  // '='
        std::string value;
        if (i < n && (text[i] == '\'' || text[i] == '"')) {
            // A quoted value ends at its closing quote.
            const char quote = text[i++];
            for (; i < n && text[i] != quote; ++i) {
                if (text[i] == '\\' && i + 1 < n)
                    ++i;
                value += text[i];
            }
            ++i;
        } else if (i < n && text[i] == '{') {
            // A collection is kept as written, quotes and all.
            int depth = 0;
            char quote = 0;
            for (; i < n; ++i) {
                const char c = text[i];
                value += c;
                if (c == '\\' && i + 1 < n)
                    value += text[++i];
                else if (quote)
                    quote = c == quote ? 0 : quote;
                else if (c == '\'' || c == '"')
                    quote = c;
                else if (c == '{')
                    ++depth;
                else if (c == '}' && --depth == 0) {
                    ++i;
                    break;
                }
            }
        } else {
            for (; i < n && !isSpace(text[i]); ++i) {
                if (text[i] == '\\' && i + 1 < n)
                    ++i;
                value += text[i];
            }
        }
        out[name] = value;
    }
    return out;
}

}  // namespace colourfilter
