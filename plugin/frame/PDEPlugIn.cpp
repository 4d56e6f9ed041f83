#include "plugin/frame/PDEPlugIn.h"

#include "platform/Bundle.h"
#include "plugin/frame/PDEPlugInInterface.h"

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

bool PDEPlugIn::initWithBundle(const QString& bundleDirectory)
{
    if (!pluginBundle())
        setPluginBundle(std::make_unique<rx::Bundle>(bundleDirectory));
    return true;
}

std::optional<rx::PDEPanelList> PDEPlugIn::PDEPanelsForType(const QString& type, rx::PDEHostCallback* host)
{
    if (type != QLatin1String(rx::kPrinterModulePanelType))
        return std::nullopt;
    rx::PDEPanelList panels;
    panels.push_back(std::make_unique<PDEPlugInInterface>(host));
    return panels;
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
