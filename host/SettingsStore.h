// Where pdehost keeps a queue's print settings between runs when no settings
// file is given: $XDG_CONFIG_HOME/rx8240/pdehost/QUEUE.plist, with
// ~/.config in place of an unset or relative XDG_CONFIG_HOME.
#pragma once

#include "platform/PrintSettings.h"

#include <QString>

namespace pdehost {

// The settings file of the queue; empty with a message when the queue name
// cannot be a file name or no configuration directory is known.
QString queueSettingsPath(const QString& queue, QString* error);

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
