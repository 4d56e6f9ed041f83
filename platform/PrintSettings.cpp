#include "platform/PrintSettings.h"

#include "platform/plist/PlistXml.h"

#include <cstdio>
#include <fstream>

namespace rx {

std::vector<std::pair<std::string, std::string>> PrintSettings::stringEntries() const
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& [key, value] : root_->entries())
        if (const std::string* s = value.string())
            out.emplace_back(key, *s);
    return out;
}

bool PrintSettings::readFile(const std::string& path, std::string* why)
{
    plist::ReadResult result;
    plist::Value v = plist::readXmlFile(path, &result);
    auto dict = v.dictionary();
    if (!dict) {
        if (why)
            *why = v.isNone() ? plist::describe(result) : "its root is not a dictionary";
        return false;
    }
    root_ = dict;
    return true;
}

std::string PrintSettings::toXml() const
{
    return plist::toXml(plist::Value(root_));
}

bool PrintSettings::writeFile(const std::string& path) const
{
    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out << toXml();
        out.close();
        if (!out) {
            std::remove(tmp.c_str());
            return false;
        }
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

}  // namespace rx
