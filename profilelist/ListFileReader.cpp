// The list file reader: an in-situ pugixml parse, then a direct walk of the
// three class dictionaries that decodes slot keys ("InMenu0042") into slot
// numbers instead of building a dictionary per field.
#include "profilelist/ListFileReader.h"

#include "platform/plist/PlistXmlCore.h"

#include <cerrno>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

namespace profilelist {

namespace {

// Field dictionaries in the order the reader checks and reads them.
enum Field { fIndexOnDevice, fInMenu, fProfileClass, fFileName, fProfileName, fLocation, kFieldCount };

const char* const kFieldKeys[kFieldCount] = {"IndexOnDevice", "InMenu",      "ProfileClass",
                                              "FileName",      "ProfileName", "Location"};

bool isStringField(int f)
{
    return f == fFileName || f == fProfileName;
}

// What a field dictionary says about one slot.
enum Presence : uint8_t { kAbsent = 0, kValue = 1, kNoText = 2 };

// Text of a string value inside the parsed document (trivial, so the
// tables can be cleared with memset).
struct Text {
    const char* data;
    size_t size;
};

struct ClassValues {
    uint8_t presence[kFieldCount][kProfileListCapacity];
    int32_t ints[kFieldCount][kProfileListCapacity];
    Text strings[kFieldCount][kProfileListCapacity];
    bool hasNum;
    int32_t num;
};

// An <integer> as a 32-bit field: the property-list integer, truncated to
// its low 32 bits as the file's writers do.
bool parseInteger(std::string_view s, int32_t* out)
{
    const std::optional<int64_t> value = plist::parseIntegerText(s);
    if (!value)
        return false;
    *out = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(*value)));
    return true;
}

// A <real> as a 32-bit field: truncated toward zero, 0 outside the range.
bool parseReal(std::string_view s, int32_t* out)
{
    std::optional<double> d = plist::core::parseRealText(s);
    if (!d)
        return false;
    *out = *d > -2147483649.0 && *d < 2147483648.0 ? static_cast<int32_t>(*d) : 0;
    return true;
}

class Reader {
public:
    // Character data of an element; rare mixed content (text split by
    // comments or CDATA sections) is joined into storage the reader owns.
    std::string_view text(const pugi::xml_node& node) { return plist::core::elementText(node, joined_); }

    static bool isDict(const pugi::xml_node& n) { return plist::core::isNamed(n, "dict"); }

    // Calls f(key, value) for each pair of a <dict>; false when the
    // dictionary is malformed (a non-key element, a key without a value) or
    // f says so.
    template <class F>
    bool forEachPair(const pugi::xml_node& dict, F&& f)
    {
        for (pugi::xml_node k = plist::core::firstElement(dict); k; k = plist::core::nextElement(k)) {
            if (std::strcmp(k.name(), "key") != 0)
                return false;
            pugi::xml_node v = plist::core::nextElement(k);
            if (!v)
                return false;
            if (!f(text(k), v))
                return false;
            k = v;
        }
        return true;
    }

    // Integer value of an integer field; a value of another type is not
    // stored (false in *stored), malformed numbers fail the read.
    bool intValue(const pugi::xml_node& v, int32_t* out, bool* stored)
    {
        const char* name = v.name();
        *stored = false;
        if (std::strcmp(name, "integer") == 0) {
            if (!parseInteger(text(v), out))
                return false;
            *stored = true;
        } else if (std::strcmp(name, "real") == 0) {
            if (!parseReal(text(v), out))
                return false;
            *stored = true;
        }
        return true;
    }

    bool decodeField(const pugi::xml_node& dict, int field, ClassValues& cv)
    {
        const char* stem = kFieldKeys[field];
        const size_t stemLength = std::strlen(stem);
        const bool strings = isStringField(field);
        return forEachPair(dict, [&](std::string_view key, const pugi::xml_node& v) {
            if (key.size() != stemLength + 4 || std::memcmp(key.data(), stem, stemLength) != 0)
                return true;
            int slot = 0;
            for (size_t i = stemLength; i < key.size(); ++i) {
                char c = key[i];
                if (c < '0' || c > '9')
                    return true;
                slot = slot * 10 + (c - '0');
            }
            if (slot >= kProfileListCapacity)
                return true;
            if (strings) {
                if (std::strcmp(v.name(), "string") == 0) {
                    cv.presence[field][slot] = kValue;
                    std::string_view t = text(v);
                    cv.strings[field][slot] = Text{t.data(), t.size()};
                } else {
                    cv.presence[field][slot] = kNoText;
                }
                return true;
            }
            int32_t value = 0;
            bool stored = false;
            if (!intValue(v, &value, &stored))
                return false;
            if (stored) {
                cv.presence[field][slot] = kValue;
                cv.ints[field][slot] = value;
            }
            return true;
        });
    }

