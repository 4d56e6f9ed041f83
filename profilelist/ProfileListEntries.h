// Changes to one list's entries by hand, as the profile window makes them:
// finding a file, adding an entry, editing one, removing one, and keeping a
// copy of a changed entry in a deleted list. Plain functions on caller-owned
// lists, no widgets; names are UTF-8.
#pragma once

#include "profilelist/ProfileList.h"

#include <string_view>

// An entry added by hand: iIndexOnDevice is the base plus its slot, its
// class code and availability are fixed, and it is offered in the menus.
inline constexpr int32_t kManualIndexBase = kProfileListCapacity;
inline constexpr int32_t kManualProfileClass = 2;
inline constexpr int32_t kManualDriver = 3;

// The used slot whose file name equals `fileName` exactly (case-sensitive)
// at `location`, skipping slot `except`; -1 when there is none.
int QVPListFindFile(const ProfileList* list, std::string_view fileName, int32_t location, int except = -1);

// Adds an entry made by hand in the first empty slot (iInMenu 0), with the
// names cut as QVPListCopyName cuts them. The slot; -1 when no slot is free.
int QVPListAddManualEntry(ProfileList* list, std::string_view fileName, std::string_view profileName,
                          int32_t location);

// Gives an entry new names and location. An entry the device reported
// (states 1 to 4) keeps its file name and location: only its display name
// changes.
void QVPListEditEntry(ProfileListItem* item, std::string_view fileName, std::string_view profileName,
                      int32_t location);

// Removes the used slot `row`: the entries after it move up by one, the last
// used slot is emptied, iNum falls by one. False when `row` is not used.
bool QVPListRemoveEntry(ProfileList* list, int row);

// Appends a copy of the entry to a list (a deleted list) unless it is full.
// False when it is full or holds a count outside its capacity.
bool QVPListAppendEntry(ProfileList* list, const ProfileListItem& item);
