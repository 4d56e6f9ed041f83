#include "plugin/options/PDECommon.h"

#include "platform/Bundle.h"

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {
std::unique_ptr<rx::Bundle>& storedBundle()
{
    static std::unique_ptr<rx::Bundle> bundle;
    return bundle;
}
}  // namespace

rx::Bundle* pluginBundle()
{
    return storedBundle().get();
}

bool setPluginBundle(std::unique_ptr<rx::Bundle> bundle)
{
    if (storedBundle() || !bundle)
        return false;
    storedBundle() = std::move(bundle);
    return true;
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
