#include "plugin/frame/WindowWaitDisplay.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

WindowWaitDisplay::WindowWaitDisplay(QLabel* status, QPushButton* stop, QWidget* window)
    : QObject(window), status_(status), stopButton_(stop)
{
    connect(stopButton_, &QPushButton::clicked, this, [this] {
        if (stop_)
            stop_();
    });
    hideWaiting();
}

void WindowWaitDisplay::showWaiting(const QString& text)
{
    status_->setText(text);
    status_->show();
    stopButton_->hide();
}

QWidget* WindowWaitDisplay::offerStop(std::function<void()> stop)
{
    stop_ = std::move(stop);
    stopButton_->show();
    return stopButton_;
}

void WindowWaitDisplay::hideWaiting()
{
    stop_ = nullptr;
    status_->hide();
    stopButton_->hide();
}

rx::PDEWaitDisplay* WindowWaitDisplay::ofActiveModalWindow()
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal->findChild<WindowWaitDisplay*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
