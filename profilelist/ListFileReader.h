// Reading list files with a reason for failure; the public readers of
// ProfileList.h return only 0 or -1. Used by the store and by the support tool.
#pragma once

#include "profilelist/ProfileList.h"

#include <string>

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
ReadStatus readListFile(const std::string& path, ProfileList* lists[3], ReadMode mode);
// One read of the file for what separate reads of one class each would give:
// a requested class that is missing or incomplete is left untouched while the
// others are read. Not Ok (nothing touched) when the file cannot be read or
// parsed.
ReadStatus readListFileEachClass(const std::string& path, ProfileList* lists[3], ReadMode mode);

// The same over the text of a file (the text is copied).
ReadStatus readListText(std::string_view text, ProfileList* lists[3], ReadMode mode);

// A one-line description of a status, for messages.
const char* describe(ReadStatus status);

}  // namespace profilelist
