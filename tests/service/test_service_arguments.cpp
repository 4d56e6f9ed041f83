// The pure parts of the service and the launcher: argument strings, file
// URLs, list file names, walk vectors, and the cutting of text into pieces.
#include "profilelist/LauncherCalls.h"
#include "protocol/ArgumentStrings.h"
#include "service/ListFileNames.h"
#include "service/WalkVector.h"

#include <gtest/gtest.h>

#include <climits>

using namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;

namespace {

struct SwapCase {
    const char* argument;
    int type;
    std::optional<std::string> current;
    std::optional<std::string> previous;
};

TEST(ArgumentStrings, SwapArgumentPieces)
{
    const SwapCase cases[] = {
        {"2:ARG_iSwapType/c:ARG_cFooCurrentString/p:ARG_cFooPrevString", 2, "/c", "/p"},
        {"NULL:ARG_iSwapType/c:ARG_cFooCurrentString/p:ARG_cFooPrevString", 0, "/c", "/p"},
        {"1:ARG_iSwapTypeNULL:ARG_cFooCurrentString/p:ARG_cFooPrevString", 1, std::nullopt, "/p"},
        {"  -3x:ARG_iSwapType/c:ARG_cFooCurrentStringNULL:ARG_cFooPrevString", -3, "/c", std::nullopt},
        {"abc:ARG_iSwapType", 0, std::nullopt, std::nullopt},
        {"", 0, std::nullopt, std::nullopt},
        {"null:ARG_iSwapType:ARG_cFooCurrentString:ARG_cFooPrevString", 0, "", ""},
        // Markers out of order: the current value runs to its own marker and
        // the previous marker, found before it, gives no value.
        {"2:ARG_iSwapType/p:ARG_cFooPrevString/c:ARG_cFooCurrentString", 2, "/p:ARG_cFooPrevString/c", std::nullopt},
    };
    for (const auto& c : cases) {
        SwapArgument swap = parseSwapArgument(c.argument);
        EXPECT_EQ(swap.swapType, c.type) << c.argument;
        EXPECT_EQ(swap.currentPath, c.current) << c.argument;
        EXPECT_EQ(swap.previousPath, c.previous) << c.argument;
    }
}

TEST(ArgumentStrings, DecimalSaturatesAndStopsAtTheFirstNonDigit)
{
    EXPECT_EQ(parseDecimal("99999999999"), INT_MAX);
    EXPECT_EQ(parseDecimal("-99999999999"), INT_MIN);
    EXPECT_EQ(parseDecimal("\t+12ab3"), 12);
    EXPECT_EQ(parseDecimal("- 1"), 0);
}

TEST(ArgumentStrings, WalkArgumentSplitsAtEveryArgMarker)
{
    WalkArgument walk;
    std::string argument = "rx8240:ModelName:ENDalice:USErName:END";
    for (int i = 0; i < 8; ++i)
        argument += "e" + std::to_string(i) + ":arg:";
    ASSERT_EQ(parseWalkArgument(argument + "tail", &walk), WalkParse::Ok);
    EXPECT_EQ(walk.modelName, "rx8240");
    EXPECT_EQ(walk.userName, "alice");
    ASSERT_EQ(walk.vector.size(), 8u);
    EXPECT_EQ(walk.vector[0], "e0");
    EXPECT_EQ(walk.vector[7], "e7");

    ASSERT_EQ(parseWalkArgument("m:ModelName:ENDu:USErName:END", &walk), WalkParse::Ok);
    EXPECT_TRUE(walk.vector.empty());
    EXPECT_EQ(parseWalkArgument("m:ModelName:END u", &walk), WalkParse::MissingMarker);
    EXPECT_EQ(parseWalkArgument("u:USErName:ENDm:ModelName:END", &walk), WalkParse::MissingMarker);
}

TEST(ArgumentStrings, WalkVectorHoldsAtMost512Elements)
{
    for (std::size_t count : {511u, 512u, 513u}) {
        std::string argument = "m:ModelName:ENDu:USErName:END";
        for (std::size_t i = 0; i < count; ++i)
            argument += "x:arg:";
        WalkArgument walk;
        EXPECT_EQ(parseWalkArgument(argument, &walk), count <= 512 ? WalkParse::Ok : WalkParse::TooManyElements)
            << count;
    }
}

TEST(ArgumentStrings, JoinedArgumentsParseBack)
{
    auto swap = joinArguments(kOpSwap, {"2", "/a b", "/c"});
    ASSERT_TRUE(swap);
    EXPECT_EQ(*swap, "2:ARG_iSwapType/a b:ARG_cFooCurrentString/c:ARG_cFooPrevString");
    auto walk = joinArguments(kOpWalk, {"rx8240", "bob", "snmpwalk", "-Os"});
    ASSERT_TRUE(walk);
    EXPECT_EQ(*walk, "rx8240:ModelName:ENDbob:USErName:ENDsnmpwalk:arg:-Os:arg:");
    auto piece = joinArguments(kOpWritePiece, {"file:///x", "text:AddURL:END more"});
    ASSERT_TRUE(piece);
    auto parts = parseUrlAndText(*piece);
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->url, "file:///x");
    EXPECT_EQ(parts->text, "text:AddURL:END more");
    // Wrong arity or unknown commands give nothing to send.
    EXPECT_FALSE(joinArguments(kOpSwap, {"2", "/a"}));
    EXPECT_FALSE(joinArguments(kOpIsAdmin, {}));
    EXPECT_FALSE(joinArguments(kOpWalk, {"rx8240"}));
    EXPECT_FALSE(joinArguments("rm", {"/"}));
}

