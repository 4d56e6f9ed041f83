// The panel's wait for a slow request: the window keeps painting, the
// panel takes no input, the wait cursor and the host's status show; "Stop
// waiting" ends the wait at once, the list file stays whole and the next
// request works. Behind the modal profile window the window itself shows
// the wait and offers to stop it.
#include "../options/PanelFixture.h"
#include "ServiceFixture.h"

#include "platform/FixedPaths.h"
#include "plugin/frame/PDEPlugIn.h"
#include "plugin/frame/PDEPlugInInterface.h"
#include "plugin/frame/RequestWait.h"
#include "plugin/profilewindow/ProfileControl.h"
#include "profilelist/LauncherCalls.h"
#include "profilelist/ProfileList.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <gmock/gmock.h>

using namespace testsupport;
using ::testing::HasSubstr;

namespace {

// A host's status line: records what it was asked to show; with
// `stopWhenOffered` it clicks "Stop waiting" as soon as it is offered.
class RecordingDisplay : public rx::PDEWaitDisplay {
public:
    void showWaiting(const QString& text) override { shown << text; }
    QWidget* offerStop(std::function<void()> stop) override
    {
        ++offers;
        stop_ = std::move(stop);
        if (stopWhenOffered)
            QTimer::singleShot(0, &button, [this] { QTest::mouseClick(&button, Qt::LeftButton); });
        return &button;
    }
    void hideWaiting() override
    {
        ++hidden;
        stop_ = nullptr;
    }

    QStringList shown;
    int offers = 0, hidden = 0;
    bool stopWhenOffered = false;
    QPushButton button{"Stop waiting"};

    RecordingDisplay()
    {
        QObject::connect(&button, &QPushButton::clicked, [this] {
            if (stop_)
                stop_();
        });
        button.show();
    }

private:
    std::function<void()> stop_;
};

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

class DisplayCallback : public HostCallback {
public:
    using HostCallback::HostCallback;
    rx::PDEWaitDisplay* waitDisplay() override { return &display; }
    RecordingDisplay display;
};

QStringList linesOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Index of the n-th (from 1) line equal to `line`; -1 when there are fewer.
qsizetype nthLine(const QStringList& lines, const QString& line, int n)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i] == line && --n == 0)
            return i;
    return -1;
}

