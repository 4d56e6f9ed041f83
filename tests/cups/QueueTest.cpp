// pdehost on CUPS queues, against a private scheduler started for this test
// with its own configuration: the printer a queue describes, jobs and the
// options they carry as the scheduler records them, the per-user settings of
// a queue, and the print dialog.
#include "host/CupsPrinter.h"
#include "host/PrintDialog.h"
#include "host/SettingsStore.h"
#include "tests/cups/PrivateCupsServer.h"
#include "tests/support/PdehostRun.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>
#include <QTest>
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace {

QString env(const char* name)
{
    return qEnvironmentVariable(name);
}

QString sourceFile(const QString& relative)
{
    return env("RX_SOURCE_DIR") + QLatin1Char('/') + relative;
}

QString testRoot()
{
    return env("RX_TEST_ROOT");
}

std::unique_ptr<rxtest::PrivateCupsServer> server;
std::string startProblem;  // the scheduler cannot run here
std::string setupProblem;  // it runs but refused the queues

// One scheduler for the whole run: two queues with the bundled PPD (a file
// device and a socket device) and one without a PPD.
class CupsQueue : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (server || !startProblem.empty() || !setupProblem.empty())
            return;
        const QString root = testRoot() + QStringLiteral("/cups");
        QDir(root).removeRecursively();
        QDir().mkpath(testRoot());
        server = std::make_unique<rxtest::PrivateCupsServer>(root.toStdString());
        if (!server->start(&startProblem)) {
            server.reset();
            return;
        }
        const std::string ppd = sourceFile(QStringLiteral("plugin/resources/rx8240.ppd")).toStdString();
        if (!server->addQueue("rx8240", ppd, "file:/dev/null", &setupProblem) ||
            !server->addQueue("rx8240net", ppd, "socket://127.0.0.1:9100", &setupProblem) ||
            !server->addQueue("rawqueue", "", "file:/dev/null", &setupProblem)) {
            setupProblem += server->errorLog();
            server.reset();
            return;
        }
        // For pdehost runs and for libcups in this process alike.
        qputenv("CUPS_SERVER", QByteArray::fromStdString(server->address()));
        cupsSetServer(server->address().c_str());
    }

    void SetUp() override
    {
        // Root (CI) can always run a scheduler; an ordinary user may lack
        // what it needs, and is told why.
        if (!server && !startProblem.empty() && ::getuid() != 0)
            GTEST_SKIP() << "no private CUPS scheduler for this user: " << startProblem;
        ASSERT_TRUE(server) << "private CUPS scheduler: " << startProblem << setupProblem;
        // Every test keeps its per-user settings apart.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        config_ = testRoot() + QStringLiteral("/config-") + QString::fromLatin1(info->name());
        QDir(config_).removeRecursively();
        qputenv("XDG_CONFIG_HOME", config_.toLocal8Bit());
    }

    QString config_;
};

using rxtest::HostRun;
using rxtest::pairs;

HostRun pdehost(const QStringList& args)
{
    return rxtest::runPdehost(args);
}

// The job id from a "job<TAB>QUEUE-ID" line; 0 when there is none.
int jobIdOf(const QStringList& lines, const QString& queue)
{
    for (const QString& l : lines)
        if (l.startsWith(QStringLiteral("job\t") + queue + QLatin1Char('-')))
            return l.section(QLatin1Char('-'), -1).toInt();
    return 0;
}

QString writeDocument(const QString& name)
{
    const QString path = testRoot() + QLatin1Char('/') + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("%!PS-Adobe-3.0\n%%Pages: 1\n%%EndComments\nshowpage\n%%EOF\n");
    return path;
}

TEST_F(CupsQueue, QueueGivesItsNameDeviceUriAndPpd)
{
    struct Case {
        const char* queue;
        const char* deviceUri;
    };
    for (const Case& c : {Case{"rx8240", "file:/dev/null"}, Case{"rx8240net", "socket://127.0.0.1:9100"}}) {
        HostRun r = pdehost({"--queue", c.queue, "printer", "keys"});
        ASSERT_EQ(r.exitCode, 0) << c.queue << r.err.toStdString();
        ASSERT_EQ(r.lines.size(), 1 + 28) << c.queue;
        EXPECT_EQ(r.lines[0], QStringLiteral("%1\t%2").arg(c.queue, c.deviceUri));
        EXPECT_TRUE(r.lines.contains(QStringLiteral("QVQuickColor"))) << "the PPD did not come from the server";
    }
}

