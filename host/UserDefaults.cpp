#include "host/UserDefaults.h"

#include "host/CupsHandles.h"
#include "host/CupsPrinter.h"
#include "platform/plist/Plist.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryFile>
#include <unistd.h>

namespace pdehost {

namespace {

const QString kCustom = QStringLiteral("Custom");
const QString kCustomFilename = QStringLiteral("CustomFilename");

// The base option K of "KCustom" / "KCustomFilename" for a panel that
// handles `keys`; empty for any other name.
QString profileOptionOf(const QStringList& keys, const QString& name)
{
    for (const QString& suffix : {kCustomFilename, kCustom})
        if (name.endsWith(suffix) && keys.contains(name.chopped(suffix.size())))
            return name.chopped(suffix.size());
    return {};
}

// True for a colour option of a panel that handles `keys`.
bool isColourOption(const QStringList& keys, const QString& name)
{
    return keys.contains(name) || !profileOptionOf(keys, name).isEmpty();
}

// True while the settings choose a profile from the printer for option K.
bool profileChosen(PanelHost& host, const QString& option)
{
    return host.settings().value((option + kCustom).toStdString()) == plist::Value("True");
}

// The colour options among the settings' job options. A profile's flag
// always goes, "False" included, so that a layer without a profile hides
// one that a layer below chose; its path goes only while the flag is "True".
JobOptions colourOptions(PanelHost& host)
{
    const QStringList keys = host.panel()->supportedPPDOptionKeys();
    JobOptions out;
    for (const auto& [name, value] : host.settings().stringEntries()) {
        const QString key = QString::fromStdString(name);
        const QString profileOption = profileOptionOf(keys, key);
        const bool path = !profileOption.isEmpty() && key.endsWith(kCustomFilename);
        if (isColourOption(keys, key) && (!path || profileChosen(host, profileOption)))
            out.emplace_back(name, value);
    }
    return out;
}

// The paths of the profile options whose flag the settings hold and is not
// "True": stale on a layer that chose a profile before.
QStringList unchosenProfilePaths(PanelHost& host)
{
    QStringList out;
    for (const QString& option : host.panel()->supportedPPDOptionKeys())
        if (host.settings().value((option + kCustom).toStdString()).string() && !profileChosen(host, option))
            out << option + kCustomFilename;
    return out;
}

// The panel's entries for the current printer inside the settings, created
// when missing.
plist::DictionaryRef modelDictionary(PanelHost& host)
{
    plist::DictionaryRef product = host.settings().value(rx::kProductSettingsKey).dictionary();
    if (!product) {
        product = plist::Dictionary::create();
        host.settings().setValue(rx::kProductSettingsKey, product);
    }
    const std::string printer = host.session().currentPrinter()->identifier;
    if (!product->dictionary(printer))
        product->set(printer, plist::Dictionary::create());
    return product->dictionary(printer);
}

QByteArray instanceOf(const Destination& d)
{
    return d.instance.toUtf8();
}

const char* instanceOrNull(const QByteArray& instance)
{
    return instance.isEmpty() ? nullptr : instance.constData();
}

// Why the destination is not among the user's destinations.
QString missing(const Destination& d)
{
    if (!cupsServerAnswers())
        return QStringLiteral("cannot ask the CUPS server %1 for \"%2\": it does not answer")
            .arg(cupsServerName(), d.name());
    if (d.instance.isEmpty())
        return QStringLiteral("the CUPS server %1 has no queue \"%2\"").arg(cupsServerName(), d.queue);
    return QStringLiteral("queue \"%1\" has no instance \"%2\"").arg(d.queue, d.instance);
}

bool writeDests(const DestList& list, const Destination& d, QString* error)
{
    if (cupsSetDests2(CUPS_HTTP_DEFAULT, list.count, list.dests) != 0) {
        *error = QStringLiteral("cannot save the defaults of \"%1\": %2").arg(d.name(), cupsError());
        return false;
    }
    return true;
}

// The PPD text with its "*DefaultKEY:" lines set to the options' choices.
QByteArray withDefaults(QByteArray ppd, const JobOptions& options)
{
    for (const auto& [name, value] : options) {
        const QByteArray key = "*Default" + QByteArray::fromStdString(name) + ':';
        const qsizetype at = ppd.startsWith(key) ? 0 : ppd.indexOf("\n" + key);
        if (at < 0)
            continue;
        const qsizetype start = at == 0 ? 0 : at + 1;
        const qsizetype end = ppd.indexOf('\n', start);
        ppd.replace(start, (end < 0 ? ppd.size() : end) - start, key + ' ' + QByteArray::fromStdString(value));
    }
    return ppd;
}

// The queue's PPD from the server with the options as its defaults, in a
// temporary file; false with a message.
bool ppdWithDefaults(const QByteArray& queue, const JobOptions& options, QTemporaryFile* out, QString* error)
{
    const char* downloaded = cupsGetPPD2(CUPS_HTTP_DEFAULT, queue.constData());
    if (!downloaded) {
        *error = QStringLiteral("queue \"%1\" has no PPD on the CUPS server %2: %3")
                     .arg(QString::fromUtf8(queue), cupsServerName(), cupsError());
        return false;
    }
    QFile file(QString::fromLocal8Bit(downloaded));
    const bool read = file.open(QIODevice::ReadOnly);
    const QByteArray ppd = withDefaults(file.readAll(), options);
    ::unlink(downloaded);
    if (!read || !out->open() || out->write(ppd) != qint64(ppd.size()) || !out->flush()) {
        *error = QStringLiteral("cannot prepare the PPD of queue \"%1\"").arg(QString::fromUtf8(queue));
        return false;
    }
    return true;
}

bool refused(ipp_status_t status)
{
    return status == IPP_STATUS_ERROR_FORBIDDEN || status == IPP_STATUS_ERROR_NOT_AUTHORIZED ||
           status == IPP_STATUS_ERROR_NOT_AUTHENTICATED || status == IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED;
}

}  // namespace

QString Destination::name() const
{
    return instance.isEmpty() ? queue : queue + QLatin1Char('/') + instance;
}

Destination parseDestination(const QString& text)
{
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return {text, QString()};
    return {text.left(slash), text.mid(slash + 1)};
}

bool checkDestinationName(const QString& text, QString* error)
{
    const Destination d = parseDestination(text);
    if (!plausibleQueueName(d.queue)) {
        *error = QStringLiteral("\"%1\" is not a queue name").arg(d.queue);
        return false;
    }
    if (text.contains(QLatin1Char('/')) && !plausibleQueueName(d.instance)) {
        *error = QStringLiteral("\"%1\" cannot name an instance of queue \"%2\": an instance name has no spaces, "
                                "\"/\", \"#\" or \"\\\" and at most 127 characters")
                     .arg(d.instance, d.queue);
        return false;
    }
    return true;
}

bool loadUserDefaults(PanelHost& host, const Destination& d, QString* error)
{
    const QByteArray queue = d.queue.toUtf8();
    const QByteArray instance = instanceOf(d);
    if (!instance.isEmpty() && !DestList().find(queue.constData(), instance.constData())) {
        *error = missing(d);
        return false;
    }
    DestHandle dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), instanceOrNull(instance)));
    if (!dest) {
        *error = missing(d);
        return false;
    }
    const QStringList keys = host.panel()->supportedPPDOptionKeys();
    const plist::DictionaryRef model = modelDictionary(host);
    for (int i = 0; i < dest->num_options; ++i)
        if (isColourOption(keys, QString::fromUtf8(dest->options[i].name)))
            model->set(dest->options[i].name, std::string(dest->options[i].value));
    return true;
}