    // Finds the six field dictionaries and "iNum" of a class dictionary and
    // decodes them; NotAList when a field dictionary is missing.
    ReadStatus decodeClass(const pugi::xml_node& classDict, ClassValues& cv)
    {
        pugi::xml_node fields[kFieldCount];
        bool ok = forEachPair(classDict, [&](std::string_view key, const pugi::xml_node& v) {
            if (key == "iNum") {
                bool stored = false;
                if (!intValue(v, &cv.num, &stored))
                    return false;
                cv.hasNum = stored;
                return true;
            }
            for (int f = 0; f < kFieldCount; ++f)
                if (key == kFieldKeys[f]) {
                    fields[f] = isDict(v) ? v : pugi::xml_node();
                    break;
                }
            return true;
        });
        if (!ok)
            return ReadStatus::NotParsable;
        for (int f = 0; f < kFieldCount; ++f)
            if (!fields[f])
                return ReadStatus::NotAList;
        for (int f = 0; f < kFieldCount; ++f)
            if (!decodeField(fields[f], f, cv))
                return ReadStatus::NotParsable;
        return ReadStatus::Ok;
    }

private:
    std::deque<std::string> joined_;
};

void storeString(char out[kProfileNameFieldSize], uint8_t presence, const Text& s)
{
    if (presence == kValue)
        QVPListCopyName(out, s.data, s.size);
    else if (presence == kNoText)
        std::memset(out, 0, kProfileNameFieldSize);
}

// Stores the fields other than iInMenu of file slot n into item.
void storeFields(const ClassValues& cv, int n, ProfileListItem& item)
{
    if (cv.presence[fIndexOnDevice][n] == kValue)
        item.iIndexOnDevice = cv.ints[fIndexOnDevice][n];
    if (cv.presence[fProfileClass][n] == kValue)
        item.iProfileClass = cv.ints[fProfileClass][n];
    storeString(item.FileName, cv.presence[fFileName][n], cv.strings[fFileName][n]);
    storeString(item.ProfileName, cv.presence[fProfileName][n], cv.strings[fProfileName][n]);
    if (cv.presence[fLocation][n] == kValue)
        item.iLocation = cv.ints[fLocation][n];
}

void fill(const ClassValues& cv, ProfileList& list, ReadMode mode)
{
    int slot = 0;
    for (int n = 0; n < kProfileListCapacity; ++n) {
        ProfileListItem& item = list.litem[slot];
        if (cv.presence[fInMenu][n] == kValue) {
            int32_t code = cv.ints[fInMenu][n];
            if (mode == ReadMode::Pap) {
                if (code == kStateDeviceHiddenConfirmed)
                    continue;
                if (code == kStateDeviceShownConfirmed)
                    code = kStateManualShown;
            }
            item.iInMenu = code;
        }
        storeFields(cv, n, item);
        ++slot;
    }
    if (cv.hasNum)
        list.iNum = cv.num;
    QVPlistCheckWithInMenu_Dict(&list);
}

// Buffers up to this size are kept for the next read.
constexpr size_t kKeptBufferSize = 4u << 20;

ReadStatus statusOf(plist::ReadError error)
{
    switch (error) {
    case plist::ReadError::None:
        return ReadStatus::Ok;
    case plist::ReadError::NotFound:
        return ReadStatus::NotFound;
    case plist::ReadError::NotReadable:
    case plist::ReadError::NotRegular:
    case plist::ReadError::TooLarge:
        return ReadStatus::NotReadable;
    default:
        return ReadStatus::NotParsable;
    }
}

// Hands the outcome to the caller, when it asked for it.
ReadStatus report(plist::ReadResult result, plist::ReadResult* why, ReadStatus status)
{
    if (why)
        *why = std::move(result);
    return status;
}

// What a read fills: the requested lists (null entries skipped), and when
// `inspect` is set, the classes as the file holds them. With `eachOnItsOwn`,
// a requested class that is missing or incomplete is left untouched while the
// others are read, as separate reads of one class each would do; otherwise it
// fails the whole read.
struct Targets {
    ProfileList** lists;
    ReadMode mode;
    bool eachOnItsOwn;
    FileClass* inspect;
};

std::optional<std::string> slotText(uint8_t presence, const Text& s)
{
    if (presence == kAbsent)
        return std::nullopt;
    return presence == kValue ? std::string(s.data, s.size) : std::string();
}

void takeFileClass(const ClassValues& cv, FileClass& out)
{
    out.complete = true;
    out.num = cv.hasNum ? std::optional<int32_t>(cv.num) : std::nullopt;
    out.slots.assign(kProfileListCapacity, FileClass::Slot{});
    for (int n = 0; n < kProfileListCapacity; ++n) {
        FileClass::Slot& slot = out.slots[size_t(n)];
        if (cv.presence[fInMenu][n] == kValue)
            slot.inMenu = cv.ints[fInMenu][n];
        if (cv.presence[fLocation][n] == kValue)
            slot.location = cv.ints[fLocation][n];
        slot.fileName = slotText(cv.presence[fFileName][n], cv.strings[fFileName][n]);
        slot.profileName = slotText(cv.presence[fProfileName][n], cv.strings[fProfileName][n]);
    }
}

