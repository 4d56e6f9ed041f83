// Control tables: UI lists from the PPD, titling, menus, defaults, and the
// conversions between PPD choices, control values and constraint values.
#include "plugin/options/PDECommon.h"

#include "platform/Bundle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <cups/ppd.h>
#include <cstring>
#include <new>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {

QComboBox* popUp(const PDEControlItem* row) { return qobject_cast<QComboBox*>(row->control); }
QCheckBox* checkBox(const PDEControlItem* row) { return qobject_cast<QCheckBox*>(row->control); }

// Index of the entry (row's option, "True"/"False") for a check box.
int checkBoxChoiceIndex(const PDEControlItem* row)
{
    QCheckBox* box = checkBox(row);
    if (!box)
        return -1;
    const QString choice = box->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
    return PDECommon::commonFindPPDKeyPairsMatch(row->uiList, QString::fromLatin1(row->ppdKey), choice);
}

const char* const kTabTitleKeys[] = {"Image", "Text", "Graphics", "Simulation"};

// A string of the PPD as text. Only for a file without an encoding entry
// (no lang_encoding) has libcups turned the bytes into UTF-8 by its ISO
// 8859-1 default, which decodePpdText undoes; the strings of every other file
// are decoded as they stand.
QString ppdString(const ppd_file_t* ppd, const char* bytes, rx::TextEncoding encoding)
{
    return ppd->lang_encoding ? rx::decodeText(bytes, encoding) : rx::decodePpdText(bytes, encoding);
}

}  // namespace

QString localizedString(const char* key)
{
    rx::Bundle* bundle = pluginBundle();
    if (!bundle || !key)
        return QString();
    return bundle->localizedString(key);
}

std::optional<QString> textOfUtf8(std::string_view bytes)
{
    const QByteArray utf8(bytes.data(), qsizetype(bytes.size()));
    QString text = QString::fromUtf8(utf8);
    if (text.toUtf8() != utf8)
        return std::nullopt;
    return text;
}

QString localizedOrKey(const char* key)
{
    const QString text = localizedString(key);
    return text.isEmpty() ? QString::fromLatin1(key) : text;
}

rx::TextEncoding PDECommon::commonGetCFStringEncodingFromPPD(ppd_file_t* ppd)
{
    if (!ppd)
        return rx::TextEncoding::MacRoman;
    const ppd_attr_t* declared = ppdFindAttr(ppd, "LanguageEncoding", nullptr);
    return rx::ppdStringEncoding(ppd->lang_encoding, declared ? declared->value : nullptr);
}

rx::TextEncoding PDECommon::commonGetEncodingFromPPD(ppd_file_t* ppd)
{
    return commonGetCFStringEncodingFromPPD(ppd);
}

OSStatus PDECommon::commonGetPPDArrayForUIOption(ppd_file_t* ppd, const char* key, UIList** array)
{
    if (!array || !key)
        return kParamErr;
    if (!ppd || !ppdFindOption(ppd, key))
        return kPPDOptionNotFoundErr;
    auto* list = new (std::nothrow) UIList;
    if (!list)
        return kArrayCreateErr;
    int16_t count = 0;
    commonGetUIListFromPPD(ppd, key, list, &count);
    *array = list;
    return kNoErr;
}

OSStatus PDECommon::commonGetUIListFromPPD(ppd_file_t* ppd, const char* key, UIList* array, int16_t* count)
{
    const rx::TextEncoding encoding = commonGetCFStringEncodingFromPPD(ppd);
    if (!array || !ppd || !key)
        return kNoErr;
    ppd_option_t* option = ppdFindOption(ppd, key);
    if (!option || option->num_choices <= 0)
        return kNoErr;
    const QString optionKey = ppdString(ppd, option->keyword, encoding);
    const QString defaultChoice = ppdString(ppd, option->defchoice, encoding);
    for (int i = 0; i < option->num_choices; ++i) {
        const ppd_choice_t& c = option->choices[i];
        array->append(UIListEntry{optionKey, defaultChoice, ppdString(ppd, c.choice, encoding),
                                  ppdString(ppd, c.text, encoding)});
        if (count)
            ++*count;
    }
    return kNoErr;
}

int PDECommon::commonFindPPDKeyPairsMatch(const UIList* list, const QString& option, const QString& choice)
{
    if (!list)
        return -1;
    for (int i = 0; i < list->size(); ++i) {
        const UIListEntry& e = list->at(i);
        if (e[kUIOptionKey] == option && e[kUIChoiceKey] == choice)
            return i;
    }
    return -1;
}

OSStatus PDECommon::commonAddPPDArray(QStringList* array, const PDEControlItem* table)
{
    if (!array)
        return kParamErr;
    for (const PDEControlItem& row : controlRows(table)) {
        if (isBound(row))
            array->append(QString::fromLatin1(row.ppdKey));
    }
    return kNoErr;
}

void PDECommon::commonBuildPDEItem(PDEControlItem* table, ppd_file_t* ppd)
{
    for (PDEControlItem& row : controlRows(table)) {
        commonSetControlTitleFromLocalizeString(&row);
        if (row.kind == PopUpMenu)
            commonReBuildMenuFromPPD(ppd, &row);
    }
}

