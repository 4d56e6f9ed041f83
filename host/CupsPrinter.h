// The printing system as pdehost sees it: the queues of a CUPS server, the
// printer a queue describes (its PPD, its name as identifier, its
// device-uri), and print jobs. The server is libcups's default: CUPS_SERVER
// when set, else the local scheduler.
#pragma once

#include <QString>
#include <QStringList>
#include <cups/ipp.h>
#include <string>
#include <utility>
#include <vector>

namespace pdehost {

class PanelHost;

// "HOST:PORT" of the server, for messages.
QString cupsServerName();
// libcups's text of its last error.
QString cupsError();
// True when the server accepts a connection within a few seconds.
bool cupsServerAnswers();

// True for a name the scheduler allows for a queue or an instance: names go
// into URIs, file names and lpoptions lines, so no "/", "#", "\", space or
// control character, at most 127 characters.
bool plausibleQueueName(const QString& name);

// A new request on the queue's printer-uri, with the requesting user's
// name; the caller owns it (cupsDoRequest takes it).
ipp_t* newQueueRequest(ipp_op_t operation, const QByteArray& queue);

// Names of the server's queues in the server's order; empty when the server
// has none or cannot be reached.
QStringList cupsQueueNames();

// Makes the queue the host's printer: opens the PPD the server keeps for it,
// and sets the current printer to the queue name and the queue's device-uri
// (empty when the server does not report one). False with a message when the
// queue does not exist, has no usable PPD or the server cannot be reached.
bool usePrinterFromQueue(PanelHost& host, const QString& queue, QString* error);

using JobOptions = std::vector<std::pair<std::string, std::string>>;

// Prints the file on the queue as one job named `title` whose job options are
// `options` (name, value). The job id (> 0), or 0 with a message.
int submitJob(const QString& queue, const QString& file, const QString& title, const JobOptions& options,
              QString* error);

}  // namespace pdehost
