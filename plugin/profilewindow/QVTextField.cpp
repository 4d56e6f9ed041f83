#include "plugin/profilewindow/QVTextField.h"

#include "plugin/profilewindow/KeyFilters.h"

#include <algorithm>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

QVTextField::QVTextField(QWidget* parent) : QLineEdit(parent)
{
    (void)index;
    connect(this, &QLineEdit::textChanged, this, &QVTextField::onTextChanged);
    connect(this, &QLineEdit::textEdited, this, &QVTextField::onTextEdited);
    connect(this, &QLineEdit::editingFinished, this, &QVTextField::textShouldEndEditing);
}

void QVTextField::setMaxLength(int32_t length, int32_t extension)
{
    maxLen = length;
    maxExtension = extension;
}

void QVTextField::setInputKey(int32_t key)
{
    inputkey = key;
}

void QVTextField::setOperateControl(QWidget* control)
{
    operateOutlet = control;
}

void QVTextField::setOldString(const QString& text)
{
    oldValue = QString(text.constData(), text.size());
}

bool QVTextField::textShouldBeginEditing()
{
    editing_ = true;
    oldValue = QString(shownText_.constData(), shownText_.size());
    return true;
}

bool QVTextField::textShouldEndEditing()
{
    editing_ = false;
    return true;
}

// Every change, the user's and the program's, moves the shadow text, so that
// the first change of a session knows the text it replaced (textEdited comes
// before textChanged). The signal's argument may be stale when a check has
// replaced the text meanwhile, so the field's own text is taken.
void QVTextField::onTextChanged()
{
    shownText_ = text();
    if (checking_)
        return;
    if (userChange_)
        userChange_ = false;
    else
        editing_ = false;  // the program set the text: the next change starts a session
}

void QVTextField::onTextEdited()
{
    if (checking_)
        return;
    if (!editing_)
        textShouldBeginEditing();
    checking_ = true;
    textDidChange();
    checking_ = false;
    // textChanged for this change follows.
    userChange_ = true;
}

void QVTextField::refuse(qsizetype caret)
{
    setText(oldValue);
    setCursorPosition(static_cast<int>(std::clamp<qsizetype>(caret, 0, oldValue.size())));
}

void QVTextField::textDidChange()
{
    const QString t = text();
    const qsizetype n = t.size();
    const qsizetype dot = t.indexOf(QLatin1Char('.'));
    const qsizetype beforeDot = static_cast<qsizetype>(maxLen) - 1 - maxExtension;

    const qsizetype limit = (maxExtension > 0 && dot < 0) ? beforeDot : maxLen;
    if (n > limit) {
        // The caret goes back to where it stood before the change.
        refuse(cursorPosition() - n + oldValue.size());
        updateOperateControl();
        return;
    }
    if (maxExtension > 0 && dot >= 0) {
        const bool refused = dot > beforeDot || n - dot > static_cast<qsizetype>(maxExtension) + 1 ||
                             t.indexOf(QLatin1Char('.'), dot + 1) >= 0;
        if (refused) {
            refuse(cursorPosition());
            updateOperateControl();
            return;
        }
    }
    if (!t.isEmpty()) {
        QString kept = t;
        const qsizetype caret = cursorPosition();
        const qsizetype removed = CheckUniCharString(reinterpret_cast<const char16_t*>(t.utf16()), n, inputkey,
                                                     &kept, caret);
        if (kept != t) {
            setText(kept);
            setCursorPosition(static_cast<int>(caret - removed));
        }
    }
    updateOperateControl();
    setOldString(text());
}

void QVTextField::updateOperateControl()
{
    if (!operateOutlet)
        return;
    const QString t = text();
    const bool usable = !t.isEmpty() && !t.startsWith(QLatin1Char('.'));
    if (operateOutlet->isEnabled() != usable)
        operateOutlet->setEnabled(usable);
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
