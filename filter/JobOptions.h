// The job's options as the scheduler passes them to a filter (argument 5):
// "name=value" pairs separated by white space; a value quoted with ' or "
// (up to the closing quote), a {collection} kept as written, or a word up to
// white space, a backslash escaping the next character; a bare "name" means
// name=true and "noname" name=false. A later pair replaces an earlier one of
// the same name. Read as libcups reads them.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace colourfilter {

std::map<std::string, std::string> parseJobOptions(std::string_view text);

}  // namespace colourfilter
