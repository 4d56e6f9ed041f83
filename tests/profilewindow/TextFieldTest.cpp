// The restricted text fields as the user types into them, the character
// classes, and the icon cell.
#include "plugin/options/PDEControlItem.h"
#include "plugin/profilewindow/IconedCell.h"
#include "plugin/profilewindow/KeyFilters.h"
#include "plugin/profilewindow/QVTextField.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

using pde::QVTextField;

// The file name field and the display name field as the window sets them up.
struct Fields {
    Fields()
    {
        fileName.setMaxLength(12, 3);
        fileName.setInputKey(1);
        fileName.setOperateControl(&ok);
        displayName.setMaxLength(30, 0);
        displayName.setInputKey(0);
    }
    QPushButton ok;
    QVTextField fileName;
    QVTextField displayName;
};

// Types as the user does: one key event per character, carrying its text.
void typeText(QVTextField& field, const QString& text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text.at(i).isHighSurrogate() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
        QCoreApplication::sendEvent(&field, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
        QCoreApplication::sendEvent(&field, &release);
        i += n;
    }
}

struct TypingCase {
    const char* typed;
    const char* expected;
};

class FileNameTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(FileNameTyping, KeepsTheEightThreeRules)
{
    Fields f;
    typeText(f.fileName, QString::fromUtf8(GetParam().typed));
    EXPECT_EQ(f.fileName.text(), QString::fromUtf8(GetParam().expected));
    EXPECT_EQ(f.fileName.oldString(), f.fileName.text());
}

INSTANTIATE_TEST_SUITE_P(Field, FileNameTyping,
                         ::testing::Values(TypingCase{"ABCDEFGHI", "ABCDEFGH"},          // ninth letter without a dot
                                           TypingCase{"ABCDEFGH.ICC", "ABCDEFGH.ICC"},   // 8 + dot + 3 = 12
                                           TypingCase{"ABCDEFGH.ICCM", "ABCDEFGH.ICC"},  // fourth after the dot
                                           TypingCase{"AB.IC.C", "AB.ICC"},              // a second dot
                                           TypingCase{"ABCDEFGHI.ICC", "ABCDEFGH.ICC"},
                                           TypingCase{"A B*C|D@E.I?C", "ABCDE.IC"},       // rejected characters
                                           TypingCase{"~{}.^_`", "~{}.^_`"},
                                           TypingCase{"PROF\xc3\x84.ICC", "PROF.ICC"}));

TEST(FileNameField, CharactersBeforeTheDotStayAtEight)
{
    Fields f;
    typeText(f.fileName, QStringLiteral("ABCDEFGH.I"));
    f.fileName.setCursorPosition(0);
    typeText(f.fileName, QStringLiteral("Z"));
    EXPECT_EQ(f.fileName.text(), QStringLiteral("ABCDEFGH.I"));
    f.fileName.setCursorPosition(10);
    typeText(f.fileName, QStringLiteral("CC"));
    EXPECT_EQ(f.fileName.text(), QStringLiteral("ABCDEFGH.ICC"));
}

TEST(FileNameField, PastedNameLosesItsSpace)
{
    Fields f;
    QGuiApplication::clipboard()->setText(QStringLiteral("AB CD.ICC"));
    f.fileName.paste();
    EXPECT_EQ(f.fileName.text(), QStringLiteral("ABCD.ICC"));
    EXPECT_EQ(f.fileName.cursorPosition(), 8);
    EXPECT_TRUE(f.ok.isEnabled());
}

TEST(FileNameField, OkFollowsTheText)
{
    Fields f;
    typeText(f.fileName, QStringLiteral(".ICC"));
    EXPECT_EQ(f.fileName.text(), QStringLiteral(".ICC")) << "a leading dot is accepted";
    EXPECT_FALSE(f.ok.isEnabled());
    f.fileName.selectAll();
    typeText(f.fileName, QStringLiteral("A"));
    EXPECT_EQ(f.fileName.text(), QStringLiteral("A"));
    EXPECT_TRUE(f.ok.isEnabled());
    QTest::keyClick(&f.fileName, Qt::Key_Backspace);
    EXPECT_EQ(f.fileName.text(), QString());
    EXPECT_FALSE(f.ok.isEnabled());
}