void PDECommon::commonReBuildMenuFromPPD(ppd_file_t* ppd, PDEControlItem* row)
{
    if (!ppd || !row || !row->ppdKey)
        return;
    ppd_option_t* option = ppdFindOption(ppd, row->ppdKey);
    QComboBox* menu = popUp(row);
    if (!option || !menu)
        return;
    const rx::TextEncoding encoding = commonGetEncodingFromPPD(ppd);
    const QSignalBlocker quiet(menu);
    menu->clear();
    for (int i = 0; i < option->num_choices; ++i) {
        const ppd_choice_t& c = option->choices[i];
        menu->addItem(ppdString(ppd, c.text, encoding), QString::fromLatin1(c.choice));
    }
}

void PDECommon::commonSetControlTitleFromLocalizeString(PDEControlItem* row)
{
    if (!row || !pluginBundle() || !row->titleKey)
        return;
    const QString title = localizedString(row->titleKey);
    if (title.isNull())
        return;
    switch (row->kind) {
    case StaticText:
        if (auto* label = qobject_cast<QLabel*>(row->control))
            label->setText(title);
        break;
    case CheckBox:
    case PushButton:
        if (auto* button = qobject_cast<QAbstractButton*>(row->control))
            button->setText(title);
        break;
    case TabView:
        if (auto* tabs = qobject_cast<QTabWidget*>(row->control)) {
            for (int i = 0; i < 4 && i < tabs->count(); ++i)
                tabs->setTabText(i, localizedString(kTabTitleKeys[i]));
        }
        break;
    default:
        break;
    }
}

void PDECommon::commonDefaultFromPPDInfo(PDEControlItem* table)
{
    for (PDEControlItem& row : controlRows(table)) {
        if (isBound(row))
            commonSetControlValueWithSInt32(&row, commonGetDefualtValueFromPPDWithSInt32(&row));
    }
}

int32_t PDECommon::commonGetDefualtValueFromPPDWithSInt32(const PDEControlItem* row)
{
    if (!row || !row->uiList || row->uiList->isEmpty())
        return 0;
    return commonGetTicketValueWithSInt32(row, QString::fromLatin1(row->ppdKey),
                                          plist::Value(row->uiList->first()[kUIDefaultChoice].toStdString()));
}

int32_t PDECommon::commonGetTicketValueWithSInt32(const PDEControlItem* row, const QString& option,
                                                  const plist::Value& choice)
{
    if (!row)
        return 0;
    const std::string* text = choice.string();
    switch (row->kind) {
    case CheckBox:
        return text && (*text == "True" || *text == "TRUE" || *text == "true") ? 1 : 0;
    case PopUpMenu:
        return text ? commonFindPPDKeyPairsMatch(row->uiList, option, QString::fromStdString(*text)) : -1;
    default:
        return 0;
    }
}

int32_t PDECommon::commonGetControlValueWithSInt32(const PDEControlItem* row)
{
    if (!row)
        return 0;
    if (row->kind == CheckBox) {
        if (QCheckBox* box = checkBox(row))
            return box->isChecked() ? 1 : 0;
    } else if (row->kind == PopUpMenu) {
        if (QComboBox* menu = popUp(row))
            return menu->currentIndex();
    }
    return 0;
}

void PDECommon::commonSetControlValueWithSInt32(const PDEControlItem* row, int32_t value)
{
    if (!row)
        return;
    if (row->kind == CheckBox) {
        if (QCheckBox* box = checkBox(row))
            box->setChecked(value != 0);
    } else if (row->kind == PopUpMenu) {
        QComboBox* menu = popUp(row);
        if (menu && value < menu->count())
            menu->setCurrentIndex(value < 0 ? -1 : value);
    }
}

int32_t PDECommon::commonGetControlValueFromPPDWithSInt32(const PDEControlItem* row)
{
    if (!row)
        return 0;
    if (row->kind == CheckBox)
        return checkBoxChoiceIndex(row);
    if (row->kind == PopUpMenu) {
        QComboBox* menu = popUp(row);
        return menu ? menu->currentIndex() : -1;
    }
    return 0;
}

QString PDECommon::commonGetControlValueFromPPDWithNSString(const PDEControlItem* row)
{
    if (!row)
        return QString();
    if (row->kind == CheckBox) {
        const int i = checkBoxChoiceIndex(row);
        return i >= 0 ? row->uiList->at(i)[kUIChoiceText] : QString();
    }
    if (row->kind == PopUpMenu) {
        QComboBox* menu = popUp(row);
        if (menu && menu->currentIndex() >= 0)
            return menu->itemText(menu->currentIndex());
    }
    return QString();
}

std::unique_ptr<PDEControlItem[]> PDECommon::commonControlTableCompound(const ControlTable* tables, int count)
{
    size_t total = 0;
    for (int t = 0; t < count; ++t)
        for ([[maybe_unused]] const PDEControlItem& row : rowsToEnd(tables[t]))
            ++total;
    std::unique_ptr<PDEControlItem[]> joined(new (std::nothrow) PDEControlItem[total + 1]());
    if (!joined)
        return nullptr;
    size_t n = 0;
    for (int t = 0; t < count; ++t)
        for (const PDEControlItem& row : rowsToEnd(tables[t]))
            joined[n++] = row;
    joined[n] = kEndOfTableRow;
    return joined;
}

int32_t PDECommon::commonConvertToCSTValue(const PDEControlItem* row, int32_t value)
{
    if (!row || row->kind != PopUpMenu)
        return value;
    return value < 0 ? 0 : value + 1;
}

int32_t PDECommon::commonConvertFromCSTValue(const PDEControlItem* row, int32_t value)
{
    if (!row || row->kind != PopUpMenu)
        return value;
    return value < 1 ? 0 : value - 1;
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
