#include "host/PanelHost.h"

#include "platform/FixedPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace pdehost {

PanelHost::~PanelHost()
{
    if (panel_)
        panel_->terminate();
    panel_.reset();
}

bool PanelHost::openPpd(const QString& path, QString* error)
{
    // A directory or a FIFO is refused before libcups opens it (a FIFO
    // would block the open).
    const QFileInfo file(path);
    if (file.exists() && !file.isFile()) {
        const char* why = file.isDir() ? std::strerror(EISDIR) : "not a regular file";
        *error = QStringLiteral("cannot read PPD %1: %2").arg(path, QString::fromUtf8(why));
        return false;
    }
    errno = 0;
    ppd_.reset(ppdOpenFile(QFile::encodeName(path).constData()));
    if (!ppd_) {
        const int systemError = errno;
        int line = 0;
        const ppd_status_t status = ppdLastError(&line);
        *error = status == PPD_FILE_OPEN_ERROR && systemError
                     ? QStringLiteral("cannot read PPD %1: %2").arg(path, QString::fromUtf8(std::strerror(systemError)))
                     : QStringLiteral("cannot read PPD %1: %2 (line %3)")
                           .arg(path, QString::fromUtf8(ppdErrorString(status)))
                           .arg(line);
        return false;
    }
    // The panel takes its choice texts from the PPD: in the user's language
    // where the PPD has them (*cupsLanguages), in the PPD's own otherwise.
    ppdLocalize(ppd_.get());
    return true;
}

bool PanelHost::loadBundle(const QString& bundleDirectory, QString* error)
{
    // Absolute, so that the loader does not search its library paths for a
    // relative name.
    const QString library = QDir(bundleDirectory).absoluteFilePath(QStringLiteral("libColorOptionsPDE.so"));
    if (!QFileInfo::exists(library)) {
        *error = QStringLiteral("no plug-in in bundle %1").arg(bundleDirectory);
        return false;
    }
    loader_.setFileName(library);
    QObject* root = loader_.instance();
    auto* factory = qobject_cast<rx::PDEPluginFactory*>(root);
    if (!factory) {
        *error = QStringLiteral("cannot load plug-in %1: %2").arg(library, loader_.errorString());
        return false;
    }
    factory->initWithBundle(QDir(bundleDirectory).absolutePath());
    auto panels = factory->PDEPanelsForType(QString::fromLatin1(rx::kPrinterModulePanelType), this);
    if (!panels || panels->empty()) {
        *error = QStringLiteral("the plug-in offers no printer-module panel");
        return false;
    }
    panel_ = std::move(panels->front());
    return true;
}

bool PanelHost::hasPanelOptions()
{
    for (const QString& key : panel_->supportedPPDOptionKeys())
        if (ppdFindOption(ppd_.get(), key.toUtf8().constData()))
            return true;
    return false;
}

bool PanelHost::prepareJob()
{
    panel_->saveValuesAndReturnError(nullptr);
    return panel_->shouldPrint();
}

QString defaultBundleDirectory()
{
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/../ColorOptionsPDE.plugin");
    if (QFileInfo::exists(beside + QStringLiteral("/libColorOptionsPDE.so")))
        return QDir(beside).absolutePath();
    return QString::fromStdString(rx::fixedPath(rx::kBundleDirectory));
}

}  // namespace pdehost