TEST(FileNameField, RefusalRestoresTheAcceptedValueOfBrowse)
{
    Fields f;
    f.fileName.setText(QStringLiteral("CHOSEN.ICC"));
    f.fileName.setOldString(QStringLiteral("CHOSEN.ICC"));
    f.fileName.setCursorPosition(10);
    typeText(f.fileName, QStringLiteral("X"));
    EXPECT_EQ(f.fileName.text(), QStringLiteral("CHOSEN.ICC"));
}

TEST(DisplayNameField, ThirtyFirstCharacterIsRefusedWithTheCaretInPlace)
{
    Fields f;
    const QString thirty = QStringLiteral("Office profile, 2nd floor. 123");
    ASSERT_EQ(thirty.size(), 30);
    typeText(f.displayName, thirty);
    EXPECT_EQ(f.displayName.text(), thirty);
    f.displayName.setCursorPosition(10);
    typeText(f.displayName, QStringLiteral("x"));
    EXPECT_EQ(f.displayName.text(), thirty);
    EXPECT_EQ(f.displayName.cursorPosition(), 10);
    // A paste of several characters puts the caret back where it stood too.
    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    f.displayName.setCursorPosition(4);
    f.displayName.paste();
    EXPECT_EQ(f.displayName.text(), thirty);
    EXPECT_EQ(f.displayName.cursorPosition(), 4);
}

TEST(DisplayNameField, CharactersAboveTildeAreDeletedAsTyped)
{
    Fields f;
    typeText(f.displayName, QString::fromUtf8("Ab\xc3\x84 c\xe2\x82\xac.d\xf0\x9f\x98\x80"));
    EXPECT_EQ(f.displayName.text(), QStringLiteral("Ab c.d"));
    f.displayName.setCursorPosition(2);
    typeText(f.displayName, QString::fromUtf8("\xc3\x84"));
    EXPECT_EQ(f.displayName.text(), QStringLiteral("Ab c.d"));
    EXPECT_EQ(f.displayName.cursorPosition(), 2);
    EXPECT_TRUE(f.displayName.isEnabled());
}

TEST(DisplayNameField, TextSetBetweenSessionsIsWhatARefusalRestores)
{
    Fields f;
    typeText(f.displayName, QStringLiteral("first session"));
    const QString thirty = QStringLiteral("A display name of thirty chars");
    ASSERT_EQ(thirty.size(), 30);
    f.displayName.setText(thirty);  // the window shows another row
    typeText(f.displayName, QStringLiteral("x"));
    EXPECT_EQ(f.displayName.text(), thirty);
}

TEST(DisplayNameField, ProgrammaticTextIsNotChecked)
{
    Fields f;
    const QString device = QString::fromUtf8("Caf\xc3\xa9 profile");
    f.displayName.setText(device);
    EXPECT_EQ(f.displayName.text(), device);
    // The first change of the user checks the whole text.
    f.displayName.end(false);
    typeText(f.displayName, QStringLiteral("s"));
    EXPECT_EQ(f.displayName.text(), QStringLiteral("Caf profiles"));
}

// ---- Character classes ------------------------------------------------

TEST(KeyFilters, FileNameClassAcceptsAndRejects)
{
    for (char32_t c : {U'~', U'{', U'}', U'!', U'#', U'$', U'%', U'&', U'\'', U'(', U')', U'-', U'.', U'^', U'_', U'`',
                       U'a', U'Z', U'0'})
        EXPECT_TRUE(pde::FilterEditTextInputKey(1, c)) << static_cast<uint32_t>(c);
    for (char32_t c : {U'|', U'@', U' ', U'"', U'*', U'+', U',', U'/', U':', U';', U'<', U'=', U'>', U'?', U'[',
                       U'\\', U']', char32_t{0x7F}, char32_t{0xC4}, char32_t{0x1F600}})
        EXPECT_FALSE(pde::FilterEditTextInputKey(1, c)) << static_cast<uint32_t>(c);
}

TEST(KeyFilters, ClassSizesOverAsciiAndBeyond)
{
    struct Row {
        int key;
        int printableAccepted;
        bool acceptsWide;
    };
    for (const Row& r : {Row{0, 95, false}, Row{1, 78, false}, Row{2, 62, false}, Row{3, 10, false},
                         Row{7, 93, true}, Row{-1, 93, true}}) {
        int accepted = 0;
        for (char32_t c = 0x20; c <= 0x7E; ++c)
            accepted += pde::FilterEditTextInputKey(r.key, c);
        EXPECT_EQ(accepted, r.printableAccepted) << "key " << r.key;
        EXPECT_EQ(pde::FilterEditTextInputKey(r.key, 0x1F), r.acceptsWide) << "key " << r.key;
        for (char32_t c : {char32_t{0x7F}, char32_t{0xC4}, char32_t{0x20AC}, char32_t{0x1F600}})
            EXPECT_EQ(pde::FilterEditTextInputKey(r.key, c), r.acceptsWide) << "key " << r.key;
    }
    EXPECT_FALSE(pde::FilterEditTextInputKey(7, U'"'));
    EXPECT_FALSE(pde::FilterEditTextInputKey(7, U'+'));
    EXPECT_TRUE(pde::FilterEditTextInputKey(7, U'|'));
}

