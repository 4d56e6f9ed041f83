// The list file reader: an in-situ pugixml parse, then a direct walk of the
// three class dictionaries that decodes slot keys ("InMenu0042") into slot
// numbers instead of building a dictionary per field.
#include "profilelist/ListFileReader.h"

#include "platform/plist/PlistXml.h"

#include <pugixml.hpp>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
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

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

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

bool parseReal(std::string_view s, int32_t* out)
{
    std::string t(s);
    char* end = nullptr;
    double d = std::strtod(t.c_str(), &end);
    while (end && isSpace(*end))
        ++end;
    if (t.empty() || !end || *end)
        return false;
    if (!(d > -2147483649.0 && d < 2147483648.0))
        d = 0;
    *out = static_cast<int32_t>(d);
    return true;
}

class Reader {
public:
    // Character data of an element; rare mixed content (text split by
    // comments or CDATA sections) is joined into storage the reader owns.
    std::string_view text(const pugi::xml_node& node)
    {
        pugi::xml_node first = node.first_child();
        if (!first)
            return {};
        if (!first.next_sibling() && (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata))
            return first.value();
        auto joined = std::make_unique<std::string>();
        for (pugi::xml_node c = first; c; c = c.next_sibling())
            if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
                *joined += c.value();
        joined_.push_back(std::move(joined));
        return *joined_.back();
    }

    // The next element sibling, skipping text between elements.
    static pugi::xml_node nextElement(pugi::xml_node n)
    {
        n = n.next_sibling();
        while (n && n.type() != pugi::node_element)
            n = n.next_sibling();
        return n;
    }
    static pugi::xml_node firstElement(const pugi::xml_node& parent)
    {
        pugi::xml_node n = parent.first_child();
        while (n && n.type() != pugi::node_element)
            n = n.next_sibling();
        return n;
    }

    static bool isDict(const pugi::xml_node& n) { return n && std::strcmp(n.name(), "dict") == 0; }

    // Calls f(key, value) for each pair of a <dict>; false when the
    // dictionary is malformed (a non-key element, a key without a value) or
    // f says so.
    template <class F>
    bool forEachPair(const pugi::xml_node& dict, F&& f)
    {
        for (pugi::xml_node k = firstElement(dict); k; k = nextElement(k)) {
            if (std::strcmp(k.name(), "key") != 0)
                return false;
            pugi::xml_node v = nextElement(k);
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
    std::vector<std::unique_ptr<std::string>> joined_;
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

ReadStatus loadFile(const std::string& path, std::vector<char>& buffer)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadStatus::NotFound : ReadStatus::NotReadable;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadStatus::NotReadable;
    }
    buffer.resize(size_t(st.st_size) + 1);
    size_t used = 0;
    for (;;) {
        if (used == buffer.size())
            buffer.resize(buffer.size() * 2);
        ssize_t n = ::read(fd, buffer.data() + used, buffer.size() - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return ReadStatus::NotReadable;
        }
        if (n == 0)
            break;
        used += size_t(n);
    }
    ::close(fd);
    buffer.resize(used);
    return ReadStatus::Ok;
}

// With `eachOnItsOwn`, a requested class that is missing or incomplete is
// left untouched while the others are read, as separate reads of one class
// each would do; otherwise it fails the whole read.
ReadStatus readBuffer(std::vector<char>& buffer, ProfileList* lists[3], ReadMode mode, bool eachOnItsOwn = false)
{
    pugi::xml_document doc;
    auto parsed = doc.load_buffer_inplace(buffer.data(), buffer.size(),
                                          pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
    if (!parsed)
        return ReadStatus::NotParsable;
    pugi::xml_node root = doc.document_element();
    if (std::strcmp(root.name(), "plist") == 0)
        root = Reader::firstElement(root);
    if (!Reader::isDict(root))
        return ReadStatus::NotAList;

    Reader reader;
    pugi::xml_node classDicts[3];
    bool ok = reader.forEachPair(root, [&](std::string_view key, const pugi::xml_node& v) {
        for (int c = 0; c < 3; ++c)
            if (key == QVPListClassKey(c))
                classDicts[c] = Reader::isDict(v) ? v : pugi::xml_node();
        return true;
    });
    if (!ok)
        return ReadStatus::NotParsable;

    // The decode tables are large; each thread keeps its own between reads.
    thread_local std::unique_ptr<ClassValues[]> values;
    if (!values)
        values = std::make_unique<ClassValues[]>(3);
    std::memset(values.get(), 0, sizeof(ClassValues) * 3);
    // Every class present is decoded, so a malformed number anywhere in the
    // lists fails every read of the file, as it would fail a full parse.
    bool complete[3] = {false, false, false};
    for (int c = 0; c < 3; ++c) {
        ReadStatus s = classDicts[c] ? reader.decodeClass(classDicts[c], values[c]) : ReadStatus::NotAList;
        if (s == ReadStatus::NotParsable || (s != ReadStatus::Ok && lists[c] && !eachOnItsOwn))
            return s;
        complete[c] = s == ReadStatus::Ok;
    }
    // Everything is decoded: only now are the caller's lists changed.
    for (int c = 0; c < 3; ++c)
        if (lists[c] && complete[c])
            fill(values[c], *lists[c], mode);
    return ReadStatus::Ok;
}

ReadStatus readFile(const std::string& path, ProfileList* lists[3], ReadMode mode, bool eachOnItsOwn)
{
    if (path.empty())
        return ReadStatus::NotFound;
    // The file's text is parsed in place; each thread keeps its buffer.
    thread_local std::vector<char> buffer;
    ReadStatus s = loadFile(path, buffer);
    if (s == ReadStatus::Ok)
        s = readBuffer(buffer, lists, mode, eachOnItsOwn);
    if (buffer.capacity() > kKeptBufferSize)
        std::vector<char>().swap(buffer);
    return s;
}

}  // namespace

ReadStatus readListFile(const std::string& path, ProfileList* lists[3], ReadMode mode)
{
    return readFile(path, lists, mode, false);
}

ReadStatus readListFileEachClass(const std::string& path, ProfileList* lists[3], ReadMode mode)
{
    return readFile(path, lists, mode, true);
}

ReadStatus readListText(std::string_view text, ProfileList* lists[3], ReadMode mode)
{
    std::vector<char> buffer(text.begin(), text.end());
    return readBuffer(buffer, lists, mode);
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

}  // namespace profilelist
