// The plug-in's entry: the factory the print dialog instantiates. For the
// printer-module panel type it hands out one Color Options panel controller.
#pragma once

#include "platform/HostProtocol.h"

#include <QObject>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

class PDEPlugIn : public QObject, public rx::PDEPluginFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID RX_PDE_PLUGIN_FACTORY_IID)
    Q_INTERFACES(rx::PDEPluginFactory)
public:
    bool initWithBundle(const QString& bundleDirectory) override;
    std::optional<rx::PDEPanelList> PDEPanelsForType(const QString& type, rx::PDEHostCallback* host) override;
};

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
