// Shared logic of the Color Options panel: stateless operations on control
// tables and rows, the bridge between PPD choices, controls and the print
// settings, the summary, and the profile items of the profile menus.
#pragma once

#include "platform/PpdText.h"
#include "platform/plist/Plist.h"
#include "plugin/options/PDEControlItem.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <memory>
#include <optional>
#include <string_view>

typedef struct ppd_file_s ppd_file_t;

namespace rx {
class PrintSettings;
class PrintSession;
class Bundle;
}  // namespace rx

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

// The plug-in's own bundle, kept from the first initWithBundle; null before.
rx::Bundle* pluginBundle();
// Keeps the bundle unless one is kept already; false when one was.
bool setPluginBundle(std::unique_ptr<rx::Bundle> bundle);

// A table with its row count, as getControlDataEachView hands them out.
using ControlTable = PDEControlItem*;

class PDECommon {
public:
    // ---- Control table --------------------------------------------------
    // Builds the option's UI list into *array. kPPDOptionNotFoundErr when the
    // PPD has no such option (nothing stored).
    static OSStatus commonGetPPDArrayForUIOption(ppd_file_t* ppd, const char* key, UIList** array);
    // Appends one entry per choice and counts them.
    static OSStatus commonGetUIListFromPPD(ppd_file_t* ppd, const char* key, UIList* array, int16_t* count);
    static rx::TextEncoding commonGetCFStringEncodingFromPPD(ppd_file_t* ppd);
    static rx::TextEncoding commonGetEncodingFromPPD(ppd_file_t* ppd);
    // Index of the entry (option, choice); -1 when none or no list.
    static int commonFindPPDKeyPairsMatch(const UIList* list, const QString& option, const QString& choice);
    static OSStatus commonAddPPDArray(QStringList* array, const PDEControlItem* table);
    static void commonBuildPDEItem(PDEControlItem* table, ppd_file_t* ppd);
    static void commonReBuildMenuFromPPD(ppd_file_t* ppd, PDEControlItem* row);
    static void commonSetControlTitleFromLocalizeString(PDEControlItem* row);
    static void commonDefaultFromPPDInfo(PDEControlItem* table);
    static int32_t commonGetDefualtValueFromPPDWithSInt32(const PDEControlItem* row);
    // The control value that shows the choice; a choice that is not a string
    // counts as absent.
    static int32_t commonGetTicketValueWithSInt32(const PDEControlItem* row, const QString& option,
                                                  const plist::Value& choice);
    static int32_t commonGetControlValueWithSInt32(const PDEControlItem* row);
    static void commonSetControlValueWithSInt32(const PDEControlItem* row, int32_t value);
    // Position in uiList of the choice the control shows; -1 when none.
    static int32_t commonGetControlValueFromPPDWithSInt32(const PDEControlItem* row);
    // Display text of the control's current choice; a null string when none.
    static QString commonGetControlValueFromPPDWithNSString(const PDEControlItem* row);
    // All rows of the tables, in order, then a terminator; null when memory
    // is short. Rows share controls and UI lists with the given tables.
    static std::unique_ptr<PDEControlItem[]> commonControlTableCompound(const ControlTable* tables, int count);
    static int32_t commonConvertToCSTValue(const PDEControlItem* row, int32_t value);
    static int32_t commonConvertFromCSTValue(const PDEControlItem* row, int32_t value);

    // ---- Print settings bridge -----------------------------------------
    static std::string commonGetPPDProductName(const rx::PrintSettings* settings);
    // The current printer's identifier; empty when the session has none.
    static std::string commonGetPrintQueueName(const rx::PrintSession* session);
    static bool commonCFTypeIsValid(const plist::Value* value, plist::Type type);
    static plist::DictionaryRef commonCFDictionaryGetValueWithType(const plist::DictionaryRef& dict,
                                                                  const std::string& key);
    static plist::DictionaryRef commonGetModelDictionary(rx::PrintSettings* settings, const rx::PrintSession* session);
    static OSStatus commonCFDictionaryMapToTicket(rx::PrintSettings* settings, const plist::DictionaryRef& dict);
    static OSStatus commonSyncTicketFromPane(rx::PrintSettings* settings, const rx::PrintSession* session,
                                             PDEControlItem* table);
    static OSStatus commonSyncPaneFromTicket(rx::PrintSettings* settings, const rx::PrintSession* session,
                                             PDEControlItem* table);
    static OSStatus commonGetSummaryText(const PDEControlItem* table, QVariantMap* dict, QStringList* array);
    static OSStatus commonGetSummaryTextQuickColor(const char* nameKey, const QString& value, QVariantMap* dict,
                                                   QStringList* array);

    // ---- Profile menus and the ticket-added profile ---------------------
    static OSStatus commonAddMenuFromProfilePlist(PDEControlItem* table);
    static OSStatus commonSetTicketAddedProfile(const PDEControlItem* row, const plist::DictionaryRef& dict,
                                                int16_t select);
    static int16_t commonGetTicketAddedProfile(const PDEControlItem* row, const plist::DictionaryRef& dict);
    static OSStatus commonSetTicketAddedProfileFlag(const PDEControlItem* row, const plist::DictionaryRef& dict,
                                                    const char* flag);
    // The value under K + "Custom", or null.
    static const plist::Value* commonGetTicketAddedProfileFlag(const PDEControlItem* row,
                                                               const plist::DictionaryRef& dict);

    // ---- Discovery of the printer's profiles ----------------------------
    // Backs up the current list, finds the device's address from the queue's
    // device URI and asks the service to walk the device and merge its
    // profiles into the current list. Always 0; every failure is silent.
    static int commonGetProfilesFromMIB(const rx::PrintSession* session);
    // Protocol code of the session's current printer (kProtocol...); -1 when
    // there is no printer or no device URI.
    static int16_t commoniGetProtocol(const rx::PrintSession* session);
    // Protocol code of a device URI; -1 for none.
    static int16_t commoniGetProtocolByUrl(const char* uri);
};

// Protocol codes of a queue's device URI.
enum ProtocolCode : int16_t {
    kProtocolOther = -1,
    kProtocolLpd = 0,
    kProtocolDnssd = 1,  // "mdns://" and "dnssd://"
    kProtocolPap = 2,
    kProtocolUsb = 3,
};

// The text of UTF-8 bytes; empty when they are not valid UTF-8.
std::optional<QString> textOfUtf8(std::string_view bytes);

// Localises a key through the plug-in bundle; a null string without one.
QString localizedString(const char* key);
// The same, with the key itself where there is no text.
QString localizedOrKey(const char* key);

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
