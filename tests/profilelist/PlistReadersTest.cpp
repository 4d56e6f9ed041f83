// The two readers of XML property lists, the generic one (print settings)
// and the list file reader, on the same files: both honour the declared
// encoding, refuse the same files for the same reason, and never block.
#include "ListTestSupport.h"

#include "platform/plist/PlistXml.h"
#include "profilelist/ListFileReader.h"

#include <gmock/gmock.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace listtest;
using ::testing::HasSubstr;

namespace {

const char* const kName = "Caf\xC3\xA9";

// UTF-8 text in another encoding, with the byte-order mark given.
std::string recode(const std::string& utf8, const char* to, const std::string& mark = "")
{
    const iconv_t cd = iconv_open(to, "UTF-8");
    std::string out(utf8.size() * 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    char* dst = out.data();
    size_t inLeft = utf8.size(), outLeft = out.size();
    EXPECT_NE(iconv(cd, &in, &inLeft, &dst, &outLeft), size_t(-1)) << to;
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return mark + out;
}

// A list file whose first RGB entry is named kName, declaring `encoding`.
std::string listText(const char* encoding)
{
    Lists lists;
    add(lists[0], item(1, 4, "A.icc", kName, 4));
    std::string text = QVPListBuildFileText(lists.rgb(), lists.sim(), lists.dst());
    const std::string declared = "encoding=\"UTF-8\"";
    return text.replace(text.find(declared), declared.size(), std::string("encoding=\"") + encoding + "\"");
}

using PlistReaders = ListFileTest;

TEST_F(PlistReaders, HonourTheDeclaredEncodingAndTheNextWriteKeepsTheName)
{
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"UTF-8", listText("UTF-8")},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + listText("UTF-8")},
        {"ISO-8859-1", recode(listText("ISO-8859-1"), "ISO-8859-1")},
        {"windows-1252", recode(listText("windows-1252"), "CP1252")},
        {"UTF-16LE with a mark", recode(listText("UTF-16"), "UTF-16LE", "\xFF\xFE")},
        {"UTF-16BE with a mark", recode(listText("UTF-16"), "UTF-16BE", "\xFE\xFF")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(current(), c.bytes);
        plist::ReadResult result;
        const plist::Value root = plist::readXmlFile(current(), &result);
        ASSERT_TRUE(root.isDictionary()) << plist::describe(result);
        const auto names = root.dictionary()->dictionary("RGB")->dictionary("ProfileName");
        EXPECT_EQ(names->get("ProfileName0000"), plist::Value(kName));

        // The list reader, then a write of another class and a read again.
        Lists lists;
        ASSERT_EQ(QVPListReadProfile_All(lists.rgb(), lists.sim(), lists.dst()), 0);
        EXPECT_STREQ(lists[0].litem[0].ProfileName, kName);
        ASSERT_EQ(QVPListWriteProfile_Dict(lists.sim(), kClassSIM, nullptr, nullptr, nullptr), 0);
        Lists again;
        ASSERT_EQ(QVPListReadProfile_All(again.rgb(), again.sim(), again.dst()), 0);
        EXPECT_TRUE(sameList(again[0], lists[0]));
    }
}

TEST_F(PlistReaders, RefuseTheSameFilesForTheSameReasonWithoutBlocking)
{
    const std::string dir = QVPListProfileDirectory();
    const std::string fifo = dir + "/fifo.plist", folder = dir + "/folder.plist", large = dir + "/large.plist";
    ::unlink(fifo.c_str());
    ::rmdir(folder.c_str());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    writeFile(large, listText("UTF-8"));
    ASSERT_EQ(::truncate(large.c_str(), 17 << 20), 0);
    std::string blankReal = listText("UTF-8");
    const std::string num = "<integer>1</integer>";
    blankReal.replace(blankReal.find(num), num.size(), "<real> </real>");

    const struct {
        const char* name;
        std::string path, bytes;  // bytes written to the path when not empty
        plist::ReadError error;
        const char* reason;
    } cases[] = {
        {"blank real", current(), blankReal, plist::ReadError::NotParsable, "not a well-formed"},
        {"unknown encoding", current(), listText("x-no-such-encoding"), plist::ReadError::UnknownEncoding,
         "x-no-such-encoding"},
        {"UTF-16 without its bytes", current(), listText("UTF-16") + "\xFF", plist::ReadError::NotParsable,
         "not a well-formed"},
        {"binary", current(), "bplist00\xD1\x01\x02", plist::ReadError::Binary, "binary property list"},
        {"empty", current(), "", plist::ReadError::Empty, "empty file"},
        {"FIFO", fifo, "", plist::ReadError::NotRegular, "not a regular file"},
        {"directory", folder, "", plist::ReadError::NotRegular, "Is a directory"},
        {"device", "/dev/zero", "", plist::ReadError::NotRegular, "not a regular file"},
        {"too large", large, "", plist::ReadError::TooLarge, "larger than 16 MiB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.path == current())
            writeFile(c.path, c.bytes);
        plist::ReadResult generic;
        EXPECT_TRUE(plist::readXmlFile(c.path, &generic).isNone());
        EXPECT_EQ(generic.error, c.error);
        EXPECT_THAT(plist::describe(generic), HasSubstr(c.reason));

        Lists lists;
        ProfileList* targets[kProfileClassCount] = {lists.rgb(), lists.sim(), lists.dst()};
        plist::ReadResult list;
        const auto status = profilelist::readListFile(c.path, targets, profilelist::ReadMode::Plain, &list);
        EXPECT_NE(status, profilelist::ReadStatus::Ok);
        EXPECT_EQ(list.error, c.error);
        EXPECT_THAT(profilelist::describe(status, list), HasSubstr(c.reason));
    }
    ::unlink(fifo.c_str());
    ::rmdir(folder.c_str());
    ::unlink(large.c_str());
}

}  // namespace
