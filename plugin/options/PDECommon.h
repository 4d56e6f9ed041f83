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

// Every operation takes the table or row it works on and keeps no state.
// Table walks: the table operations walk controlRows (up to the first row
// without a control); the compound builder walks rowsToEnd. Rows bound to no
// option ("" ppdKey) are skipped by everything that touches the PPD, the
// defaults or the print settings.
//
// Three kinds of value, not to be mixed up:
//   control value     what the control holds: a pop-up's item index (-1 no
//                     selection, PPD choices first, then profile items), a
//                     check box's 0/1, 0 for other kinds;
//   PPD position      the index in the row's uiList of the choice shown;
//   constraint value  the rules' terms: pop-up positions from 1, 0 for none.
class PDECommon {
public:
    // ---- Control table --------------------------------------------------
    // Builds the option's UI list into *array (a new list the caller owns).
    // kPPDOptionNotFoundErr when the PPD has no such option (nothing
    // stored); kArrayCreateErr when the list cannot be made.
    static OSStatus commonGetPPDArrayForUIOption(ppd_file_t* ppd, const char* key, UIList** array);
    // Appends one entry per choice of the option to `array` and adds one to
    // *count per entry; kNoErr, also when nothing was appended.
    static OSStatus commonGetUIListFromPPD(ppd_file_t* ppd, const char* key, UIList* array, int16_t* count);
    // The encoding of the PPD's strings (for UI lists and for menu titles;
    // the two answer alike): the file's LanguageEncoding as libcups leaves
    // the strings, Mac OS Roman without one or without a PPD.
    static rx::TextEncoding commonGetCFStringEncodingFromPPD(ppd_file_t* ppd);
    static rx::TextEncoding commonGetEncodingFromPPD(ppd_file_t* ppd);
    // Index of the entry (option, choice); -1 when none or no list.
    static int commonFindPPDKeyPairsMatch(const UIList* list, const QString& option, const QString& choice);
    // Appends every bound row's keyword; kParamErr without an array.
    static OSStatus commonAddPPDArray(QStringList* array, const PDEControlItem* table);
    // Titles every row and fills every pop-up menu from the PPD.
    static void commonBuildPDEItem(PDEControlItem* table, ppd_file_t* ppd);
    // Replaces the row's menu items by the PPD's choice texts (item data: the
    // choice keyword); nothing without the option or a pop-up.
    static void commonReBuildMenuFromPPD(ppd_file_t* ppd, PDEControlItem* row);
    // Sets the control's title (a tab view: its tab labels) from titleKey;
    // a null titleKey leaves the title.
    static void commonSetControlTitleFromLocalizeString(PDEControlItem* row);
    // Sets every bound control to the control value of its PPD default.
    static void commonDefaultFromPPDInfo(PDEControlItem* table);
    // The control value of the row's PPD default; 0 without a UI list.
    static int32_t commonGetDefualtValueFromPPDWithSInt32(const PDEControlItem* row);
    // The control value that shows `choice` of `option`: for a check box 1
    // for "True" (any case of it), else 0; for a pop-up the choice's index,
    // -1 when the list lacks it or the choice is not a string; 0 otherwise.
    static int32_t commonGetTicketValueWithSInt32(const PDEControlItem* row, const QString& option,
                                                  const plist::Value& choice);
    // The control value the control holds now (see above).
    static int32_t commonGetControlValueWithSInt32(const PDEControlItem* row);
    // Shows a control value: a pop-up index past its items is ignored, a
    // negative one clears the selection.
    static void commonSetControlValueWithSInt32(const PDEControlItem* row, int32_t value);
    // The PPD position of the choice the control shows: for a pop-up its
    // index (a profile item lies at or past the uiList's size), for a check
    // box the entry "True"/"False"; -1 when none.
    static int32_t commonGetControlValueFromPPDWithSInt32(const PDEControlItem* row);
    // Display text of the control's current choice; a null string when none.
    static QString commonGetControlValueFromPPDWithNSString(const PDEControlItem* row);
    // All rows of the tables, in order, then a terminator; null when memory
    // is short. Rows share controls and UI lists with the given tables.
    static std::unique_ptr<PDEControlItem[]> commonControlTableCompound(const ControlTable* tables, int count);
    // Control value to constraint value (pop-ups: index + 1, 0 for none),
    // and back (pop-ups: value - 1, but 0 for a value below 1, so "none"
    // comes back as the first item); other kinds unchanged.
    static int32_t commonConvertToCSTValue(const PDEControlItem* row, int32_t value);
    static int32_t commonConvertFromCSTValue(const PDEControlItem* row, int32_t value);

