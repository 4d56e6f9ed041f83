#include "ListTestSupport.h"

#include "platform/FixedPaths.h"

#include <plist/plist.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace listtest {

std::unique_ptr<ProfileList> emptyList()
{
    auto list = std::make_unique<ProfileList>();
    std::memset(list.get(), 0, sizeof(ProfileList));
    return list;
}

ProfileListItem item(int index, int inMenu, const char* fileName, const char* profileName, int location,
                     int profileClass, int driver)
{
    ProfileListItem it;
    std::memset(&it, 0, sizeof it);
    it.iIndexOnDevice = index;
    it.iInMenu = inMenu;
    it.iProfileClass = profileClass;
    QVPListCopyName(it.FileName, fileName, std::strlen(fileName));
    QVPListCopyName(it.ProfileName, profileName, std::strlen(profileName));
    it.iLocation = location;
    it.iDriver = driver;
    return it;
}

void add(ProfileList& list, const ProfileListItem& it)
{
    list.litem[list.iNum++] = it;
}

bool sameList(const ProfileList& a, const ProfileList& b)
{
    return std::memcmp(&a, &b, sizeof(ProfileList)) == 0;
}

void fillVaried(Lists& lists)
{
    add(lists[0], item(1, 4, "RGB1.icc", "sRGB & <Adobe>", 4, 7, 3));
    add(lists[0], item(2, 3, "caf\xC3\xA9.icc", "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80", 5, 1, 1));
    add(lists[0], item(2147483647, 6, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234", "quote\"apos'tab\tnl\ncr\r", 4));
    add(lists[0], item(-2147483647 - 1, 5, "NEG.ICC", "", -1, -5));
    for (int n = 0; n < 40; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "S%03d.icc", n);
        add(lists[1], item(10 + n, 1 + n % 6, name, name, 4 + n % 2, 3, 2));
    }
    for (int n = 0; n < kProfileListCapacity; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "DST%04d.ICC", n);
        add(lists[2], item(n + 1, 4, name, "Destination profile name 31 b.", 5));
    }
}


std::vector<std::string> directoryEntries(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.push_back(e->d_name);
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void useTestPaths()
{
    std::string dir = QVPListProfileDirectory();
    ASSERT_FALSE(rx::rootPrefix().empty()) << "tests run below TARNVALE_ROOT";
    ASSERT_EQ(std::system(("mkdir -p '" + dir + "'").c_str()), 0);
    ASSERT_TRUE(QVPListSetServicePaths("alice", "rx8240"));
}

namespace {

std::string hex(std::string_view s)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

const char* const kIntFields[] = {"IndexOnDevice", "InMenu", "ProfileClass", "Location"};
const char* const kStringFields[] = {"FileName", "ProfileName"};

}  // namespace

std::vector<std::string> dumpOfLists(const Lists& lists)
{
    std::vector<std::string> lines{"PlistVersion 1"};
    char line[128];
    for (int c = 0; c < kProfileClassCount; ++c) {
        const char* cls = QVPListClassKey(c);
        const ProfileList& l = lists[c];
        lines.push_back(std::string(cls) + " iNum " + std::to_string(l.iNum));
        for (int n = 0; n < kProfileListCapacity; ++n) {
            const ProfileListItem& it = l.litem[n];
            const int32_t ints[] = {it.iIndexOnDevice, it.iInMenu, it.iProfileClass, it.iLocation};
            for (int f = 0; f < 4; ++f) {
                std::snprintf(line, sizeof line, "%s %s%04d i %d", cls, kIntFields[f], n, ints[f]);
                lines.push_back(line);
            }
            const char* strs[] = {it.FileName, it.ProfileName};
            for (int f = 0; f < 2; ++f) {
                std::snprintf(line, sizeof line, "%s %s%04d s ", cls, kStringFields[f], n);
                lines.push_back(line + hex(std::string_view(strs[f], strnlen(strs[f], kProfileNameFieldSize))));
            }
        }
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::string> dumpWithLibplist(const std::string& path)
{
    std::string text = readFile(path);
    plist_t root = nullptr;
    plist_from_xml(text.data(), uint32_t(text.size()), &root);
    std::vector<std::string> lines;
    if (!root || plist_get_node_type(root) != PLIST_DICT)
        return {"not a dictionary"};
    auto integer = [](plist_t node) {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        return int64_t(v);
    };
    if (plist_t v = plist_dict_get_item(root, "PlistVersion"))
        lines.push_back("PlistVersion " + std::to_string(integer(v)));
    for (int c = 0; c < kProfileClassCount; ++c) {
        const char* cls = QVPListClassKey(c);
        plist_t d = plist_dict_get_item(root, cls);
        if (!d) {
            lines.push_back(std::string("missing ") + cls);
            continue;
        }
        if (plist_t v = plist_dict_get_item(d, "iNum"))
            lines.push_back(std::string(cls) + " iNum " + std::to_string(int32_t(integer(v))));
        for (const char* field : {"IndexOnDevice", "InMenu", "ProfileClass", "Location", "FileName", "ProfileName"}) {
            plist_t fd = plist_dict_get_item(d, field);
            if (!fd)
                continue;
            plist_dict_iter it = nullptr;
            plist_dict_new_iter(fd, &it);
            for (;;) {
                char* key = nullptr;
                plist_t value = nullptr;
                plist_dict_next_item(fd, it, &key, &value);
                if (!key)
                    break;
                std::string line = std::string(cls) + " " + key;
                if (plist_get_node_type(value) == PLIST_UINT) {
                    line += " i " + std::to_string(int32_t(integer(value)));
                } else if (plist_get_node_type(value) == PLIST_STRING) {
                    char* s = nullptr;
                    plist_get_string_val(value, &s);
                    line += " s " + hex(s ? s : "");
                    std::free(s);
                } else {
                    line += " ?";
                }
                lines.push_back(line);
                std::free(key);
            }
            std::free(it);
        }
    }
    plist_free(root);
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool runPython(const std::string& args, std::string* output)
{
    const char* src = std::getenv("RX_SOURCE_DIR");
    std::string script = std::string(src ? src : ".") + "/tests/profilelist/plist_peer.py";
    std::string command = "python3 '" + script + "' " + args;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p)
        return false;
    std::string out;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    int status = ::pclose(p);
    if (output)
        *output = std::move(out);
    return status == 0;
}

std::vector<std::string> dumpWithPython(const std::string& path)
{
    std::string out;
    if (!runPython("dump '" + path + "'", &out))
        return {"plistlib failed"};
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace listtest
