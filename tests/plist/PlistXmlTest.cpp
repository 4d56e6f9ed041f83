// The generic XML property-list reader and writer, checked against libplist.
#include "platform/plist/PlistXml.h"

#include <gmock/gmock.h>
#include <plist/plist.h>

#include <cstdlib>

namespace {

using ::testing::HasSubstr;

plist::Value sample()
{
    auto inner = plist::Dictionary::create();
    inner->set("flag", plist::Value(true));
    inner->set("off", plist::Value(false));
    inner->set("empty dict", plist::Value(plist::Dictionary::create()));
    auto array = std::make_shared<plist::Array>();
    array->push_back(plist::Value(-42));
    array->push_back(plist::Value("x"));
    array->push_back(plist::Value(std::make_shared<plist::Array>()));
    auto root = plist::Dictionary::create();
    root->set("text", plist::Value("a & b < c > d \"q\" 'a' caf\xC3\xA9 \xF0\x9F\x98\x80\ttab\nline"));
    root->set("carriage\rreturn", plist::Value("x\ry"));
    root->set("empty", plist::Value(""));
    root->set("spaces", plist::Value("   "));
    root->set("big", plist::Value(int64_t(9007199254740993)));
    root->set("min", plist::Value(int64_t(INT64_MIN)));
    root->set("unsigned max", plist::Value::unsignedInteger(UINT64_MAX));
    root->set("real", plist::Value(0.1));
    root->set("date", plist::Value(plist::Date{"2024-05-06T07:08:09Z"}));
    root->set("data", plist::Value(plist::Data{std::string("\x00\x01\xFFhello", 8)}));
    root->set("data2", plist::Value(plist::Data{"ab"}));
    root->set("inner", plist::Value(inner));
    root->set("array", plist::Value(array));
    return plist::Value(root);
}

TEST(PlistXml, RoundTripsEveryType)
{
    const plist::Value v = sample();
    const std::string text = plist::toXml(v);
    EXPECT_EQ(text.rfind(std::string(plist::kXmlHeader), 0), 0u);
    plist::ReadResult result;
    result.error = plist::ReadError::NotFound;
    EXPECT_EQ(plist::parseXml(text, &result), v);
    EXPECT_EQ(result.error, plist::ReadError::None);
}

TEST(PlistXml, LibplistReadsWhatIsWritten)
{
    const std::string text = plist::toXml(sample());
    plist_t root = nullptr;
    plist_from_xml(text.data(), uint32_t(text.size()), &root);
    ASSERT_TRUE(root);
    auto str = [&](const char* key) {
        char* s = nullptr;
        plist_get_string_val(plist_dict_get_item(root, key), &s);
        std::string out = s ? s : "<null>";
        std::free(s);
        return out;
    };
    EXPECT_EQ(str("text"), "a & b < c > d \"q\" 'a' caf\xC3\xA9 \xF0\x9F\x98\x80\ttab\nline");
    EXPECT_EQ(str("empty"), "");
    EXPECT_TRUE(plist_dict_get_item(root, "carriage\rreturn"));
    uint64_t u = 0;
    plist_get_uint_val(plist_dict_get_item(root, "big"), &u);
    EXPECT_EQ(u, 9007199254740993u);
    plist_get_uint_val(plist_dict_get_item(root, "unsigned max"), &u);
    EXPECT_EQ(u, UINT64_MAX);
    double d = 0;
    plist_get_real_val(plist_dict_get_item(root, "real"), &d);
    EXPECT_EQ(d, 0.1);
    char* bytes = nullptr;
    uint64_t length = 0;
    plist_get_data_val(plist_dict_get_item(root, "data"), &bytes, &length);
    EXPECT_EQ(std::string(bytes, length), std::string("\x00\x01\xFFhello", 8));
    std::free(bytes);
    uint8_t b = 0;
    plist_get_bool_val(plist_dict_get_item(plist_dict_get_item(root, "inner"), "flag"), &b);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(plist_array_get_size(plist_dict_get_item(root, "array")), 3u);
    plist_free(root);
}

TEST(PlistXml, ReadsOtherWritersForms)
{
    const char* text = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- a comment -->
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>
  <key>hex</key><integer> 0x1F </integer>
  <key>neg</key><integer>-5</integer>
  <key>unsigned max</key><integer>18446744073709551615</integer>
  <key>minus one</key><integer>-1</integer>
  <key>cdata</key><string><![CDATA[<raw & text>]]></string>
  <key>entities</key><string>&#233;&#x1F600;&lt;&amp;&quot;&apos;</string>
  <key>split</key><string>ab<!-- c -->cd</string>
  <key>empty</key><string/>
  <key>dup</key><integer>1</integer>
  <key>dup</key><integer>2</integer>
</dict></plist>)";
    plist::Value v = plist::parseXml(text);
    auto d = v.dictionary();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->get("hex"), plist::Value(31));
    EXPECT_EQ(d->get("neg"), plist::Value(-5));
    // An unsigned writer's value above the signed range is written back as it was.
    EXPECT_EQ(d->get("unsigned max"), plist::Value::unsignedInteger(UINT64_MAX));
    EXPECT_NE(d->get("minus one"), d->get("unsigned max"));
    EXPECT_THAT(plist::toXml(v), HasSubstr("<integer>18446744073709551615</integer>"));
    EXPECT_EQ(d->get("cdata"), plist::Value("<raw & text>"));
    EXPECT_EQ(d->get("entities"), plist::Value("\xC3\xA9\xF0\x9F\x98\x80<&\"'"));
    EXPECT_EQ(d->get("split"), plist::Value("abcd"));
    EXPECT_EQ(d->get("empty"), plist::Value(""));
    EXPECT_EQ(d->get("dup"), plist::Value(2));
}

TEST(PlistXml, RejectsMalformedDocuments)
{
    const char* cases[] = {
        "",
        "<plist><dict><key>a</key></dict></plist>",
        "<plist><dict><string>a</string></dict></plist>",
        "<plist><dict><key>a</key><integer>1.5</integer></dict></plist>",
        "<plist><dict><key>a</key><data>!!</data></dict></plist>",
        "<plist><dict><key>a</key><unknown/></dict></plist>",
        "<plist><dict>",
        "<plist></plist>",
    };
    for (const char* c : cases) {
        plist::ReadResult result;
        EXPECT_TRUE(plist::parseXml(c, &result).isNone()) << c;
        EXPECT_EQ(result.error, c[0] ? plist::ReadError::NotParsable : plist::ReadError::Empty) << c;
    }
    plist::ReadResult result;
    EXPECT_TRUE(plist::readXmlFile("/nonexistent/file.plist", &result).isNone());
    EXPECT_EQ(result.error, plist::ReadError::NotFound);
}

TEST(PlistXml, WriterKeepsDocumentsWellFormed)
{
    // Invalid UTF-8 becomes U+FFFD; characters XML cannot carry are dropped.
    auto d = plist::Dictionary::create();
    d->set("k", plist::Value(std::string("a\xFF" "b\x01" "c\xC3", 6)));
    plist::Value back = plist::parseXml(plist::toXml(plist::Value(d)));
    ASSERT_TRUE(back.dictionary());
    EXPECT_EQ(back.dictionary()->get("k"), plist::Value("a\xEF\xBF\xBD" "bc\xEF\xBF\xBD"));
}

}  // namespace
