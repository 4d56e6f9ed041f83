// A modal window's own display of the panel's waits. While a modal window
// is up the host's status line cannot take clicks, so a window in which the
// user starts requests (the profile window) holds one of these: a status
// text and a "Stop waiting" button of its own. The panel's waiter shows a
// wait on the active modal window's display when it holds one, else on the
// host's.
#pragma once

#include "platform/HostProtocol.h"

#include <QObject>
#include <functional>

class QLabel;
class QPushButton;

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

class WindowWaitDisplay final : public QObject, public rx::PDEWaitDisplay {
    Q_OBJECT
public:
    // Shows waits on `status` and offers stopping with `stop`, both of
    // `window`, which owns them and this display. Hides both until a wait.
    WindowWaitDisplay(QLabel* status, QPushButton* stop, QWidget* window);

    void showWaiting(const QString& text) override;
    QWidget* offerStop(std::function<void()> stop) override;
    void hideWaiting() override;

    // The display of the application's active modal window; null when no
    // modal window is up or it holds no display.
    static rx::PDEWaitDisplay* ofActiveModalWindow();

private:
    QLabel* status_;
    QPushButton* stopButton_;
    std::function<void()> stop_;
};

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
