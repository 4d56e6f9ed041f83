// The merge of the spool list (what the device reported in the last walk)
// into the current profile list file at QV_PLIST_PROFILE_PATH: the device
// entries' confirmation states are reset and set again from the device's
// answer, entries whose file names the device cannot hold are removed, new
// device profiles are added, the three class lists are tidied and the file is
// rewritten. Runs at the end of every walk on the walk's thread, with the
// spool list and the list paths of that thread; the service holds the list's
// lock around it.
#pragma once

#include "profilelist/ProfileList.h"

// The whole step. failed is non-zero when the walk did not end normally.
// Returns the result of the final write, 0 or -1.
int vRestructPlistSpool2Current(int failed);

// Resets the iInMenu codes of the device entries of one list before merging:
// after a successful walk 1 and 2 become 1, 4 becomes 3; after a failed walk
// 1 and 2 become 0 (slot freed, other fields and iNum left alone) and 4
// becomes 6. Other codes are kept.
void vDeleteMIBprofilesTemporary(int failed, ProfileList* list);

// Whether the name can be a file name on the device: not empty; without a dot
// at most 27 characters; otherwise a base of 1 to 27 characters before the
// first dot and at most 3 characters after it; every byte FileNameFilter-ed.
bool bJudgement8point3Format(const char* name);

// Whether one byte may stand in a device file name: ASCII letters and digits
// and ! # $ % & ' ( ) - . ^ _ ` { } ~. Values outside 0..127 never pass.
bool FileNameFilter(int character);

// Merges spool slot spoolIndex into the list: an entry with the same 32-byte
// FileName and the same iLocation is confirmed (1->2, 3->4, 5->2, 6->4);
// otherwise the spool entry is copied into the first free slot with code 2
// and iNum raised, or dropped when the list is full. Freed slots (code 0) are
// never taken for an existing entry.
void vRestructDetail(int spoolIndex, ProfileList* list);