TEST_F(CupsQueue, SubmittedJobCarriesThePanelsOptions)
{
    const QString document = writeDocument(QStringLiteral("job.ps"));
    // Custom preset, then advanced choices that differ from the PPD defaults.
    HostRun r = pdehost({"--queue", "rx8240", "restore", "set", "menu_QuickColor=3", "set", "menu_iHalftone=0", "set",
                         "menu_tRGBIntent=2", "save", "print", "options", "submit", document});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const int job = jobIdOf(r.lines, QStringLiteral("rx8240"));
    ASSERT_GT(job, 0) << r.lines.join('\n').toStdString();

    const std::map<std::string, std::string> attrs = server->jobAttributes(job);
    ASSERT_FALSE(attrs.empty()) << "the scheduler does not know job " << job;
    EXPECT_EQ(attrs.count("job-printer-uri") ? attrs.at("job-printer-uri").substr(attrs.at("job-printer-uri").rfind('/')) : "",
              "/rx8240");
    auto attr = [&](const char* name) { return attrs.count(name) ? attrs.at(name) : std::string("<missing>"); };
    EXPECT_EQ(attr("QVQuickColor"), "UserDefined");
    EXPECT_EQ(attr("QVImageHalftone"), "Detail");
    EXPECT_EQ(attr("QVTextRenderIntent"), "Colorimetric");
    // Every top-level entry of the settings reached the job. libcups sends
    // "True"/"False" as IPP booleans, which the scheduler reports in lower
    // case; PPD choices match without regard to case, so that is the same
    // choice.
    const auto options = pairs(r.lines, QLatin1Char('='));
    EXPECT_GE(options.size(), 28);
    for (auto it = options.begin(); it != options.end(); ++it) {
        const QString value = it.value();
        const bool boolean = value == QLatin1String("True") || value == QLatin1String("False");
        EXPECT_EQ(attr(it.key().toUtf8().constData()), (boolean ? value.toLower() : value).toStdString())
            << it.key().toStdString();
    }
}

