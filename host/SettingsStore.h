// Print settings kept in a file between runs: the settings file given to
// pdehost, or the one of its dialog's printer given by hand. (A CUPS queue's
// settings are the user's defaults of the queue, UserDefaults.h.)
#pragma once

#include "platform/PrintSettings.h"

#include <QString>

namespace pdehost {

// Reads the settings file into `settings` when it exists. False with a
// message when it exists but cannot be read as print settings; `settings`
// is unchanged then.
bool loadSettings(const QString& path, rx::PrintSettings& settings, QString* error);

// True when the folder of a settings file the user named exists; false with
// a message otherwise, so that a mistyped folder is not created.
bool settingsFolderExists(const QString& path, QString* error);

// Writes the settings whole, creating the user-only directory when missing.
bool storeSettings(const QString& path, const rx::PrintSettings& settings, QString* error);

}  // namespace pdehost