TEST(KeyFilters, ComposedCharactersJoinSurrogatePairs)
{
    const QString text = QString::fromUtf8("a\xf0\x9f\x98\x80z");
    const auto* units = reinterpret_cast<const char16_t*>(text.utf16());
    qsizetype next = -1;
    EXPECT_EQ(pde::UCFindComposedCharAtIndex(units, text.size(), 1, &next), char32_t{0x1F600});
    EXPECT_EQ(next, 3);
    EXPECT_EQ(pde::UCFindComposedCharAtIndex(units, text.size(), 3, &next), U'z');
    EXPECT_EQ(next, 4);
    EXPECT_EQ(pde::UCFindComposedCharAtIndex(units, text.size(), 4, &next), char32_t{0});
    EXPECT_EQ(next, 4);
    const char16_t lone[] = {0xD83D, u'b'};
    EXPECT_EQ(pde::UCFindComposedCharAtIndex(lone, 2, 0, &next), char32_t{0xD83D});
    EXPECT_EQ(next, 1);
    const char16_t endsHigh[] = {u'a', 0xD83D};
    EXPECT_EQ(pde::UCFindComposedCharAtIndex(endsHigh, 2, 1, &next), char32_t{0xD83D});
    EXPECT_EQ(next, 2);
}

TEST(KeyFilters, CheckUniCharStringDeletesWholeCharacters)
{
    const QString text = QString::fromUtf8("A\xf0\x9f\x98\x80 B+\"C");
    QString out = text;
    const qsizetype before = pde::CheckUniCharString(reinterpret_cast<const char16_t*>(text.utf16()), text.size(), 1,
                                                     &out, 4);
    EXPECT_EQ(out, QStringLiteral("ABC"));
    EXPECT_EQ(before, 3) << "the pair and the space lie before index 4";
    QString wide = text;
    pde::CheckUniCharString(reinterpret_cast<const char16_t*>(text.utf16()), text.size(), 9, &wide);
    EXPECT_EQ(wide, QString::fromUtf8("A\xf0\x9f\x98\x80 BC"));
    QString untouched = QStringLiteral("keep");
    EXPECT_EQ(pde::CheckUniCharString(nullptr, 4, 1, &untouched), 0);
    EXPECT_EQ(pde::CheckUniCharString(u"", 0, 1, &untouched), 0);
    EXPECT_EQ(untouched, QStringLiteral("keep"));
}

// ---- The icon cell ------------------------------------------------------

QImage canvas()
{
    QImage image(64, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

TEST(IconedCell, DrawsTheIconAtSixteenPixelsThreeFromTheLeft)
{
    QImage icon(128, 128, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    QImage image = canvas();
    {
        QPainter p(&image);
        pde::IconedCell::drawInteriorWithFrame(&p, QRect(10, 5, 40, 20), icon);
    }
    EXPECT_EQ(image.pixelColor(13, 5), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(28, 20), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(12, 5).alpha(), 0);
    EXPECT_EQ(image.pixelColor(29, 5).alpha(), 0);
    EXPECT_EQ(image.pixelColor(13, 21).alpha(), 0);
}

TEST(IconedCell, WithoutAnImageDrawsNothing)
{
    QStandardItemModel model(1, 1);
    pde::IconedCell cell;
    QImage image = canvas();
    {
        QPainter p(&image);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 40, 20);
        cell.paint(&p, option, model.index(0, 0));
        pde::IconedCell::drawInteriorWithFrame(&p, option.rect, QImage());
    }
    EXPECT_EQ(image, canvas());

    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::blue);
    model.setData(model.index(0, 0), icon, Qt::DecorationRole);
    {
        QPainter p(&image);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 40, 20);
        cell.paint(&p, option, model.index(0, 0));
    }
    EXPECT_EQ(image.pixelColor(3, 0), QColor(Qt::blue));
}

}  // namespace