bool saveUserDefaults(PanelHost& host, const Destination& d, QString* error)
{
    const QByteArray queue = d.queue.toUtf8();
    const QByteArray instance = instanceOf(d);
    DestList list;
    if (!list.find(queue.constData(), nullptr)) {
        *error = missing(Destination{d.queue, QString()});
        return false;
    }
    if (!list.find(queue.constData(), instanceOrNull(instance)))
        list.count = cupsAddDest(queue.constData(), instance.constData(), list.count, &list.dests);
    cups_dest_t* dest = list.find(queue.constData(), instanceOrNull(instance));
    const QStringList keys = host.panel()->supportedPPDOptionKeys();
    QList<QByteArray> former;
    for (int i = 0; i < dest->num_options; ++i)
        if (isColourOption(keys, QString::fromUtf8(dest->options[i].name)))
            former << QByteArray(dest->options[i].name);
    for (const QByteArray& name : former)
        dest->num_options = cupsRemoveOption(name.constData(), dest->num_options, &dest->options);
    for (const auto& [name, value] : colourOptions(host))
        dest->num_options = cupsAddOption(name.c_str(), value.c_str(), dest->num_options, &dest->options);
    return writeDests(list, d, error);
}

bool removeInstance(const Destination& d, QString* error)
{
    const QByteArray queue = d.queue.toUtf8();
    const QByteArray instance = instanceOf(d);
    DestList list;
    if (instance.isEmpty() || !list.find(queue.constData(), instance.constData())) {
        *error = missing(d);
        return false;
    }
    list.count = cupsRemoveDest(queue.constData(), instance.constData(), list.count, &list.dests);
    return writeDests(list, d, error);
}

bool saveSystemDefaults(PanelHost& host, const QString& queue, QString* error)
{
    const QByteArray name = queue.toUtf8();
    const JobOptions options = colourOptions(host);
    QTemporaryFile ppd;
    if (!ppdWithDefaults(name, options, &ppd, error))
        return false;
    ipp_t* request = newQueueRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER, name);
    // What the PPD has no option for is kept as the queue's "-default"
    // attribute; the path of a profile no longer chosen is deleted.
    for (const auto& [option, value] : options)
        if (!ppdFindOption(host.ppdFile(), option.c_str()))
            ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_NAME, (option + "-default").c_str(), nullptr, value.c_str());
    for (const QString& path : unchosenProfilePaths(host))
        ippAddOutOfBand(request, IPP_TAG_PRINTER, IPP_TAG_DELETEATTR, (path + QStringLiteral("-default")).toUtf8().constData());
    IppHandle response(cupsDoFileRequest(CUPS_HTTP_DEFAULT, request, "/admin/", QFile::encodeName(ppd.fileName())));
    const ipp_status_t status = cupsLastError();
    if (status <= IPP_STATUS_OK_CONFLICTING)
        return true;
    *error = refused(status)
                 ? QStringLiteral("not allowed to change the defaults of queue \"%1\" on the CUPS server %2 (only its "
                                  "administrators may): %3")
                 : QStringLiteral("cannot change the defaults of queue \"%1\" on the CUPS server %2: %3");
    *error = error->arg(queue, cupsServerName(), cupsError());
    return false;
}

}  // namespace pdehost
