// Building the file: the class dictionaries as property-list values, and the
// complete file text emitted directly (the same document, without building
// 9000 values first).
#include "platform/plist/PlistXmlCore.h"
#include "profilelist/ProfileList.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

// The fields in the order they are built and written.
enum Field { fIndexOnDevice, fInMenu, fProfileClass, fLocation, fFileName, fProfileName, kFieldCount };

const char* fieldKey(int f)
{
    switch (f) {
    case fIndexOnDevice:
        return cIndexOnDeviceKey;
    case fInMenu:
        return cInMenuKey;
    case fProfileClass:
        return cProfileClassKey;
    case fLocation:
        return cLocationKey;
    case fFileName:
        return cFileNameKey;
    default:
        return cProfileNameKey;
    }
}

int32_t intField(const ProfileListItem& item, int f)
{
    switch (f) {
    case fIndexOnDevice:
        return item.iIndexOnDevice;
    case fInMenu:
        return item.iInMenu;
    case fProfileClass:
        return item.iProfileClass;
    default:
        return item.iLocation;
    }
}

// The text of a name field: its bytes up to the NUL.
std::string_view nameText(const char field[kProfileNameFieldSize])
{
    return std::string_view(field, strnlen(field, kProfileNameFieldSize));
}

std::string_view stringField(const ProfileListItem& item, int f)
{
    return nameText(f == fFileName ? item.FileName : item.ProfileName);
}

// A cursor over a buffer sized for the worst case.
class Emitter {
public:
    explicit Emitter(std::string& out) : out_(out), p_(out.data()) {}

    void raw(const char* s, size_t n)
    {
        std::memcpy(p_, s, n);
        p_ += n;
    }
    template <size_t N>
    void lit(const char (&s)[N])
    {
        raw(s, N - 1);
    }
    void str(std::string_view s) { raw(s.data(), s.size()); }
    void tabs(int n)
    {
        for (int i = 0; i < n; ++i)
            *p_++ = '\t';
    }
    void integer(int64_t v) { p_ = std::to_chars(p_, p_ + 24, v).ptr; }
    void slot4(int n)
    {
        p_[0] = char('0' + n / 1000 % 10);
        p_[1] = char('0' + n / 100 % 10);
        p_[2] = char('0' + n / 10 % 10);
        p_[3] = char('0' + n % 10);
        p_ += 4;
    }
    void escaped(std::string_view s)
    {
        plist::core::escapeText(s, [this](std::string_view piece) { str(piece); });
    }
    void finish() { out_.resize(size_t(p_ - out_.data())); }

private:
    std::string& out_;
    char* p_;
};

// Upper bound of one class dictionary's text.
constexpr size_t kIntEntryBound = 4 + 8 + 20 + 6 + 4 + 9 + 11 + 11;
constexpr size_t kStringEntryBound = 4 + 8 + 20 + 6 + 4 + 8 + kProfileNameFieldSize * 5 + 10;
constexpr size_t kClassBound = 4 * kProfileListCapacity * kIntEntryBound +
                               2 * kProfileListCapacity * kStringEntryBound + 1024;

void emitClass(Emitter& e, const char* className, const ProfileList& list)
{
    e.lit("\t<key>");
    e.str(className);
    e.lit("</key>\n\t<dict>\n\t\t<key>iNum</key>\n\t\t<integer>");
    e.integer(list.iNum);
    e.lit("</integer>\n");
    for (int f = 0; f < kFieldCount; ++f) {
        const std::string_view stem = fieldKey(f);
        e.lit("\t\t<key>");
        e.str(stem);
        e.lit("</key>\n");
        if (f < fFileName) {
            e.lit("\t\t<dict>\n");
            for (int n = 0; n < kProfileListCapacity; ++n) {
                e.lit("\t\t\t<key>");
                e.str(stem);
                e.slot4(n);
                e.lit("</key>\n\t\t\t<integer>");
                e.integer(intField(list.litem[n], f));
                e.lit("</integer>\n");
            }
            e.lit("\t\t</dict>\n");
            continue;
        }
        bool any = false;
        for (int n = 0; n < kProfileListCapacity; ++n) {
            std::string_view text = stringField(list.litem[n], f);
            if (!plist::core::isWritableText(text))
                continue;
            if (!any) {
                e.lit("\t\t<dict>\n");
                any = true;
            }
            e.lit("\t\t\t<key>");
            e.str(stem);
            e.slot4(n);
            e.lit("</key>\n\t\t\t<string>");
            e.escaped(text);
            e.lit("</string>\n");
        }
        if (any)
            e.lit("\t\t</dict>\n");
        else
            e.lit("\t\t<dict/>\n");
    }
    e.lit("\t</dict>\n");
}

}  // namespace

