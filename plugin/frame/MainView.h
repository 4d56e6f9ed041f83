// The panel's top view: a plain view without behaviour of its own.
#pragma once

#include <QWidget>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

class MainView : public QWidget {
    Q_OBJECT
public:
    explicit MainView(QWidget* parent = nullptr) : QWidget(parent) {}
};

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
