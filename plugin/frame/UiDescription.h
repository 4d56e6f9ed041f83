// Loading the plug-in's user-interface descriptions (.ui files in the
// bundle's Resources) with the plug-in's own widget classes registered: the
// views of the panel and the profile window's restricted text field.
#pragma once

#include <QString>

class QWidget;

namespace rx {
class Bundle;
}

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

// Loads Resources/<name>.ui of the bundle; null when the file is missing or
// cannot be built. The caller owns the returned widget tree.
QWidget* loadUiDescription(const rx::Bundle& bundle, const QString& name, QWidget* parent = nullptr);

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
