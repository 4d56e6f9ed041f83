// Where the panel's choices live between dialogs for every application: a
// CUPS destination's defaults. A destination is a queue or an instance of it
// ("QUEUE/NAME", which applications list as a printer of its own). The user's
// defaults of a destination are what libcups keeps for the user (lpoptions,
// read with cupsGetNamedDest and written with cupsSetDests); the server's
// defaults of a queue are the PPD's defaults on the server.
//
// Only the colour options travel: the PPD options the panel handles, and the
// "KCustom" / "KCustomFilename" entries of a profile chosen from the printer
// for such an option K. Every other option of a destination is left alone.
#pragma once

#include "host/PanelHost.h"

#include <QString>

namespace pdehost {

struct Destination {
    QString queue;
    QString instance;  // empty for the queue itself
    // "QUEUE" or "QUEUE/INSTANCE".
    QString name() const;
};

// Splits "QUEUE" or "QUEUE/INSTANCE"; the instance may not hold a further "/".
Destination parseDestination(const QString& text);

// True when CUPS can hold "QUEUE" or "QUEUE/INSTANCE" as it is written:
// neither part empty nor holding spaces, controls, "/", "#" or "\\" (an
// instance so named would read back from lpoptions as another instance and
// an option). False with a message otherwise.
bool checkDestinationName(const QString& text, QString* error);

// Puts the destination's colour options, as the user's defaults give them,
// into the panel's settings of the current printer, so that the next restore
// shows them. False with a message when the destination does not exist.
bool loadUserDefaults(PanelHost& host, const Destination& destination, QString* error);

// Saves the colour options among the settings' job options as the user's
// defaults of the destination, which is created when it is a new instance.
// The destination's former colour options are removed first. A profile's
// flag is saved whatever its value, so that "False" hides a profile the
// server's defaults choose; its path only while the flag is "True". False
// with a message when libcups cannot write them.
bool saveUserDefaults(PanelHost& host, const Destination& destination, QString* error);

// Removes the instance from the user's destinations. False with a message
// when there is no such instance or it cannot be written.
bool removeInstance(const Destination& destination, QString* error);

// Makes the colour options among the job options the queue's defaults on the
// server: the PPD options become the PPD's defaults, the profile entries the
// queue's "-default" attributes (the path of a profile no longer chosen is
// deleted). False with a message, telling a refusal ("not allowed") from
// other failures.
bool saveSystemDefaults(PanelHost& host, const QString& queue, QString* error);

}  // namespace pdehost
