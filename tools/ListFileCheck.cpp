#include "tools/ListFileCheck.h"

#include "platform/plist/PlistXmlCore.h"
#include "profilelist/ListFileReader.h"
#include "profilelist/ProfileList.h"

#include <cstring>
#include <map>
#include <utility>

namespace rxtools {

namespace {

using profilelist::FileClass;

class Findings {
public:
    Findings(const char* className, std::vector<std::string>& out) : className_(className), out_(out) {}
    void add(const std::string& what) { out_.push_back(className_ + (": " + what)); }
    void slot(size_t n, const std::string& what) { add("slot " + std::to_string(n) + ": " + what); }

private:
    std::string className_;
    std::vector<std::string>& out_;
};

bool isUsed(const FileClass::Slot& s)
{
    return s.inMenu && *s.inMenu != kStateEmpty;
}

// A name as the next write stores it: cut as the read cuts it, left out
// when the result is not text an XML file can carry.
void checkName(Findings& f, size_t n, const char* field, const std::optional<std::string>& text)
{
    if (!text)
        return;
    char cut[kProfileNameFieldSize];
    QVPListCopyName(cut, text->data(), text->size());
    const size_t kept = std::strlen(cut);
    if (kept < text->size())
        f.slot(n, std::string(field) + " of " + std::to_string(text->size()) + " bytes is cut to " +
                      std::to_string(kept) + " at the next write");
    if (!plist::core::isWritableText(std::string_view(cut, kept)))
        f.slot(n, std::string(field) + " holds characters the next write cannot store; it is dropped");
}

void checkSlots(Findings& f, const FileClass& cls)
{
    std::map<std::pair<std::string, int32_t>, size_t> seen;
    size_t used = 0;
    for (size_t n = 0; n < cls.slots.size(); ++n) {
        const FileClass::Slot& s = cls.slots[n];
        checkName(f, n, "FileName", s.fileName);
        checkName(f, n, "ProfileName", s.profileName);
        if (!isUsed(s))
            continue;
        if (*s.inMenu < kStateEmpty || *s.inMenu > kStateManualShown)
            f.slot(n, "state " + std::to_string(*s.inMenu) + " is not a state code (0 to 6)");
        if (used++ != n)
            f.slot(n, "used, but stands after an empty slot");
        const auto [it, fresh] = seen.emplace(std::make_pair(s.fileName.value_or(""), s.location), n);
        if (!fresh)
            f.slot(n, "the same file \"" + it->first.first + "\" at location " + std::to_string(s.location) +
                          " as slot " + std::to_string(it->second));
    }
    const int32_t num = cls.num.value_or(0);
    if (!cls.num && used > 0)
        f.add("no iNum, but " + std::to_string(used) + " slots are used");
    else if (size_t(num) != used || num < 0)
        f.add("iNum says " + std::to_string(num) + ", but " + std::to_string(used) + " slots are used");
}

}  // namespace

std::vector<std::string> checkListFile(const std::string& path)
{
    FileClass classes[kProfileClassCount];
    plist::ReadResult why;
    const profilelist::ReadStatus status = profilelist::inspectListFile(path, classes, &why);
    if (status != profilelist::ReadStatus::Ok)
        return {profilelist::describe(status, why)};
    std::vector<std::string> out;
    if (why.encoding != "UTF-8")
        out.push_back("the file is in " + why.encoding + "; the next write stores it as UTF-8");
    for (int c = 0; c < kProfileClassCount; ++c) {
        Findings f(QVPListClassKey(c), out);
        if (!classes[c].complete)
            f.add("missing, or without one of its six field dictionaries: every read of the file fails");
        else
            checkSlots(f, classes[c]);
    }
    return out;
}

}  // namespace rxtools