TEST_F(CupsQueue, SettingsOfEachQueuePersistPerUser)
{
    HostRun first = pdehost({"--queue", "rx8240", "restore", "set", "menu_QuickColor=2", "save"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QString file = config_ + QStringLiteral("/rx8240/pdehost/rx8240.plist");
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(QFile::permissions(QFileInfo(file).absolutePath()) & (QFile::ReadOther | QFile::ReadGroup), 0);

    HostRun again = pdehost({"--queue", "rx8240", "restore", "save", "options"});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(pairs(again.lines, QLatin1Char('=')).value("QVQuickColor"), QStringLiteral("Photo"));

    HostRun other = pdehost({"--queue", "rx8240net", "restore", "save", "options"});
    ASSERT_EQ(other.exitCode, 0) << other.err.toStdString();
    EXPECT_EQ(pairs(other.lines, QLatin1Char('=')).value("QVQuickColor"), QStringLiteral("Standard"))
        << "another queue saw this queue's settings";

    // A settings file given on the command line replaces the per-user one.
    const QString given = testRoot() + QStringLiteral("/given.plist");
    QFile::remove(given);
    HostRun explicitRun = pdehost({"--queue", "rx8240", "--settings", given, "restore", "save", "options"});
    ASSERT_EQ(explicitRun.exitCode, 0) << explicitRun.err.toStdString();
    EXPECT_EQ(pairs(explicitRun.lines, QLatin1Char('=')).value("QVQuickColor"), QStringLiteral("Standard"));
    EXPECT_TRUE(QFile::exists(given));
}

TEST_F(CupsQueue, SettingsPathFollowsTheUsersConfigurationDirectory)
{
    struct Case {
        const char* xdg;
        const char* home;
        const char* queue;
        const char* expected;  // empty: refused
    };
    const Case cases[] = {
        {"/cfg", "/home/u", "rx8240", "/cfg/rx8240/pdehost/rx8240.plist"},
        {"", "/home/u", "rx8240", "/home/u/.config/rx8240/pdehost/rx8240.plist"},
        {"relative", "/home/u", "q", "/home/u/.config/rx8240/pdehost/q.plist"},
        {"", "", "q", ""},
        {"/cfg", "/home/u", "../q", ""},
        {"/cfg", "/home/u", ".q", ""},
        {"/cfg", "/home/u", "a/b", ""},
        {"/cfg", "/home/u", "", ""},
    };
    const QByteArray home = qgetenv("HOME");
    for (const Case& c : cases) {
        qputenv("XDG_CONFIG_HOME", c.xdg);
        qputenv("HOME", c.home);
        QString error;
        EXPECT_EQ(pdehost::queueSettingsPath(QString::fromUtf8(c.queue), &error), QString::fromUtf8(c.expected))
            << c.xdg << ' ' << c.home << ' ' << c.queue;
        EXPECT_EQ(error.isEmpty(), *c.expected != '\0');
    }
    qputenv("HOME", home);
}

TEST_F(CupsQueue, FailuresAreReported)
{
    const QString document = writeDocument(QStringLiteral("fail.ps"));
    const QString ppd = sourceFile(QStringLiteral("plugin/resources/rx8240.ppd"));
    struct Case {
        QStringList args;
        const char* message;
    };
    const Case cases[] = {
        {{"--queue", "nosuchqueue", "keys"}, "has no queue \"nosuchqueue\""},
        {{"--queue", "rawqueue", "keys"}, "has no PPD"},
        {{"--queue", "a/b", "keys"}, "is not a queue name"},
        {{"--queue", "rx8240", "submit", testRoot() + "/missing.ps"}, "no file"},
        {{"--queue", "rx8240", "submit"}, "submit needs an argument"},
        {{"--ppd", ppd, "submit", document}, "needs a CUPS queue"},
        {{"--ppd", ppd, "--queue", "rx8240", "keys"}, "one of them"},
    };
    for (const Case& c : cases) {
        HostRun r = pdehost(c.args);
        EXPECT_NE(r.exitCode, 0) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    }
    // A scheduler that is not there.
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("CUPS_SERVER"), QStringLiteral("127.0.0.1:1"));
    p.setProcessEnvironment(e);
    p.start(env("RX_BINARY_DIR") + QStringLiteral("/bin/pdehost"), {"--queue", "rx8240", "keys"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardError().contains("cannot ask the CUPS server 127.0.0.1:1 for queue \"rx8240\": it does not answer"));
}

// The dialog, driven in this process as a user would drive it.
class CupsDialog : public CupsQueue {
protected:
    pdehost::PrintDialog::Setup setup() const
    {
        pdehost::PrintDialog::Setup s;
        s.bundle = env("RX_BUNDLE_DIR");
        s.queues = pdehost::cupsQueueNames();
        s.handPrinter = pdehost::PrintDialog::HandPrinter{
            sourceFile(QStringLiteral("tests/fixtures/ppd/rx8240.ppd")), rx::Printer{"byhand", ""}, QString()};
        s.initialQueue = QStringLiteral("rx8240");
        s.document = writeDocument(QStringLiteral("dialog.ps"));
        return s;
    }
};

// The text of the label a screen reader announces for the widget: its
// accessible "labelled by" relation.
QString accessibleLabel(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    if (!a)
        return {};
    const auto labels = a->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

void choose(QComboBox* menu, int index)
{
    menu->setCurrentIndex(index);
    emit menu->activated(index);
}

TEST_F(CupsDialog, ListsQueuesAndTheHandPrinterAndHostsTheChosenOne)
{
    pdehost::PrintDialog dialog(setup());
    QComboBox* chooser = dialog.printerChooser();
    QStringList labels;
    for (int i = 0; i < chooser->count(); ++i)
        labels << chooser->itemText(i);
    EXPECT_TRUE(labels.contains("rx8240") && labels.contains("rx8240net") && labels.contains("rawqueue"))
        << labels.join(',').toStdString();
    EXPECT_EQ(labels.last(), QStringLiteral("byhand (rx8240.ppd)"));

    ASSERT_EQ(dialog.currentQueue(), QStringLiteral("rx8240"));
    ASSERT_NE(dialog.host(), nullptr) << dialog.message().toStdString();
    EXPECT_EQ(dialog.host()->session().currentPrinter()->deviceUri, "file:/dev/null");
    QTreeWidget* summary = dialog.summaryPane();
    ASSERT_GE(summary->topLevelItemCount(), 7);
    EXPECT_EQ(summary->topLevelItem(0)->text(0), QStringLiteral("Quick Color"));
    EXPECT_EQ(summary->topLevelItem(0)->text(1), QStringLiteral("Standard"));

    // A queue without a PPD cannot host the panel; Print is off until
    // another printer is chosen.
    chooser->setCurrentIndex(labels.indexOf("rawqueue"));
    EXPECT_EQ(dialog.host(), nullptr);
    EXPECT_FALSE(dialog.printButton()->isEnabled());
    EXPECT_TRUE(dialog.message().contains("has no PPD"));

    chooser->setCurrentIndex(chooser->count() - 1);
    ASSERT_NE(dialog.host(), nullptr) << dialog.message().toStdString();
    EXPECT_TRUE(dialog.printButton()->isEnabled());
    EXPECT_EQ(dialog.host()->session().currentPrinter()->identifier, "byhand");
    EXPECT_TRUE(dialog.currentQueue().isEmpty());
    EXPECT_TRUE(dialog.print());
    EXPECT_EQ(dialog.jobId(), 0) << "a printer given by hand has no queue to print on";
}

TEST_F(CupsDialog, KeyboardReachesEveryPartAndControlsKeepTheirNames)
{
    pdehost::PrintDialog dialog(setup());
    dialog.show();
    ASSERT_NE(dialog.host(), nullptr) << dialog.message().toStdString();
    auto* quickColor = dialog.findChild<QComboBox*>(QStringLiteral("menu_QuickColor"));
    ASSERT_NE(quickColor, nullptr);

    // Tab order: chooser, the panel's controls, summary, Print, Cancel.
    QList<QWidget*> chain;
    QWidget* w = dialog.printerChooser();
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w;
        w = w->nextInFocusChain();
    } while (w != dialog.printerChooser() && chain.size() < 500);
    const auto at = [&](QWidget* x) { return chain.indexOf(x); };
    EXPECT_EQ(at(dialog.printerChooser()), 0);
    EXPECT_GT(at(quickColor), 0);
    EXPECT_GT(at(dialog.summaryPane()), at(quickColor));
    EXPECT_GT(at(dialog.printButton()), at(dialog.summaryPane()));
    EXPECT_GT(at(dialog.findChild<QPushButton*>(QStringLiteral("cancelButton"))), at(dialog.printButton()));

    // Screen readers find each visible menu of the panel labelled.
    int named = 0;
    for (QComboBox* menu : dialog.findChildren<QComboBox*>()) {
        if (!menu->isVisible() || menu == dialog.printerChooser())
            continue;
        EXPECT_FALSE(accessibleLabel(menu).isEmpty()) << menu->objectName().toStdString();
        ++named;
    }
    EXPECT_GE(named, 3);
    EXPECT_EQ(accessibleLabel(quickColor), QStringLiteral("Quick Color:"));
    EXPECT_EQ(accessibleLabel(dialog.printerChooser()), QStringLiteral("Printer:"));

    // Keys move the chooser and press Print's default.
    EXPECT_TRUE(dialog.printButton()->isDefault());
}

TEST_F(CupsDialog, PrintSubmitsTheChoicesAndKeepsTheQueuesSettings)
{
    pdehost::PrintDialog dialog(setup());
    ASSERT_NE(dialog.host(), nullptr) << dialog.message().toStdString();
    auto* quickColor = dialog.findChild<QComboBox*>(QStringLiteral("menu_QuickColor"));
    ASSERT_NE(quickColor, nullptr);
    choose(quickColor, 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.summaryPane()->topLevelItem(0)->text(1), QStringLiteral("Custom")) << "summary not refreshed";
    auto* halftone = dialog.findChild<QComboBox*>(QStringLiteral("menu_gHalftone"));
    ASSERT_NE(halftone, nullptr);
    ASSERT_TRUE(halftone->isEnabled());
    choose(halftone, 2);

    QTest::mouseClick(dialog.printButton(), Qt::LeftButton);
    ASSERT_GT(dialog.jobId(), 0) << dialog.message().toStdString();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const auto attrs = server->jobAttributes(dialog.jobId());
    ASSERT_TRUE(attrs.count("QVQuickColor"));
    EXPECT_EQ(attrs.at("QVQuickColor"), "UserDefined");
    ASSERT_TRUE(attrs.count("QVGraphicsHalftone"));
    EXPECT_EQ(attrs.at("QVGraphicsHalftone"), "Stochastic");
    EXPECT_EQ(attrs.count("document-name-supplied") ? attrs.at("document-name-supplied") : "", "dialog.ps");

    // The next dialog on this queue starts from what was printed.
    pdehost::PrintDialog next(setup());
    ASSERT_NE(next.host(), nullptr);
    EXPECT_EQ(next.findChild<QComboBox*>(QStringLiteral("menu_QuickColor"))->currentIndex(), 3);
}

TEST_F(CupsDialog, RendersToAFileWithoutAUser)
{
    const QString png = testRoot() + QStringLiteral("/dialog.png");
    QFile::remove(png);
    HostRun r = pdehost({"--queue", "rx8240", "gui", "--screenshot", png});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 600);
    EXPECT_GE(image.height(), 400);

    HostRun unknown = pdehost({"--queue", "nosuchqueue", "gui", "--screenshot", png});
    EXPECT_NE(unknown.exitCode, 0);
    EXPECT_TRUE(unknown.err.contains("no queue"));

    // Without a display and without --screenshot nobody could answer it.
    HostRun headless = pdehost({"--queue", "rx8240", "gui"});
    EXPECT_EQ(headless.exitCode, 2);
    EXPECT_TRUE(headless.err.contains("needs a display"));
}

}  // namespace