ReadStatus readBuffer(std::vector<char>& buffer, const Targets& t, plist::ReadResult* why)
{
    pugi::xml_document doc;
    plist::ReadResult parsed = plist::core::parseDocument(doc, buffer);
    if (parsed.error != plist::ReadError::None) {
        const ReadStatus status = statusOf(parsed.error);
        return report(std::move(parsed), why, status);
    }
    const pugi::xml_node root = plist::core::topValue(doc);
    if (!Reader::isDict(root))
        return report(std::move(parsed), why, ReadStatus::NotAList);

    Reader reader;
    pugi::xml_node classDicts[kProfileClassCount];
    bool ok = reader.forEachPair(root, [&](std::string_view key, const pugi::xml_node& v) {
        for (int c = 0; c < kProfileClassCount; ++c)
            if (key == QVPListClassKey(c))
                classDicts[c] = Reader::isDict(v) ? v : pugi::xml_node();
        return true;
    });
    const auto malformed = [&](std::string detail) {
        parsed.error = plist::ReadError::NotParsable;
        parsed.detail = std::move(detail);
    };
    if (!ok) {
        malformed("a key without a value, or a value without a key");
        return report(std::move(parsed), why, ReadStatus::NotParsable);
    }

    // The decode tables are large; each thread keeps its own between reads.
    thread_local std::unique_ptr<ClassValues[]> values;
    if (!values)
        values = std::make_unique<ClassValues[]>(kProfileClassCount);
    std::memset(values.get(), 0, sizeof(ClassValues) * kProfileClassCount);
    // Every class present is decoded, so a malformed number anywhere in the
    // lists fails every read of the file, as it would fail a full parse.
    bool complete[kProfileClassCount] = {false, false, false};
    for (int c = 0; c < kProfileClassCount; ++c) {
        ReadStatus s = classDicts[c] ? reader.decodeClass(classDicts[c], values[c]) : ReadStatus::NotAList;
        if (s == ReadStatus::NotParsable)
            malformed(std::string("a malformed value in the ") + QVPListClassKey(c) + " class");
        if (s == ReadStatus::NotParsable || (s != ReadStatus::Ok && t.lists[c] && !t.eachOnItsOwn))
            return report(std::move(parsed), why, s);
        complete[c] = s == ReadStatus::Ok;
    }
    // Everything is decoded: only now are the caller's lists changed.
    for (int c = 0; c < kProfileClassCount; ++c) {
        if (t.lists[c] && complete[c])
            fill(values[c], *t.lists[c], t.mode);
        if (t.inspect && complete[c])
            takeFileClass(values[c], t.inspect[c]);
    }
    return report(std::move(parsed), why, ReadStatus::Ok);
}

ReadStatus readFile(const std::string& path, const Targets& t, plist::ReadResult* why)
{
    if (path.empty())
        return report({plist::ReadError::NotFound, ENOENT, {}, {}}, why, ReadStatus::NotFound);
    // The file's text is parsed in place; each thread keeps its buffer.
    thread_local std::vector<char> buffer;
    plist::ReadResult loaded = plist::core::loadDocument(path, buffer);
    const ReadStatus s = statusOf(loaded.error);
    const ReadStatus result = s == ReadStatus::Ok ? readBuffer(buffer, t, why) : report(std::move(loaded), why, s);
    if (buffer.capacity() > kKeptBufferSize)
        std::vector<char>().swap(buffer);
    return result;
}

}  // namespace

ReadStatus readListFile(const std::string& path, ProfileList* lists[kProfileClassCount], ReadMode mode,
                        plist::ReadResult* why)
{
    return readFile(path, Targets{lists, mode, false, nullptr}, why);
}

ReadStatus readListFileEachClass(const std::string& path, ProfileList* lists[kProfileClassCount], ReadMode mode)
{
    return readFile(path, Targets{lists, mode, true, nullptr}, nullptr);
}

ReadStatus readListText(std::string_view text, ProfileList* lists[kProfileClassCount], ReadMode mode)
{
    std::vector<char> buffer(text.begin(), text.end());
    return readBuffer(buffer, Targets{lists, mode, false, nullptr}, nullptr);
}

ReadStatus inspectListFile(const std::string& path, FileClass classes[kProfileClassCount], plist::ReadResult* why)
{
    ProfileList* none[kProfileClassCount] = {nullptr, nullptr, nullptr};
    return readFile(path, Targets{none, ReadMode::Plain, true, classes}, why);
}

const char* describe(ReadStatus status)
{
    switch (status) {
    case ReadStatus::Ok:
        return "read";
    case ReadStatus::NotFound:
        return "no such file";
    case ReadStatus::NotReadable:
        return "cannot be read";
    case ReadStatus::NotParsable:
        return "not a well-formed XML property list";
    case ReadStatus::NotAList:
        return "not a profile list file (a class or field dictionary is missing)";
    }
    return "unknown error";
}

std::string describe(ReadStatus status, const plist::ReadResult& why)
{
    return status == ReadStatus::NotAList || why.error == plist::ReadError::None ? describe(status)
                                                                                : plist::describe(why);
}

}  // namespace profilelist
