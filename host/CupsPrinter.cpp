#include "host/CupsPrinter.h"

#include "host/CupsHandles.h"
#include "host/PanelHost.h"

#include <unistd.h>

namespace pdehost {

QString cupsServerName()
{
    return QStringLiteral("%1:%2").arg(QString::fromUtf8(cupsServer())).arg(ippPort());
}

QString cupsError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

bool cupsServerAnswers()
{
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
    httpClose(http);
    return http != nullptr;
}

bool plausibleQueueName(const QString& queue)
{
    if (queue.isEmpty() || queue.size() > 127)
        return false;
    for (QChar c : queue)
        if (c.unicode() <= 0x20 || c.unicode() == 0x7f || c == QLatin1Char('/') || c == QLatin1Char('#') ||
            c == QLatin1Char('\\'))
            return false;
    return true;
}

ipp_t* newQueueRequest(ipp_op_t operation, const QByteArray& queue)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     queue.constData());
    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

namespace {

// The queue's device-uri through Get-Printer-Attributes; empty when the
// server does not report it.
std::string deviceUriOf(const QByteArray& queue)
{
    ipp_t* request = newQueueRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, queue);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "device-uri");
    IppHandle response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING)
        return {};
    ipp_attribute_t* attr = ippFindAttribute(response.get(), "device-uri", IPP_TAG_URI);
    const char* value = attr ? ippGetString(attr, 0, nullptr) : nullptr;
    return value ? value : "";
}

}  // namespace

QStringList cupsQueueNames()
{
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QStringList names;
    for (int i = 0; i < count; ++i)
        if (!dests[i].instance)
            names << QString::fromUtf8(dests[i].name);
    cupsFreeDests(count, dests);
    return names;
}

bool usePrinterFromQueue(PanelHost& host, const QString& queue, QString* error)
{
    if (!plausibleQueueName(queue)) {
        *error = QStringLiteral("\"%1\" is not a queue name").arg(queue);
        return false;
    }
    const QByteArray name = queue.toUtf8();
    DestHandle dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr));
    if (!dest) {
        // libcups reports an unreachable server as an unknown queue.
        if (cupsServerAnswers())
            *error = QStringLiteral("the CUPS server %1 has no queue \"%2\"").arg(cupsServerName(), queue);
        else
            *error = QStringLiteral("cannot ask the CUPS server %1 for queue \"%2\": it does not answer")
                         .arg(cupsServerName(), queue);
        return false;
    }
    const char* ppd = cupsGetPPD2(CUPS_HTTP_DEFAULT, name.constData());
    if (!ppd) {
        *error = QStringLiteral("queue \"%1\" has no PPD on the CUPS server %2: %3")
                     .arg(queue, cupsServerName(), cupsError());
        return false;
    }
    // The downloaded copy is parsed whole by openPpd and not needed after.
    const std::string ppdPath = ppd;
    const bool opened = host.openPpd(QString::fromStdString(ppdPath), error);
    ::unlink(ppdPath.c_str());
    if (!opened)
        return false;
    host.setPrinter(rx::Printer{name.toStdString(), deviceUriOf(name)});
    return true;
}

int submitJob(const QString& queue, const QString& file, const QString& title, const JobOptions& options,
              QString* error)
{
    OptionArray array;
    for (const auto& [name, value] : options)
        array.add(name, value);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), file.toLocal8Bit().constData(),
                                   title.toUtf8().constData(), array.count(), array.options());
    if (job <= 0) {
        *error = QStringLiteral("cannot print %1 on queue \"%2\" (CUPS server %3): %4")
                     .arg(file, queue, cupsServerName(), cupsError());
        return 0;
    }
    return job;
}

}  // namespace pdehost