    // ---- Print settings bridge -----------------------------------------
    // The product key of the print settings, "rx8240".
    static std::string commonGetPPDProductName(const rx::PrintSettings* settings);
    // The current printer's identifier; empty when the session has none.
    static std::string commonGetPrintQueueName(const rx::PrintSession* session);
    // True when the value exists and has the type.
    static bool commonCFTypeIsValid(const plist::Value* value, plist::Type type);
    // The dictionary under `key` of a non-empty dictionary; null otherwise.
    // Never creates one.
    static plist::DictionaryRef commonCFDictionaryGetValueWithType(const plist::DictionaryRef& dict,
                                                                  const std::string& key);
    // The model dictionary of the session's printer, CREATED (with the
    // product dictionary) when missing; shared with the settings, so changes
    // land there. Null without settings or printer identifier, or when the
    // product key holds something other than a dictionary.
    static plist::DictionaryRef commonGetModelDictionary(rx::PrintSettings* settings, const rx::PrintSession* session);
    // Copies every entry of the dictionary to the top level of the settings.
    static OSStatus commonCFDictionaryMapToTicket(rx::PrintSettings* settings, const plist::DictionaryRef& dict);
    // Pane to ticket: writes every bound row's choice (or its chosen profile)
    // into the model dictionary and copies that to the top level.
    static OSStatus commonSyncTicketFromPane(rx::PrintSettings* settings, const rx::PrintSession* session,
                                             PDEControlItem* table);
    // Ticket to pane: sets every bound control from the model dictionary (a
    // chosen profile, the stored choice, or the PPD default when nothing is
    // stored); then copies the dictionary to the top level.
    static OSStatus commonSyncPaneFromTicket(rx::PrintSettings* settings, const rx::PrintSession* session,
                                             PDEControlItem* table);
    // Adds (localised summaryKey, shown text) of every summarised row;
    // kParamErr when an entry could not be added (the others still are);
    // kNoErr without doing anything when there is no bundle.
    static OSStatus commonGetSummaryText(const PDEControlItem* table, QVariantMap* dict, QStringList* array);
    // Adds one entry (localised key, value), replacing the dictionary's value
    // and appending the name even when listed already; kParamErr when the key
    // has no text or an argument is missing; kNoErr without a bundle.
    static OSStatus commonGetSummaryTextQuickColor(const char* nameKey, const QString& value, QVariantMap* dict,
                                                   QStringList* array);

    // ---- Profile menus and the ticket-added profile ---------------------
    // Appends the shown profiles of the current list file to every profile
    // row's menu; the read's status (-1 when the file cannot be read).
    static OSStatus commonAddMenuFromProfilePlist(PDEControlItem* table);
    // Records profile item `select` (from 1, among the shown entries) in the
    // model dictionary: the option's first PPD choice under K, the device
    // path as nibble text under K + "CustomFilename", "True" under K +
    // "Custom". -1 for a row that is not a profile row or without dictionary.
    static OSStatus commonSetTicketAddedProfile(const PDEControlItem* row, const plist::DictionaryRef& dict,
                                                int16_t select);
    // The profile item (from 1) whose device path the dictionary records;
    // 0 when none matches or the text is not a path; -1 for a row that is
    // not a profile row or without dictionary.
    static int16_t commonGetTicketAddedProfile(const PDEControlItem* row, const plist::DictionaryRef& dict);
    // Stores `flag` ("True"/"False") under K + "Custom" of a profile row.
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
