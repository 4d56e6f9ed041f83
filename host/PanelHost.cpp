#include "host/PanelHost.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace pdehost {

PanelHost::~PanelHost()
{
    if (panel_)
        panel_->terminate();
    panel_.reset();
}

bool PanelHost::openPpd(const QString& path, QString* error)
{
    ppd_.reset(ppdOpenFile(QFile::encodeName(path).constData()));
    if (!ppd_) {
        int line = 0;
        const ppd_status_t status = ppdLastError(&line);
        *error = QStringLiteral("cannot read PPD %1: %2 (line %3)").arg(path, QString::fromUtf8(ppdErrorString(status))).arg(line);
        return false;
    }
    return true;
}

bool PanelHost::loadBundle(const QString& bundleDirectory, QString* error)
{
    const QString library = bundleDirectory + QStringLiteral("/libColorOptionsPDE.so");
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
    return QStringLiteral("/usr/lib/rx8240/ColorOptionsPDE.plugin");
}

}  // namespace pdehost
