#include "plugin/frame/RequestWait.h"

#include "plugin/frame/WindowWaitDisplay.h"
#include "plugin/options/PDECommon.h"
#include "protocol/ArgumentStrings.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <iterator>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;

constexpr const char* kLookingText = "Looking for colour profiles on the printer…";
constexpr const char* kSavingText = "Saving the profile list…";
constexpr const char* kAskingText = "Asking the profile service…";

struct WaitText {
    std::string_view command;
    const char* key;
};
// The backup belongs to discovery; removing the staging file, the pieces and
// the commit to a write of the list.
constexpr WaitText kWaitTexts[] = {
    {svc::kOpWalk, kLookingText},   {svc::kOpSwap, kLookingText},      {svc::kOpRemove, kSavingText},
    {svc::kOpWritePiece, kSavingText}, {svc::kOpCommit, kSavingText},
};

// User input that could start a request or change a control.
constexpr QEvent::Type kHeldInput[] = {
    QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick, QEvent::Wheel,
    QEvent::KeyPress,         QEvent::KeyRelease,         QEvent::Shortcut,             QEvent::ShortcutOverride,
    QEvent::ContextMenu,      QEvent::TouchBegin,         QEvent::TouchUpdate,          QEvent::TouchEnd,
    QEvent::TabletPress,      QEvent::TabletRelease,      QEvent::DragEnter,            QEvent::Drop,
    QEvent::InputMethod,
};

bool isHeldInput(const QEvent* event)
{
    // A window closed by the user; the program's own closes go through.
    if (event->type() == QEvent::Close)
        return event->spontaneous();
    return std::find(std::begin(kHeldInput), std::end(kHeldInput), event->type()) != std::end(kHeldInput);
}

// Holds user input to every widget of the application but the allowed one
// (and its children) while it lives.
class InputHold final : public QObject {
public:
    InputHold() { qApp->installEventFilter(this); }
    ~InputHold() override { qApp->removeEventFilter(this); }
    void allow(QWidget* widget) { allowed_ = widget; }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (!isHeldInput(event))
            return false;
        auto* widget = qobject_cast<QWidget*>(receiver);
        if (!widget)  // windows pass input on to their widgets; actions take shortcuts
            return event->type() == QEvent::Shortcut;
        if (allowed_ && (widget == allowed_ || allowed_->isAncestorOf(widget)))
            return false;
        event->ignore();
        return true;
    }

private:
    QPointer<QWidget> allowed_;
};

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The host's display of one wait, shown while it lives.
class ShownWait {
public:
    ShownWait(rx::PDEWaitDisplay* display, const QString& text) : display_(display)
    {
        if (display_)
            display_->showWaiting(text);
    }
    ~ShownWait()
    {
        if (display_)
            display_->hideWaiting();
    }
    ShownWait(const ShownWait&) = delete;
    ShownWait& operator=(const ShownWait&) = delete;
    QWidget* offerStop(std::function<void()> stop) { return display_ ? display_->offerStop(std::move(stop)) : nullptr; }

private:
    rx::PDEWaitDisplay* display_;
};

bool onUserInterfaceThread()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

// How the wait's loop ended. Any other code (0 when the application quits
// during the wait) ended it before the launcher did.
enum LoopResult { kEnded = 1, kStopped = 2 };

// Where a wait shows: on the active modal window's own display when it holds
// one (the host's display takes no clicks behind a modal window), else on
// the host's.
rx::PDEWaitDisplay* displayOfWait(const std::function<rx::PDEWaitDisplay*()>& host)
{
    if (rx::PDEWaitDisplay* own = WindowWaitDisplay::ofActiveModalWindow())
        return own;
    return host ? host() : nullptr;
}

}  // namespace

const char* waitTextKey(std::string_view command)
{
    for (const WaitText& t : kWaitTexts)
        if (t.command == command)
            return t.key;
    return kAskingText;
}

RequestWait::RequestWait(std::function<rx::PDEWaitDisplay*()> display) : display_(std::move(display))
{
    QVPListSetLauncherWaiter(this);
}

RequestWait::~RequestWait()
{
    // Another panel's waiter installed since stays installed.
    rx::LauncherWaiter* current = QVPListSetLauncherWaiter(nullptr);
    if (current != this)
        QVPListSetLauncherWaiter(current);
}

bool RequestWait::waitForLauncher(std::string_view command, rx::LauncherProcess& process)
{
    if (!onUserInterfaceThread())
        return rx::blockingLauncherWait(process);
    QEventLoop loop;
    QSocketNotifier output(process.outputFd(), QSocketNotifier::Read);
    QObject::connect(&output, &QSocketNotifier::activated, &loop, [&] {
        if (process.readAvailable()) {
            output.setEnabled(false);
            loop.exit(kEnded);
        }
    });
    InputHold hold;
    WaitCursor cursor;
    ShownWait shown(displayOfWait(display_), localizedOrKey(waitTextKey(command)));
    QTimer offer;
    offer.setSingleShot(true);
    QObject::connect(&offer, &QTimer::timeout, &loop,
                     [&] { hold.allow(shown.offerStop([&loop] { loop.exit(kStopped); })); });
    offer.start(kOfferStopAfter);
    // Only the launcher's end of output counts: a loop ended otherwise (a
    // stop, the application quitting) gives the wait up, and the output read
    // so far is no reply.
    return loop.exec() == kEnded;
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
