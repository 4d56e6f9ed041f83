// A text field that checks every change the user makes: a text that breaks
// the field's length or 8.3 rules is taken back to the last accepted text,
// characters outside the field's character class are deleted, and a
// companion control is enabled only while the text is usable (not empty, not
// beginning with ".").
//
// Programmatic setText() is not checked; an editing session begins with the
// user's first change after the field was set, and ends when editing
// finishes (focus leaves the field or Return is pressed) or when the program
// sets the text.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <cstdint>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

class QVTextField : public QLineEdit {
    Q_OBJECT
public:
    explicit QVTextField(QWidget* parent = nullptr);

    // maxLen: maximum length in UTF-16 units. maxExtension: maximum length
    // of the part after the dot; 0 = no 8.3 rules.
    void setMaxLength(int32_t length, int32_t extension);
    // The character class (KeyFilters.h).
    void setInputKey(int32_t inputKey);
    // Control enabled while the text is usable; null for none. Not owned.
    void setOperateControl(QWidget* control);
    // Makes a copy of `text` the last accepted text.
    void setOldString(const QString& text);

    // Start of an editing session: a copy of the text as it stood before the
    // session's first change becomes the last accepted text. Always true.
    bool textShouldBeginEditing();
    // End of an editing session. Always true.
    bool textShouldEndEditing();
    // The check run after every change of the user.
    void textDidChange();

    const QString& oldString() const { return oldValue; }

private:
    void onTextChanged();
    void onTextEdited();
    void refuse(qsizetype caret);
    void updateOperateControl();

    QPointer<QWidget> operateOutlet;
    int16_t index = 0;  // kept for the record layout; not used
    int32_t inputkey = 0;
    int32_t maxLen = 32767;
    int32_t maxExtension = 0;
    QString oldValue;

    bool editing_ = false;
    bool checking_ = false;
    bool userChange_ = false;
    QString shownText_;  // the text after the last completed change
};

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
