// Both option views built from the fixture PPD, restored, and joined into
// the compound table that the panel controller hands to the constraint engine.
#pragma once

#include "../options/PanelFixture.h"

#include "plugin/constraints/ConstraintEngine.h"

namespace testsupport {

struct ConstrainedPanel {
    ConstrainedPanel()
    {
        panel.build();
        panel.restore();
        const pde::ControlTable tables[] = {panel.basic->getControlData(), panel.advanced->getControlData()};
        compound = pde::PDECommon::commonControlTableCompound(tables, 2);
    }
    void apply() { pde::vColorPresetConstraints(compound.get()); }
    void applyBasicOnly() { pde::vColorPresetConstraints(panel.basic->getControlData()); }

    pde::ColorOptions* basic() const { return panel.basic; }
    pde::AdvancedColorOptions* advanced() const { return panel.advanced; }

    Panel panel;
    std::unique_ptr<pde::PDEControlItem[]> compound;
};

}  // namespace testsupport
