#include "plugin/constraints/PpdConstraints.h"

#include "colormodel/PpdConstraintLines.h"
#include "plugin/constraints/ConstraintEngine.h"

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

std::string cupsConstraintLines(const ConstraintRule* rules, const PDEControlItem* table)
{
    return colormodel::cupsConstraintLines(rules, [table](const char* name) -> const char* {
        const PDEControlItem* row = cstFindControl(name, table);
        return row && row->kind == CheckBox && isBound(*row) ? row->ppdKey : nullptr;
    });
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
