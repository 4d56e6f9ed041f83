// The control table: UI lists from the PPD and their text encodings,
// defaults, control values, joining tables, constraint values.
#include "PanelFixture.h"

#include <QCheckBox>

using namespace testsupport;
using pde::PDECommon;

namespace {

struct EncodingCase {
    const char* file;
    rx::TextEncoding encoding;  // after libcups has read the file
    const char* lighter;
    const char* darker;
};

class PpdEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(PpdEncoding, ChoiceTextsDecodeToTheirCharacters)
{
    const EncodingCase& c = GetParam();
    auto ppd = openPpd(c.file);
    ASSERT_TRUE(ppd);
    EXPECT_EQ(PDECommon::commonGetCFStringEncodingFromPPD(ppd.get()), c.encoding);
    pde::UIList* list = nullptr;
    ASSERT_EQ(PDECommon::commonGetPPDArrayForUIOption(ppd.get(), "QVBrightness", &list), pde::kNoErr);
    std::unique_ptr<pde::UIList> owner(list);
    ASSERT_EQ(list->size(), 5);
    EXPECT_EQ(list->at(1)[pde::kUIChoiceText], QString::fromUtf8(c.lighter));
    EXPECT_EQ(list->at(3)[pde::kUIChoiceText], QString::fromUtf8(c.darker));
    // Element 1 is the option's default in every entry.
    for (const auto& e : *list)
        EXPECT_EQ(e[pde::kUIDefaultChoice], QStringLiteral("Normal"));
}

// libcups converts the strings of ISOLatin1, WindowsANSI and JIS83-RKSJ files
// to UTF-8 and says so; a file without LanguageEncoding keeps its bytes and
// is read as Mac OS Roman, and so is one whose encoding libcups does not know
// (it keeps the EUC-KR bytes, or a "None" file's UTF-8 bytes, but reports
// UTF-8).
INSTANTIATE_TEST_SUITE_P(
    Fixtures, PpdEncoding,
    ::testing::Values(EncodingCase{"rx8240-latin1.ppd", rx::TextEncoding::UTF8, "Très clair", "Foncé"},
                      EncodingCase{"rx8240-cp1252.ppd", rx::TextEncoding::UTF8, "€ Lighter", "Darker “dark”"},
                      EncodingCase{"rx8240-sjis.ppd", rx::TextEncoding::UTF8, "明るい", "暗い"},
                      EncodingCase{"rx8240-utf8.ppd", rx::TextEncoding::UTF8, "Ünïcødé light", "Dunkel ☼"},
                      EncodingCase{"rx8240-none.ppd", rx::TextEncoding::MacRoman, "Café clair", "Noir ƒ"},
                      EncodingCase{"rx8240-euckr.ppd", rx::TextEncoding::MacRoman, "π‡∞‘", "æÓµ”∞‘"},
                      EncodingCase{"rx8240-declared-none.ppd", rx::TextEncoding::MacRoman, "Caf√© clair",
                                   "Tr√®s fonc√©"}));

TEST(PpdEncodingTable, NamesAreExactAndBytesDecodePerEncoding)
{
    struct Row {
        const char* name;
        rx::TextEncoding encoding;
        std::string bytes;
        const char* text;
    } rows[] = {
        {"ISOLatin1", rx::TextEncoding::ISOLatin1, "Fonc\xE9", "Foncé"},
        {"WindowsANSI", rx::TextEncoding::WindowsLatin1, "\x80 \x93q\x94", "€ “q”"},
        {"JIS83-RKSJ", rx::TextEncoding::ShiftJIS, "\x96\xBE\x82\xE9\x82\xA2", "明るい"},
        {"UTF-8", rx::TextEncoding::UTF8, "\xC3\x9C", "Ü"},
        {"UTF8", rx::TextEncoding::UTF8, "\xE2\x98\xBC", "☼"},
        {"utf-8", rx::TextEncoding::MacRoman, "Caf\x8E", "Café"},
        {"isolatin1", rx::TextEncoding::MacRoman, "\xC4", "ƒ"},
        {nullptr, rx::TextEncoding::MacRoman, "\xA5", "•"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name ? r.name : "(none)");
        EXPECT_EQ(rx::textEncodingForLanguageEncoding(r.name), r.encoding);
        EXPECT_EQ(rx::decodeText(r.bytes, r.encoding), QString::fromUtf8(r.text));
    }
    // What libcups reported against what the file declares.
    struct Declared {
        const char* reported;
        const char* declared;
        rx::TextEncoding encoding;
    } declared[] = {
        {"UTF-8", "ISOLatin1", rx::TextEncoding::UTF8},  {"UTF-8", "isolatin1", rx::TextEncoding::UTF8},
        {"UTF-8", "MacStandard", rx::TextEncoding::UTF8}, {"UTF-8", "UTF-8", rx::TextEncoding::UTF8},
        {"UTF-8", "None", rx::TextEncoding::MacRoman},   {"UTF-8", "EUC-KR", rx::TextEncoding::MacRoman},
        {"WindowsANSI", nullptr, rx::TextEncoding::WindowsLatin1}, {nullptr, nullptr, rx::TextEncoding::MacRoman},
    };
    for (const Declared& d : declared) {
        SCOPED_TRACE(d.declared ? d.declared : "(not declared)");
        EXPECT_EQ(rx::ppdStringEncoding(d.reported, d.declared), d.encoding);
    }
    // PPD strings: for a file without an encoding entry libcups hands over
    // the ISO 8859-1 reading in UTF-8; the file's bytes are Mac OS Roman.
    EXPECT_EQ(rx::decodePpdText("Caf\xC2\x8E", rx::TextEncoding::MacRoman), QStringLiteral("Café"));
    EXPECT_EQ(rx::decodePpdText("Caf\x8E", rx::TextEncoding::MacRoman), QStringLiteral("Café"));
    EXPECT_EQ(rx::decodePpdText("Fonc\xE9", rx::TextEncoding::ISOLatin1), QStringLiteral("Foncé"));
    // A broken Shift-JIS sequence decodes with a replacement, not a loss of
    // the rest of the text.
    EXPECT_EQ(rx::decodeText(std::string("\x82" "A", 2), rx::TextEncoding::ShiftJIS).right(1), QStringLiteral("A"));
}

TEST(ControlTable, MissingOptionLeavesNoListAndNoDefault)
{
    auto ppd = openPpd("rx8240-partial.ppd");
    pde::UIList* list = nullptr;
    EXPECT_EQ(PDECommon::commonGetPPDArrayForUIOption(ppd.get(), "QVBrightness", &list), pde::kPPDOptionNotFoundErr);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(PDECommon::commonFindPPDKeyPairsMatch(nullptr, "QVBrightness", "Normal"), -1);

    Panel panel("rx8240-partial.ppd");
    panel.build();
    const pde::PDEControlItem& brightness = panel.basic->getControlData()[1];
    const pde::PDEControlItem& glossy = panel.basic->getControlData()[6];
    EXPECT_EQ(brightness.uiList, nullptr);
    EXPECT_EQ(PDECommon::commonGetDefualtValueFromPPDWithSInt32(&brightness), 0);
    EXPECT_EQ(PDECommon::commonGetControlValueFromPPDWithSInt32(&glossy), -1);
    EXPECT_TRUE(PDECommon::commonGetControlValueFromPPDWithNSString(&glossy).isNull());
}

TEST(ControlTable, CheckBoxDefaultsOnlyForTheThreeTrueSpellings)
{
    pde::PDEControlItem row = {nullptr, pde::CheckBox, "QVColorAsGray", nullptr, nullptr, "", 0, nullptr};
    for (const char* on : {"True", "TRUE", "true"})
        EXPECT_EQ(PDECommon::commonGetTicketValueWithSInt32(&row, "QVColorAsGray", plist::Value(on)), 1) << on;
    for (const char* off : {"False", "Yes", "1", "tRUE", ""})
        EXPECT_EQ(PDECommon::commonGetTicketValueWithSInt32(&row, "QVColorAsGray", plist::Value(off)), 0) << off;
    EXPECT_EQ(PDECommon::commonGetTicketValueWithSInt32(&row, "QVColorAsGray", plist::Value(int64_t(1))), 0);

    // The same through a PPD whose defaults are "TRUE", "true" and "Yes".
    Panel panel("rx8240-defaults.ppd");
    panel.build();
    panel.basic->defaultFromPPDInfo();
    EXPECT_TRUE(panel.basic->check_ColorAsGrayscale->isChecked());
    EXPECT_TRUE(panel.basic->check_EconomyPrint->isChecked());
    EXPECT_FALSE(panel.basic->check_GlossyMode->isChecked());
    EXPECT_FALSE(panel.basic->check_ColorSeparation->isChecked());
}

TEST(ControlTable, PopUpWithUnknownDefaultEndsWithoutSelection)
{
    Panel panel("rx8240-defaults.ppd");
    panel.build();
    panel.basic->menu_Brightness->setCurrentIndex(2);
    panel.basic->defaultFromPPDInfo();  // default "Medium" is not a choice
    EXPECT_EQ(panel.basic->menu_Brightness->currentIndex(), -1);
    EXPECT_EQ(PDECommon::commonGetControlValueFromPPDWithSInt32(&panel.basic->getControlData()[1]), -1);

    const pde::PDEControlItem& quick = panel.basic->getControlData()[0];
    PDECommon::commonSetControlValueWithSInt32(&quick, 2);
    for (int32_t tooFar : {4, 5, 1000})
        PDECommon::commonSetControlValueWithSInt32(&quick, tooFar);
    EXPECT_EQ(panel.basic->menu_QuickColor->currentIndex(), 2);
    PDECommon::commonSetControlValueWithSInt32(&quick, 3);
    EXPECT_EQ(panel.basic->menu_QuickColor->currentIndex(), 3);
    EXPECT_EQ(panel.basic->getQuickColorValue(), 3);
    PDECommon::commonSetControlValueWithSInt32(&quick, -1);
    EXPECT_EQ(panel.basic->getQuickColorValue(), -1);
}

TEST(ControlTable, BasicTableRowsKeywordsAndMenus)
{
    Panel panel;
    panel.build();
    pde::ColorOptions* basic = panel.basic;
    ASSERT_EQ(basic->getControlCount(), 12);
    const pde::PDEControlItem* t = basic->getControlData();
    EXPECT_EQ(t[11].kind, pde::EndOfTable);
    EXPECT_EQ(t[11].control, nullptr);
    for (int i = 7; i < 11; ++i)
        EXPECT_EQ(t[i].uiList, nullptr) << "unbound row " << i << " has a list";

    QStringList keys;
    EXPECT_EQ(basic->addPPDArray(&keys), pde::kNoErr);
    EXPECT_EQ(keys, (QStringList{"QVQuickColor", "QVBrightness", "QVColorAsGray", "QVColorSeparation", "QVEconoMode",
                                 "QVEdgeType", "QVGlossyMode"}));
    EXPECT_EQ(PDECommon::commonAddPPDArray(nullptr, t), pde::kParamErr);

    // Menus hold the PPD's choice texts with the keywords as item data.
    ASSERT_EQ(basic->menu_QuickColor->count(), 4);
    EXPECT_EQ(basic->menu_QuickColor->itemText(3), QStringLiteral("Custom"));
    EXPECT_EQ(basic->menu_QuickColor->itemData(3).toString(), QStringLiteral("UserDefined"));
    EXPECT_EQ(basic->check_ColorAsGrayscale->text(), QStringLiteral("Color as Grayscale"));
    EXPECT_EQ(basic->text_Strength->text(), QStringLiteral("EdgeType:"));
}

TEST(ControlTable, UnconnectedOutletEndsTheWalk)
{
    Panel panel;
    panel.basic->check_EconomyPrint = nullptr;  // row 5
    panel.build();
    QStringList keys;
    panel.basic->addPPDArray(&keys);
    EXPECT_EQ(keys, (QStringList{"QVQuickColor", "QVBrightness", "QVColorAsGray", "QVColorSeparation"}));
    EXPECT_EQ(panel.basic->menu_EdgeStrength->count(), 0) << "a menu after the gap was filled";
    panel.basic->check_GlossyMode->setChecked(true);
    panel.basic->defaultFromPPDInfo();
    EXPECT_TRUE(panel.basic->check_GlossyMode->isChecked()) << "a row after the gap was defaulted";
}

TEST(ControlTable, JoiningTables)
{
    Panel panel;
    panel.build();
    pde::ControlTable tables[5] = {panel.basic->getControlData(), panel.advanced->getControlData()};
    auto joined = PDECommon::commonControlTableCompound(tables, 2);
    ASSERT_TRUE(joined);
    int n = 0;
    while (joined[n].kind != pde::EndOfTable)
        ++n;
    EXPECT_EQ(n, 11 + 46);
    // Rows share controls and lists with the views' tables.
    EXPECT_EQ(joined[0].control, panel.basic->menu_QuickColor);
    EXPECT_EQ(joined[11].uiList, panel.advanced->getControlData()[0].uiList);
    EXPECT_EQ(joined[n].control, nullptr);

    pde::PDEControlItem lone[1] = {pde::kEndOfTableRow};
    pde::ControlTable terminators[2] = {lone, lone};
    auto empty = PDECommon::commonControlTableCompound(terminators, 2);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty[0].kind, pde::EndOfTable);
}

TEST(ControlTable, ConstraintValueConversions)
{
    pde::PDEControlItem popUp = {nullptr, pde::PopUpMenu, "", nullptr, nullptr, "", 0, nullptr};
    pde::PDEControlItem box = {nullptr, pde::CheckBox, "", nullptr, nullptr, "", 0, nullptr};
    struct {
        int32_t in, to, from;
    } rows[] = {{-5, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {1, 2, 0}, {5, 6, 4}};
    for (auto r : rows) {
        EXPECT_EQ(PDECommon::commonConvertToCSTValue(&popUp, r.in), r.to) << r.in;
        EXPECT_EQ(PDECommon::commonConvertFromCSTValue(&popUp, r.in), r.from) << r.in;
        EXPECT_EQ(PDECommon::commonConvertToCSTValue(&box, r.in), r.in);
        EXPECT_EQ(PDECommon::commonConvertFromCSTValue(&box, r.in), r.in);
        EXPECT_EQ(PDECommon::commonConvertToCSTValue(nullptr, r.in), r.in);
    }
}

}  // namespace
