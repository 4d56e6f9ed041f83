// Where the panel keeps its values in the print settings, and the summary.
//
// settings["rx8240"]            product dictionary: printer identifier -> model dictionary
// settings["rx8240"][printer]   model dictionary: option keyword -> choice keyword
// settings[option keyword]      a copy of every model dictionary entry
#include "plugin/options/PDECommon.h"

#include "platform/HostProtocol.h"
#include "platform/PrintSession.h"
#include "platform/PrintSettings.h"

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

std::string PDECommon::commonGetPPDProductName(const rx::PrintSettings*)
{
    return rx::kProductSettingsKey;
}

std::string PDECommon::commonGetPrintQueueName(const rx::PrintSession* session)
{
    const rx::Printer* printer = session ? session->currentPrinter() : nullptr;
    return printer ? printer->identifier : std::string();
}

bool PDECommon::commonCFTypeIsValid(const plist::Value* value, plist::Type type)
{
    return value && value->type() == type;
}

plist::DictionaryRef PDECommon::commonCFDictionaryGetValueWithType(const plist::DictionaryRef& dict,
                                                                  const std::string& key)
{
    if (!dict || dict->empty())
        return nullptr;
    return dict->dictionary(key);
}

plist::DictionaryRef PDECommon::commonGetModelDictionary(rx::PrintSettings* settings, const rx::PrintSession* session)
{
    if (!settings)
        return nullptr;
    const std::string product = commonGetPPDProductName(settings);
    const std::string printer = commonGetPrintQueueName(session);

    plist::Value productValue = settings->value(product);
    if (productValue.isNone()) {
        settings->setValue(product, plist::Dictionary::create());
        productValue = settings->value(product);
    }
    plist::DictionaryRef productDict = productValue.dictionary();
    if (!productDict || printer.empty())
        return nullptr;
    if (!productDict->contains(printer))
        productDict->set(printer, plist::Dictionary::create());
    return commonCFDictionaryGetValueWithType(productDict, printer);
}

OSStatus PDECommon::commonCFDictionaryMapToTicket(rx::PrintSettings* settings, const plist::DictionaryRef& dict)
{
    if (!settings || !dict)
        return kNoErr;
    for (const auto& [key, value] : dict->entries())
        settings->setValue(key, value);
    return kNoErr;
}

OSStatus PDECommon::commonSyncTicketFromPane(rx::PrintSettings* settings, const rx::PrintSession* session,
                                             PDEControlItem* table)
{
    plist::DictionaryRef model = commonGetModelDictionary(settings, session);
    if (!model)
        return kNoErr;
    for (PDEControlItem& row : controlRows(table)) {
        if (!isBound(row))
            continue;
        const int32_t v = commonGetControlValueFromPPDWithSInt32(&row);
        const int32_t n = row.uiList ? int32_t(row.uiList->size()) : 0;
        if (v < 0)
            continue;
        if (v < n) {
            const UIListEntry& e = row.uiList->at(v);
            model->set(e[kUIOptionKey].toStdString(), e[kUIChoiceKey].toStdString());
            commonSetTicketAddedProfileFlag(&row, model, "False");
        } else {
            commonSetTicketAddedProfile(&row, model, int16_t(v - n + 1));
            commonSetTicketAddedProfileFlag(&row, model, "True");
        }
    }
    return commonCFDictionaryMapToTicket(settings, model);
}

OSStatus PDECommon::commonSyncPaneFromTicket(rx::PrintSettings* settings, const rx::PrintSession* session,
                                             PDEControlItem* table)
{
    plist::DictionaryRef model = commonGetModelDictionary(settings, session);
    if (!model)
        return kNoErr;
    for (PDEControlItem& row : controlRows(table)) {
        if (!isBound(row))
            continue;
        int32_t value = -1;
        const plist::Value* flag = commonGetTicketAddedProfileFlag(&row, model);
        if (isProfileRow(row) && flag && flag->string() && *flag->string() == "True") {
            const int16_t c = commonGetTicketAddedProfile(&row, model);
            if (c >= 1)
                value = int32_t(row.uiList ? row.uiList->size() : 0) + c - 1;
            else
                value = commonGetDefualtValueFromPPDWithSInt32(&row);
        } else if (const plist::Value* stored = model->find(row.ppdKey)) {
            if (stored->isString())
                value = commonGetTicketValueWithSInt32(&row, QString::fromLatin1(row.ppdKey), *stored);
        } else {
            value = commonGetDefualtValueFromPPDWithSInt32(&row);
        }
        if (value != -1)
            commonSetControlValueWithSInt32(&row, value);
    }
    return commonCFDictionaryMapToTicket(settings, model);
}

OSStatus PDECommon::commonGetSummaryText(const PDEControlItem* table, QVariantMap* dict, QStringList* array)
{
    if (!pluginBundle())
        return kNoErr;
    OSStatus result = kNoErr;
    for (const PDEControlItem& row : controlRows(table)) {
        if (!row.summaryKey)
            continue;
        const QString name = localizedString(row.summaryKey);
        const QString value = commonGetControlValueFromPPDWithNSString(&row);
        if (name.isNull() || value.isNull() || !dict || !array) {
            result = kParamErr;
            continue;
        }
        dict->insert(name, value);
        array->append(name);
    }
    return result;
}

OSStatus PDECommon::commonGetSummaryTextQuickColor(const char* nameKey, const QString& value, QVariantMap* dict,
                                                   QStringList* array)
{
    if (!pluginBundle())
        return kNoErr;
    const QString name = nameKey ? localizedString(nameKey) : QString();
    if (name.isEmpty() || !dict || !array)
        return kParamErr;
    dict->insert(name, value);
    array->append(name);
    return kNoErr;
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
