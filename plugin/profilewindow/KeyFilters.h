// Character classes of the restricted text fields, and the two helpers that
// walk UTF-16 text by characters and delete what a class rejects. Plain
// functions: the profile window's Browse command applies them as well.
#pragma once

#include <QString>
#include <cstdint>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

// Input keys of a field.
enum InputKey : int32_t {
    kInputKeyAscii = 0,           // U+0020..U+007E
    kInputKeyAsciiAppoint = 1,    // printable ASCII without the space and " * + , / : ; < = > ? @ [ \ ] |
    kInputKeyAlphaNumeric = 2,    // 0-9 A-Z a-z
    kInputKeyNumeric = 3,         // 0-9
    // any other key: everything but the double quote and the plus sign
};

// The five classes; `c` is a Unicode code point.
bool AsciiKeyFilter(char32_t c);
bool AsciiKeyFilterAppoint(char32_t c);
bool AlphaNumericKeyFilter(char32_t c);
bool NumericKeyFilter(char32_t c);
bool WideCharKeyFilter(char32_t c);

// True when `c` belongs to the class of `inputKey`.
bool FilterEditTextInputKey(int32_t inputKey, char32_t c);

// The character at `index` of the UTF-16 buffer, a surrogate pair joined into
// one code point, and in *nextIndex the index to continue at. A lone
// surrogate is returned as it stands. 0 with *nextIndex = length when `index`
// is outside the buffer.
char32_t UCFindComposedCharAtIndex(const char16_t* buffer, qsizetype length, qsizetype index,
                                   qsizetype* nextIndex);

// Deletes from *text, which holds the same text as the buffer, every
// character that `inputKey` rejects; the others keep their order. An empty or
// missing buffer, or no text, changes nothing. Returns the number of UTF-16
// units deleted before position `before` of the buffer (for keeping a caret
// in place), counting every deletion when `before` is -1.
qsizetype CheckUniCharString(const char16_t* buffer, qsizetype length, int32_t inputKey, QString* text,
                             qsizetype before = -1);

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