TEST(ArgumentStrings, FileUrls)
{
    const std::string path = "/tmp/Application Support/é%?#-profile.plist";
    auto url = fileUrlFromPath(path);
    EXPECT_EQ(url.find(' '), std::string::npos);
    EXPECT_EQ(pathFromFileUrl(url), path);
    EXPECT_EQ(pathFromFileUrl("file://localhost/a%20b"), "/a b");
    EXPECT_EQ(pathFromFileUrl("FILE:///a"), "/a");
    for (const char* bad : {"http:///a", "file://host/a", "file:///a%00b", "file:///a%zz", "file:///a%2",
                            "file:///a?x", "file:///a#x", "file:relative", "/plain/path", ""})
        EXPECT_FALSE(pathFromFileUrl(bad)) << bad;
}

TEST(ArgumentStrings, Utf8Validity)
{
    EXPECT_TRUE(isValidUtf8("plain \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"));
    for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3", "\xE2\x82",
                            "\x80", "\xFF"})
        EXPECT_FALSE(isValidUtf8(bad)) << testing::PrintToString(std::string(bad));
}

struct NameCase {
    const char* path;
    bool listFile;
    const char* user;
    const char* model;
    ListKind kind;
};

TEST(ListFileNames, OnlyTheFourListNamesInsideTheDirectory)
{
    const std::string dir = "/r/Prefs";
    const NameCase cases[] = {
        {"/r/Prefs/alice-rx8240-profile.plist", true, "alice", "rx8240", ListKind::Current},
        {"/r/Prefs/alice-rx8240-profile.prev.plist", true, "alice", "rx8240", ListKind::Previous},
        {"/r/Prefs/alice-rx8240-profile.spool.plist", true, "alice", "rx8240", ListKind::Spool},
        {"/r/Prefs/alice-rx8240-profile.plist.dummy", true, "alice", "rx8240", ListKind::Staging},
        {"/r/Prefs/a-b-rx8240-profile.plist", true, "a-b", "rx8240", ListKind::Current},
        {"/r/Prefs/alice-rx8240-profile.plist.tmp", false, "", "", ListKind::Current},
        {"/r/Prefs/rx8240-profile.plist", false, "", "", ListKind::Current},
        {"/r/Prefs/-rx8240-profile.plist", false, "", "", ListKind::Current},
        {"/r/Prefs/alice--profile.plist", false, "", "", ListKind::Current},
        {"/r/Prefs/../alice-rx8240-profile.plist", false, "", "", ListKind::Current},
        {"/r/Prefs/x/../alice-rx8240-profile.plist", false, "", "", ListKind::Current},
        {"/r/Prefs//alice-rx8240-profile.plist", false, "", "", ListKind::Current},
        {"/r/Prefs/..-rx8240-profile.plist", false, "", "", ListKind::Current},
        {"/r/Prefs/al\nice-rx8240-profile.plist", false, "", "", ListKind::Current},
        {"/r/Prefsx/alice-rx8240-profile.plist", false, "", "", ListKind::Current},
        {"/r/alice-rx8240-profile.plist", false, "", "", ListKind::Current},
        {"/etc/passwd", false, "", "", ListKind::Current},
        {"/r/Prefs/", false, "", "", ListKind::Current},
    };
    for (const auto& c : cases) {
        auto file = classifyListPath(c.path, dir);
        ASSERT_EQ(file.has_value(), c.listFile) << c.path;
        if (!file)
            continue;
        EXPECT_EQ(file->user, c.user) << c.path;
        EXPECT_EQ(file->model, c.model) << c.path;
        EXPECT_EQ(file->kind, c.kind) << c.path;
        EXPECT_EQ(dir + "/" + listFileName(file->user, file->model, file->kind), c.path);
    }
}

