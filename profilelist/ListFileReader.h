// Reading list files with a reason for failure; the public readers of
// ProfileList.h return only 0 or -1. Used by the store and by the support tool.
#pragma once

#include "platform/plist/PlistXml.h"
#include "profilelist/ProfileList.h"

#include <optional>
#include <string>
#include <vector>

namespace profilelist {

enum class ReadStatus {
    Ok,
    NotFound,     // no file at the path
    NotReadable,  // the file exists but cannot be opened or read
    NotParsable,  // not a well-formed XML property list
    NotAList,     // a property list without the classes or field dictionaries of a list file
};

// How the entries of a class are taken over from the file.
enum class ReadMode {
    Plain,  // every slot as the file holds it
    Pap,    // for pap:// and usb:// queues: code 2 dropped, code 4 read as 6
};

// Reads the classes whose list pointer is not null from the file at path.
// Every requested class must be complete in the file, else nothing is
// touched. Fields missing from the file keep what the caller put there.
// When given, *why receives the file layer's and the parser's reason for a
// failure (a directory, a FIFO, a binary property list...) and, on success,
// the encoding the file was found in.
ReadStatus readListFile(const std::string& path, ProfileList* lists[kProfileClassCount], ReadMode mode,
                        plist::ReadResult* why = nullptr);
// One read of the file for what separate reads of one class each would give:
// a requested class that is missing or incomplete is left untouched while the
// others are read. Not Ok (nothing touched) when the file cannot be read or
// parsed.
ReadStatus readListFileEachClass(const std::string& path, ProfileList* lists[kProfileClassCount], ReadMode mode);

// The same over the text of a file (the text is copied).
ReadStatus readListText(std::string_view text, ProfileList* lists[kProfileClassCount], ReadMode mode);

// One class as the file holds it, before it is taken into a list (names
// not yet cut, codes and counts not yet normalised): what a check of the
// file looks at.
struct FileClass {
    struct Slot {
        std::optional<int32_t> inMenu;                     // absent when the slot has no integer
        int32_t location = 0;
        std::optional<std::string> fileName, profileName;  // absent, or the text as written
    };
    bool complete = false;       // the class and its six field dictionaries are there
    std::optional<int32_t> num;  // "iNum"
    std::vector<Slot> slots;     // kProfileListCapacity of them when complete
};

// Reads the three classes of the file at path as the file holds them; a
// class that is missing or incomplete stays !complete. Not Ok when the file
// cannot be read or parsed; *why as for readListFile.
ReadStatus inspectListFile(const std::string& path, FileClass classes[kProfileClassCount],
                           plist::ReadResult* why = nullptr);

// A one-line description of a status, for messages.
const char* describe(ReadStatus status);
// The same, with the file layer's or the parser's reason where there is one.
std::string describe(ReadStatus status, const plist::ReadResult& why);

}  // namespace profilelist
