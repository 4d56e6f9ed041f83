#include "plugin/profilewindow/KeyFilters.h"

#include <QStringView>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {
constexpr char32_t kFirstPrintable = 0x20;
constexpr char32_t kLastPrintable = 0x7E;
// Besides the space, what key 1 refuses of printable ASCII.
constexpr char16_t kAppointRejected[] = u"\"*+,/:;<=>?@[\\]|";
}  // namespace

bool AsciiKeyFilter(char32_t c)
{
    return c >= kFirstPrintable && c <= kLastPrintable;
}

bool AsciiKeyFilterAppoint(char32_t c)
{
    if (c == U' ' || !AsciiKeyFilter(c))
        return false;
    for (const char16_t* r = kAppointRejected; *r; ++r)
        if (c == *r)
            return false;
    return true;
}

bool AlphaNumericKeyFilter(char32_t c)
{
    return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}

bool NumericKeyFilter(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

bool WideCharKeyFilter(char32_t c)
{
    return c != U'"' && c != U'+';
}

bool FilterEditTextInputKey(int32_t inputKey, char32_t c)
{
    switch (inputKey) {
    case kInputKeyAscii:
        return AsciiKeyFilter(c);
    case kInputKeyAsciiAppoint:
        return AsciiKeyFilterAppoint(c);
    case kInputKeyAlphaNumeric:
        return AlphaNumericKeyFilter(c);
    case kInputKeyNumeric:
        return NumericKeyFilter(c);
    default:
        return WideCharKeyFilter(c);
    }
}

char32_t UCFindComposedCharAtIndex(const char16_t* buffer, qsizetype length, qsizetype index, qsizetype* nextIndex)
{
    if (!buffer || index < 0 || index >= length) {
        if (nextIndex)
            *nextIndex = length;
        return 0;
    }
    const char16_t unit = buffer[index];
    if (QChar::isHighSurrogate(unit) && index + 1 < length && QChar::isLowSurrogate(buffer[index + 1])) {
        if (nextIndex)
            *nextIndex = index + 2;
        return QChar::surrogateToUcs4(unit, buffer[index + 1]);
    }
    if (nextIndex)
        *nextIndex = index + 1;
    return unit;
}

qsizetype CheckUniCharString(const char16_t* buffer, qsizetype length, int32_t inputKey, QString* text,
                             qsizetype before)
{
    if (!buffer || length <= 0 || !text)
        return 0;
    QString kept;
    kept.reserve(length);
    qsizetype removedBefore = 0;
    for (qsizetype i = 0; i < length;) {
        qsizetype next = i;
        const char32_t c = UCFindComposedCharAtIndex(buffer, length, i, &next);
        if (FilterEditTextInputKey(inputKey, c))
            kept.append(QStringView(buffer + i, next - i));
        else if (before < 0 || i < before)
            removedBefore += next - i;
        i = next;
    }
    *text = kept;
    return removedBefore;
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