plist::DictionaryRef CreatePropsDictionary(int classIndex, const ProfileList* list,
                                           plist::DictionaryRef* classDict,
                                           plist::DictionaryRef* indexOnDevice,
                                           plist::DictionaryRef* inMenu,
                                           plist::DictionaryRef* profileClass,
                                           plist::DictionaryRef* location,
                                           plist::DictionaryRef* fileName,
                                           plist::DictionaryRef* profileName)
{
    const char* className = QVPListClassKey(classIndex);
    if (!className || !list)
        return nullptr;
    plist::DictionaryRef fields[kFieldCount];
    for (auto& d : fields) {
        d = plist::Dictionary::create();
        d->reserve(kProfileListCapacity);
    }
    char key[32];
    for (int n = 0; n < kProfileListCapacity; ++n) {
        const ProfileListItem& item = list->litem[n];
        for (int f = 0; f < kFieldCount; ++f) {
            std::snprintf(key, sizeof key, "%s%04d", fieldKey(f), n);
            if (f < fFileName) {
                fields[f]->set(key, plist::Value(int64_t(intField(item, f))));
            } else {
                std::string_view text = stringField(item, f);
                if (plist::core::isWritableText(text))
                    fields[f]->set(key, plist::Value(text));
            }
        }
    }
    auto cls = plist::Dictionary::create();
    cls->set(cNumKey, plist::Value(int64_t(list->iNum)));
    for (int f = 0; f < kFieldCount; ++f)
        cls->set(fieldKey(f), plist::Value(fields[f]));

    plist::DictionaryRef* outs[kFieldCount] = {indexOnDevice, inMenu, profileClass, location, fileName, profileName};
    for (int f = 0; f < kFieldCount; ++f)
        if (outs[f])
            *outs[f] = fields[f];
    if (classDict)
        *classDict = cls;
    auto props = plist::Dictionary::create();
    props->set(className, plist::Value(cls));
    return props;
}

std::string QVPListBuildFileText(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst)
{
    static const ProfileList kEmpty{};
    const ProfileList* lists[kProfileClassCount] = {rgb ? rgb : &kEmpty, sim ? sim : &kEmpty, dst ? dst : &kEmpty};
    std::string out;
    out.resize(plist::kXmlHeader.size() + 3 * kClassBound + 256);
    Emitter e(out);
    e.str(plist::kXmlHeader);
    e.lit("<dict>\n");
    for (int c = 0; c < kProfileClassCount; ++c)
        emitClass(e, QVPListClassKey(c), *lists[c]);
    e.lit("\t<key>PlistVersion</key>\n\t<integer>1</integer>\n</dict>\n</plist>\n");
    e.finish();
    return out;
}

int QVPListMappingGetSubDict(const plist::Dictionary& classDict,
                             plist::DictionaryRef* indexOnDevice, plist::DictionaryRef* inMenu,
                             plist::DictionaryRef* profileClass, plist::DictionaryRef* location,
                             plist::DictionaryRef* fileName, plist::DictionaryRef* profileName,
                             int32_t* num)
{
    struct {
        const char* key;
        plist::DictionaryRef* out;
    } const order[] = {{cIndexOnDeviceKey, indexOnDevice}, {cInMenuKey, inMenu},     {cProfileClassKey, profileClass},
                       {cFileNameKey, fileName},           {cProfileNameKey, profileName}, {cLocationKey, location}};
    for (const auto& o : order) {
        plist::DictionaryRef d = classDict.dictionary(o.key);
        if (!d)
            return -1;
        if (o.out)
            *o.out = d;
    }
    if (num)
        ReadDictionaryIntEntry(classDict, cNumKey, num);
    return 0;
}