TEST(ListFileNames, CallersActOnlyForThemselvesButRootForAnyone)
{
    Caller alice{1000, "alice"};
    Caller nameless{1001, ""};
    Caller root{0, "root"};
    EXPECT_TRUE(mayActFor(alice, "alice"));
    EXPECT_FALSE(mayActFor(alice, "bob"));
    EXPECT_FALSE(mayActFor(alice, "alice2"));
    EXPECT_FALSE(mayActFor(nameless, ""));
    EXPECT_TRUE(mayActFor(root, "bob"));
    EXPECT_FALSE(isSafeModelName("rx-8240"));
    EXPECT_FALSE(isSafeUserName("a/b"));
    EXPECT_FALSE(isSafeUserName(std::string(101, 'a')));
}

std::vector<std::string> pluginVector(const std::string& agent)
{
    return {"snmpwalk", "-Os", "-c", "ombrel", "-v", "1", agent, "1.3.6.1.4.1.71362.1.1.1.1.6.13.1.1"};
}

TEST(WalkVector, ThePluginsVectorPasses)
{
    EXPECT_EQ(checkWalkVector(pluginVector("192.168.1.20")), "");
    EXPECT_EQ(checkWalkVector(pluginVector("udp:127.0.0.1:1161")), "");
    EXPECT_EQ(checkWalkVector(pluginVector("printer.local")), "");
    EXPECT_EQ(checkWalkVector({"snmpwalk", "-Cip", "-r", "0", "-t", "1", "-v", "2c", "h1", ".1.3"}), "");
    // Unknown letters only leave a diagnostic in the walk.
    EXPECT_EQ(checkWalkVector({"snmpwalk", "-CxZ", "-Cc", "h1", "1.3"}), "");
    EXPECT_EQ(checkWalkVector({}), "");
}