void writeScript(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile script(path);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
    script.write(text.toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

class SlowDiscovery : public ::testing::Test {
protected:
    void SetUp() override
    {
        factory.initWithBundle(QString::fromStdString(env("RX_BUNDLE_DIR")));
        useBuildBundle();
        log = QString::fromStdString(rx::rootPrefix()) + "/wait-launcher.log";
        QFile::remove(log);
        // Every request answers at once but the walk, which takes 3 s.
        writeScript(QString::fromStdString(rx::fixedPath(rx::kLauncherPath)),
                    QStringLiteral("#!/bin/sh\necho \"start $1\" >> '%1'\n"
                                   "[ \"$1\" = mibwalk_XPC ] && sleep 3\n"
                                   "echo \"end $1\" >> '%1'\necho \"$1=TRUE\"\n")
                        .arg(log));
    }
    void TearDown() override { QFile::remove(QString::fromStdString(rx::fixedPath(rx::kLauncherPath))); }

    std::unique_ptr<pde::PDEPlugInInterface> newPanel()
    {
        auto panels = factory.PDEPanelsForType(QString::fromLatin1(rx::kPrinterModulePanelType), &callback);
        auto panel = std::unique_ptr<pde::PDEPlugInInterface>(
            static_cast<pde::PDEPlugInInterface*>(panels->front().release()));
        panel->supportedPPDOptionKeys();  // loads the panel: its probe is quick
        return panel;
    }

    pde::PDEPlugIn factory;
    DisplayCallback callback{"rx8240.ppd", "lpd://127.0.0.1/queue"};
    QString log;
};

TEST_F(SlowDiscovery, WindowPaintsWhilePanelInputIsHeldAndTheWaitShows)
{
    auto panel = newPanel();
    QCheckBox* box = panel->colorView()->check_ColorAsGrayscale;
    ASSERT_TRUE(box);
    QWidget* window = box->window();
    window->show();
    int toggles = 0;
    QObject::connect(box, &QCheckBox::toggled, [&] { ++toggles; });
    const QPoint indicator(6, box->height() / 2);

    int ticks = 0;
    PaintCounter painted;
    window->installEventFilter(&painted);
    QTimer repaint(window);
    QObject::connect(&repaint, &QTimer::timeout, window, [&] {
        ++ticks;
        window->update();
    });
    repaint.start(100);
    Qt::CursorShape duringWait = Qt::ArrowCursor;
    QTimer::singleShot(500, window, [&] {
        if (QApplication::overrideCursor())
            duringWait = QApplication::overrideCursor()->shape();
        QTest::mouseClick(box, Qt::LeftButton, {}, indicator);
        QTest::keyClick(box, Qt::Key_Space);
    });

    ASSERT_TRUE(panel->panelView());
    EXPECT_THAT(linesOf(log), ::testing::Contains(QString("end mibwalk_XPC"))) << "returned before the walk ended";
    EXPECT_GE(ticks, 2) << "the window's timer did not run during the wait";
    EXPECT_GE(painted.paints, 2) << "the window did not repaint during the wait";
    EXPECT_EQ(toggles, 0) << "the panel took input during the wait";
    EXPECT_EQ(duringWait, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor stayed";
    EXPECT_THAT(callback.display.shown, ::testing::Contains(QString("Looking for colour profiles on the printer…")));
    EXPECT_EQ(callback.display.offers, 1);
    EXPECT_EQ(callback.display.hidden, callback.display.shown.size());

    QTest::keyClick(box, Qt::Key_Space);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator);
    EXPECT_EQ(toggles, 2) << "the panel does not take keys and clicks again after the wait";
}

TEST_F(SlowDiscovery, StopWaitingReturnsAtOnceAndTheNextRequestWorks)
{
    auto panel = newPanel();
    callback.display.stopWhenOffered = true;
    ASSERT_TRUE(panel->panelView());
    EXPECT_EQ(callback.display.offers, 1);
    const QStringList lines = linesOf(log);
    EXPECT_THAT(lines, ::testing::Contains(QString("start mibwalk_XPC")));
    EXPECT_THAT(lines, ::testing::Not(::testing::Contains(QString("end mibwalk_XPC"))))
        << "the wait outlasted the walk";
    EXPECT_EQ(QVPListIsAdminProfile(), 1);
}

// The application quits while a request waits (its loop ends with code 0):
// the wait is given up, so output read so far is no reply and the request
// does not wait for its launcher to end.
TEST_F(SlowDiscovery, AnApplicationQuitDuringTheWaitIsNoReply)
{
    const QString ended = QString::fromStdString(rx::rootPrefix()) + "/quit-launcher-ended";
    QFile::remove(ended);
    writeScript(QString::fromStdString(rx::fixedPath(rx::kLauncherPath)),
                QStringLiteral("#!/bin/sh\necho \"$1=TRUE\"\nsleep 3\ntouch '%1'\n").arg(ended));
    RecordingDisplay display;
    pde::RequestWait wait([&display] { return &display; });
    QTimer::singleShot(300, [] { QCoreApplication::exit(0); });
    EXPECT_EQ(QVPListIsAdminProfile(), 0) << "the output before the quit was taken as the reply";
    EXPECT_FALSE(QFile::exists(ended)) << "the request waited for the launcher after the quit";
    // The quit holds every later loop of this thread until an exec() ends.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

// A list of one RGB profile named `name`.
ProfileList oneProfile(const char* name)
{
    ProfileList list{};
    ProfileListItem& item = list.litem[0];
    item = ProfileListItem{1, kStateDeviceShownConfirmed, 0, {}, {}, kLocationDisk, 0};
    std::strncpy(item.FileName, name, sizeof item.FileName - 1);
    std::strncpy(item.ProfileName, name, sizeof item.ProfileName - 1);
    list.iNum = 1;
    return list;
}

// The real service behind a launcher that holds each write of a list back
// 3 s while the file `slow` exists.
class HeldBackPieces : public ::testing::Test {
protected:
    void SetUp() override
    {
        service.start({RX_SERVICE_BINARY, {}});
        const QString launcher = QString::fromStdString(rx::fixedPath(rx::kLauncherPath));
        const QString root = QString::fromStdString(service.root());
        log = root + "/launcher.log";
        slow = root + "/slow-pieces";
        ASSERT_TRUE(QFile::rename(launcher, launcher + ".real"));
        late = root + "/late-replies";
        writeScript(launcher, QStringLiteral("#!/bin/sh\nrun=$1\n"
                                             "for a do [ \"$a\" = writeDataToPlistFile_XPC ] && run=write; done\n"
                                             "echo \"start $run\" >> '%1'\n"
                                             "trap 'echo \"stopped $run\" >> \"%1\"; exit 1' TERM\n"
                                             "if [ $run = write ] && [ -e '%2' ]; then\n"
                                             "  sleep 3; echo \"held back $run\" >> '%1'\nfi\n"
                                             "if [ $run = write ] && [ -e '%4' ]; then\n"
                                             "  '%3.real' \"$@\" > '%4.out'; sleep 3; cat '%4.out'; exit\nfi\n"
                                             "exec '%3.real' \"$@\"\n")
                                  .arg(log, slow, launcher, late));
    }
    bool pieceWasHeldBack() { return linesOf(log).contains("held back write"); }

    rxtest::ServiceUnderRoot service;
    QString log, slow, late;
};

// The service has run the whole write, its commit included, when the user
// stops waiting for the replies: the write counts as done, as the list file
// holds it, and the next write goes ahead at once.
TEST_F(HeldBackPieces, AStopAfterTheServiceCommittedCountsAsSaved)
{
    RecordingDisplay display;
    display.stopWhenOffered = true;
    pde::RequestWait wait([&display] { return &display; });
    const ProfileList empty{}, first = oneProfile("First"), second = oneProfile("Second");

    QFile(late).open(QIODevice::WriteOnly);
    EXPECT_EQ(QVPListWriteProfile_All(&first, &empty, &empty), 0) << "a write whose commit ran reported failure";
    QFile::remove(late);
    EXPECT_EQ(display.offers, 1);
    EXPECT_EQ(rxtest::readFile(QVPListCurrentPath()), QVPListBuildFileText(&first, &empty, &empty));
    EXPECT_EQ(QVPListWriteProfile_All(&second, &empty, &empty), 0);
    EXPECT_EQ(rxtest::readFile(QVPListCurrentPath()), QVPListBuildFileText(&second, &empty, &empty));
}

TEST_F(HeldBackPieces, StoppedWriteNeverCommitsAndTheNextWriteWaitsForItsLauncher)
{
    RecordingDisplay display;
    display.stopWhenOffered = true;
    pde::RequestWait wait([&display] { return &display; });

    const ProfileList empty{}, first = oneProfile("First"), second = oneProfile("Second"),
                      third = oneProfile("Third");
    ASSERT_EQ(QVPListWriteProfile_All(&first, &empty, &empty), 0);
    const std::string firstText = rxtest::readFile(QVPListCurrentPath());
    ASSERT_THAT(firstText, HasSubstr("First"));

    QFile(slow).open(QIODevice::WriteOnly);
    EXPECT_EQ(QVPListWriteProfile_All(&second, &empty, &empty), -1);
    EXPECT_EQ(display.offers, 1);
    QFile::remove(slow);

    EXPECT_EQ(QVPListWriteProfile_All(&third, &empty, &empty), 0);
    EXPECT_EQ(rxtest::readFile(QVPListCurrentPath()), QVPListBuildFileText(&third, &empty, &empty));
    const QStringList lines = linesOf(log);
    const qsizetype stopped = nthLine(lines, "stopped write", 1);
    EXPECT_GE(stopped, 0) << "the stopped write's launcher was not stopped";
    EXPECT_FALSE(lines.contains("held back write")) << "the stopped write went on to the service";
    EXPECT_LT(stopped, nthLine(lines, "start write", 3))
        << "the next write started beside the stopped one:\n"
        << lines.join('\n').toStdString();
}

// Behind the modal profile window the host's status takes no clicks: the
// window shows the wait and offers "Stop waiting" itself.
TEST_F(HeldBackPieces, ProfileWindowShowsItsOwnWaitAndStopsIt)
{
    RecordingDisplay host;
    pde::RequestWait wait([&host] { return &host; });
    const ProfileList empty{}, first = oneProfile("First");
    ASSERT_EQ(QVPListWriteProfile_All(&first, &empty, &empty), 0);
    const std::string before = rxtest::readFile(QVPListCurrentPath());
    const int hostShowsBefore = host.shown.size();

    useBuildBundle();
    rx::PrintSettings settings;
    rx::PrintSession session;
    session.setCurrentPrinter(rx::Printer{"rx8240", "lpd://192.0.2.7/queue"});
    pde::ProfileControl control;
    control.setPMPrint(&settings, &session);
    ASSERT_TRUE(control.initWithProfileControl());
    QDialog* window = control.window();
    window->show();
    ASSERT_TRUE(control.tableViewSetObjectValue(pde::ProfileControl::columnOfIdentifier("inmenu"), 0));
    const ProfileList edited = control.list(0);
    auto* status = window->findChild<QLabel*>("_waitStatus");
    auto* stop = window->findChild<QPushButton*>("_stopWaiting");
    auto* ok = window->findChild<QPushButton*>("_windowOK");
    ASSERT_TRUE(status && stop && ok);

    QString statusText;
    bool offeredAtOnce = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (statusText.isEmpty() && status->isVisible()) {
            statusText = status->text();
            offeredAtOnce = stop->isVisible();
        }
        if (stop->isVisible()) {
            watch.stop();
            QTest::mouseClick(stop, Qt::LeftButton);
        }
    });
    watch.start(50);
    QFile(slow).open(QIODevice::WriteOnly);
    QTest::mouseClick(ok, Qt::LeftButton);
    watch.stop();
    EXPECT_FALSE(pieceWasHeldBack()) << "the wait outlasted the held-back piece";
    EXPECT_EQ(statusText, QStringLiteral("Saving the profile list…"));
    EXPECT_FALSE(offeredAtOnce);
    EXPECT_EQ(host.shown.size(), hostShowsBefore) << "the wait showed on the host's status behind the window";
    EXPECT_EQ(host.offers, 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->findChild<QLabel*>("_writeErrorText")->isVisible());
    EXPECT_FALSE(status->isVisible() || stop->isVisible());
    EXPECT_EQ(std::memcmp(&control.list(0), &edited, sizeof edited), 0) << "the edits were lost";
    EXPECT_TRUE(rxtest::readFile(QVPListCurrentPath()) == before) << "the stopped write changed the list file";

    QFile::remove(slow);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(rxtest::readFile(QVPListCurrentPath()) == QVPListBuildFileText(&edited, &empty, &empty))
        << "the next OK did not write the edits";
}

}  // namespace