TEST(WalkVector, EverythingElseIsRefused)
{
    const std::vector<std::vector<std::string>> refused = {
        {"snmpwalk", "-Lf", "/etc/x", "h1", "1.3"},
        {"snmpwalk", "-Lf/etc/x", "h1", "1.3"},
        {"snmpwalk", "-m", "ALL", "h1", "1.3"},
        {"snmpwalk", "-M", "/tmp", "h1", "1.3"},
        {"snmpwalk", "-Y", "logTimestamp 1", "h1", "1.3"},
        {"snmpwalk", "--persistentDir=/tmp", "h1", "1.3"},
        {"snmpwalk", "-D", "ALL", "h1", "1.3"},
        {"snmpwalk", "-d", "h1", "1.3"},
        {"snmpwalk", "-C", "x", "h1", "1.3"},
        {"snmpwalk", "-Cx/", "h1", "1.3"},
        {"snmpwalk", "-C-Lf", "h1", "1.3"},
        {"snmpwalk", "-Osm", "h1", "1.3"},
        {"snmpwalk", "-v", "3", "h1", "1.3"},
        {"snmpwalk", "-r", "6", "h1", "1.3"},
        {"snmpwalk", "-t", "0", "h1", "1.3"},
        {"snmpwalk", "-t", "100000000000", "h1", "1.3"},
        {"snmpwalk", "-c", "-Lf", "h1", "1.3"},
        {"snmpwalk", "-c"},
        {"snmpwalk", "h1"},
        {"snmpwalk", "h1", "1.3", "extra"},
        {"snmpwalk", "unix:/run/x", "1.3"},
        {"snmpwalk", "callback:1", "1.3"},
        {"snmpwalk", "unix:161", "1.3"},
        {"snmpwalk", "h1", "SNMPv2-MIB::sysDescr"},
        {"snmpwalk", "h1", "1..3"},
        {"other", "h1", "1.3"},
    };
    for (const auto& vector : refused)
        EXPECT_NE(checkWalkVector(vector), "") << testing::PrintToString(vector);
}

struct SplitCase {
    std::u16string text;
    std::uint64_t chunk;
    std::size_t maxBytes;
    std::vector<std::size_t> lengths;
};

TEST(SplitCharEvery, PieceLengths)
{
    const std::u16string pair = u"\U0001F600";  // two units, four UTF-8 bytes
    const SplitCase cases[] = {
        {std::u16string(7, u'a'), 3, kMaxArgumentBytes, {3, 3, 1}},
        {std::u16string(3, u'a'), 3, kMaxArgumentBytes, {3}},
        {u"", 3, kMaxArgumentBytes, {0}},
        {std::u16string(90000, u'a'), kPieceLength, kMaxArgumentBytes, {90000}},
        {std::u16string(90001, u'a'), kPieceLength, kMaxArgumentBytes, {90000, 1}},
        // A pair across the cut moves whole into the next piece.
        {u"ab" + pair + u"cd", 3, kMaxArgumentBytes, {2, 3, 1}},
        {pair + pair, 1, kMaxArgumentBytes, {2, 2}},
        // The UTF-8 limit ends a piece before its unit count does.
        {std::u16string(10, u'\u20AC'), 10, 9, {3, 3, 3, 1}},
        {std::u16string(90000, u'\u20AC'), kPieceLength, kMaxArgumentBytes, {43690, 43690, 2620}},
    };
    for (const auto& c : cases) {
        auto pieces = splitCharEvery(c.text, c.chunk, c.maxBytes);
        std::vector<std::size_t> lengths;
        std::u16string joined;
        for (const auto& p : pieces) {
            lengths.push_back(p.size());
            joined += p;
            EXPECT_LE(QVPListUtf8FromUtf16(p).size(), c.maxBytes);
            EXPECT_TRUE(p.empty() || !(p.back() >= 0xD800 && p.back() <= 0xDBFF));
        }
        EXPECT_EQ(lengths, c.lengths);
        EXPECT_EQ(joined, c.text);
    }
}

TEST(SplitCharEvery, Utf16RoundTrip)
{
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";
    auto utf16 = QVPListUtf16FromUtf8(text);
    ASSERT_TRUE(utf16);
    EXPECT_EQ(utf16->size(), 6u);
    EXPECT_EQ(QVPListUtf8FromUtf16(*utf16), text);
    EXPECT_FALSE(QVPListUtf16FromUtf8("\xED\xA0\x80"));
    EXPECT_EQ(QVPListUtf8FromUtf16(u"\xD800x"), "\xEF\xBF\xBDx");
}

}  // namespace
