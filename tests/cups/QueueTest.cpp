// pdehost on CUPS queues, against a private scheduler started for this test
// with its own configuration: the printer a queue describes, jobs and the
// options they carry as the scheduler records them, the per-user settings of
// a queue, and the print dialog.
#include "host/CupsPrinter.h"
#include "host/PrintDialog.h"
#include "profilelist/ProfileList.h"
#include "host/CupsHandles.h"
#include "tests/cups/PrivateCupsServer.h"
#include "tests/support/PdehostRun.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QInputDialog>
#include <QTimer>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>
#include <QTest>
#include <cups/cups.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

QString env(const char* name)
{
    return qEnvironmentVariable(name);
}

// The PPD the build generates and installs.
QString installedPpd()
{
    return env("RX_BUNDLE_DIR") + QStringLiteral("/Resources/rx8240.ppd");
}

QString sourceFile(const QString& relative)
{
    return env("RX_SOURCE_DIR") + QLatin1Char('/') + relative;
}

QString testRoot()
{
    return env("RX_TEST_ROOT");
}

// Another printer's PPD: the fixture without any option of the panel.
std::string otherPrintersPpd()
{
    QFile fixture(sourceFile(QStringLiteral("tests/fixtures/ppd/rx8240-none.ppd")));
    const QString path = testRoot() + QStringLiteral("/other.ppd");
    QFile other(path);
    if (!fixture.open(QIODevice::ReadOnly) || !other.open(QIODevice::WriteOnly))
        return {};
    for (const QByteArray& line : fixture.readAll().split('\n'))
        if (!line.contains("QV"))
            other.write(line + '\n');
    return path.toStdString();
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
        // libcups keeps a user's destinations below HOME, and root's in
        // CUPS_SERVERROOT: both private, set before libcups first reads them.
        for (const char* dir : {"home", "client"})
            QDir().mkpath(testRoot() + QLatin1Char('/') + QLatin1String(dir));
        qputenv("HOME", (testRoot() + QStringLiteral("/home")).toLocal8Bit());
        qputenv("CUPS_SERVERROOT", (testRoot() + QStringLiteral("/client")).toLocal8Bit());
        server = std::make_unique<rxtest::PrivateCupsServer>(root.toStdString());
        if (!server->start(&startProblem)) {
            server.reset();
            return;
        }
        const std::string ppd = installedPpd().toStdString();
        if (!server->addQueue("rx8240", ppd, "file:/dev/null", &setupProblem) ||
            !server->addQueue("rx8240net", ppd, "socket://127.0.0.1:9100", &setupProblem) ||
            !server->addQueue("rx8240sys", ppd, "file:/dev/null", &setupProblem) ||
            !server->addQueue("rawqueue", "", "file:/dev/null", &setupProblem) ||
            !server->addQueue("otherppd", otherPrintersPpd(), "file:/dev/null", &setupProblem)) {
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
        // Every test starts without user defaults.
        for (const char* file : {"/home/.cups/lpoptions", "/client/lpoptions"})
            QFile::remove(testRoot() + QLatin1String(file));
    }
};

using rxtest::HostRun;
using rxtest::pairs;
using ::testing::HasSubstr;
using ::testing::Not;

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

// A CUPS command-line tool run as another application would: its exit code
// and standard output.
struct ToolRun {
    int exitCode = -1;
    QString out;
};

ToolRun tool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString() << " did not finish";
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError())};
}

// The job that plain "lp -d DESTINATION FILE" makes; 0 when lp failed.
int lpJob(const QString& destination, const QString& file)
{
    const ToolRun r = tool(QStringLiteral("lp"), {"-d", destination, file});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
    // "request id is QUEUE-ID (1 file(s))"
    return r.out.section(QLatin1Char(' '), 3, 3).section(QLatin1Char('-'), -1).toInt();
}

// Photo's own choices and the fixed advanced values its preset imposes.
const std::pair<const char*, const char*> kPhoto[] = {
    {"QVQuickColor", "Photo"}, {"QVImageRenderIntent", "Saturation"}, {"QVImageHalftone", "Stochastic"},
    {"QVTextRenderIntent", "Saturation"}, {"QVGraphicsHalftone", "Stochastic"},
};

void expectPhoto(int job, const std::string& how)
{
    ASSERT_GT(job, 0) << how;
    const std::map<std::string, std::string> attrs = server->jobAttributes(job);
    for (const auto& [name, value] : kPhoto)
        EXPECT_EQ(attrs.count(name) ? attrs.at(name) : "<missing>", value) << how << ": " << name;
}

// Photo reaches a job whichever way it is sent: through pdehost's submit, or
// as the user's defaults of a queue or of an instance that any application
// prints with.
TEST_F(CupsQueue, PhotosFixedValuesReachEveryJob)
{
    const QString document = writeDocument(QStringLiteral("photo.ps"));
    const QStringList photo{"--queue", "rx8240", "restore", "set", "menu_QuickColor=2"};
    HostRun submitted = pdehost(QStringList(photo) << "submit" << document);
    ASSERT_EQ(submitted.exitCode, 0) << submitted.err.toStdString();
    expectPhoto(jobIdOf(submitted.lines, QStringLiteral("rx8240")), "submit");

    ASSERT_EQ(tool("lpoptions", {"-p", "rx8240", "-o", "number-up=2"}).exitCode, 0);
    HostRun instance = pdehost(QStringList(photo) << "instance" << "Photo-Proof");
    ASSERT_EQ(instance.exitCode, 0) << instance.err.toStdString();
    expectPhoto(lpJob(QStringLiteral("rx8240/Photo-Proof"), document), "lp to the instance");
    const ToolRun queueOptions = tool("lpoptions", {"-p", "rx8240"});
    EXPECT_THAT(queueOptions.out.toStdString(), HasSubstr("number-up=2"));
    EXPECT_THAT(queueOptions.out.toStdString(), Not(HasSubstr("QVQuickColor"))) << "the instance changed its queue";

    HostRun defaults = pdehost(QStringList(photo) << "defaults");
    ASSERT_EQ(defaults.exitCode, 0) << defaults.err.toStdString();
    expectPhoto(lpJob(QStringLiteral("rx8240"), document), "lp to the queue");
    const std::string listed = tool("lpoptions", {"-p", "rx8240"}).out.toStdString();
    for (const char* option : {"QVQuickColor=Photo", "QVImageHalftone=Stochastic", "number-up=2"})
        EXPECT_THAT(listed, HasSubstr(option));
}

TEST_F(CupsQueue, TheSessionOpensWithTheUsersDefaultsWhoeverSetThem)
{
    const QStringList others{"-p", "rx8240", "-o", "QVQuickColor=Vivid", "-o", "QVImageDestinationProfileCustom=True",
                             "-o", "QVImageDestinationProfileCustomFilename=3d3d"};
    ASSERT_EQ(tool("lpoptions", others).exitCode, 0);
    HostRun r = pdehost({"--queue", "rx8240", "restore", "summary"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(pairs(r.lines, QLatin1Char('\t')).value("Quick Color"), QStringLiteral("Vivid"));
    HostRun other = pdehost({"--queue", "rx8240net", "restore", "summary"});
    EXPECT_EQ(pairs(other.lines, QLatin1Char('\t')).value("Quick Color"), QStringLiteral("Standard"));

    // Saved again, the profile no longer on the printer leaves the defaults.
    ASSERT_EQ(pdehost({"--queue", "rx8240", "restore", "defaults"}).exitCode, 0);
    const std::string listed = tool("lpoptions", {"-p", "rx8240"}).out.toStdString();
    EXPECT_THAT(listed, HasSubstr("QVQuickColor=Vivid"));
    EXPECT_THAT(listed, HasSubstr("QVImageDestinationProfileCustom=False"));
    EXPECT_THAT(listed, Not(HasSubstr("QVImageDestinationProfileCustomFilename")));

    // An instance is a destination of its own, until it is removed.
    ASSERT_EQ(pdehost({"--queue", "rx8240", "restore", "set", "menu_QuickColor=2", "instance", "Proof"}).exitCode, 0);
    HostRun proof = pdehost({"--queue", "rx8240/Proof", "restore", "summary"});
    EXPECT_EQ(pairs(proof.lines, QLatin1Char('\t')).value("Quick Color"), QStringLiteral("Photo"));
    auto listsProof = [] { return pdehost::DestList().find("rx8240", "Proof") != nullptr; };
    EXPECT_TRUE(listsProof());
    ASSERT_EQ(pdehost({"--queue", "rx8240", "instance-remove", "Proof"}).exitCode, 0);
    EXPECT_FALSE(listsProof());
}

// The server's defaults are the queue's PPD defaults, which every user
// without defaults of their own then sees.
TEST_F(CupsQueue, SystemDefaultsChangeTheQueuesPpdDefaults)
{
    HostRun r = pdehost({"--queue", "rx8240sys", "restore", "set", "menu_QuickColor=2", "system-defaults"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    HostRun again = pdehost({"--queue", "rx8240sys", "restore", "summary"});
    EXPECT_EQ(pairs(again.lines, QLatin1Char('\t')).value("Quick Color"), QStringLiteral("Photo"));
    EXPECT_THAT(tool("lpoptions", {"-p", "rx8240sys"}).out.toStdString(), Not(HasSubstr("QVQuickColor")));
}

// The user's list offers one destination profile from the printer's disk.
void writeListWithOneDestinationProfile()
{
    ProfileList lists[3] = {};
    ProfileListItem& item = lists[kClassDST].litem[lists[kClassDST].iNum++];
    item.iIndexOnDevice = 1;
    item.iInMenu = kStateDeviceShownConfirmed;
    item.iProfileClass = 2;
    std::strcpy(item.FileName, "PROOF.ICC");
    std::strcpy(item.ProfileName, "Proof");
    item.iLocation = kLocationDisk;
    const std::string path = QVPListLoginPath(kListCurrent);
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path;
    f.write(QByteArray::fromStdString(QVPListBuildFileText(&lists[0], &lists[1], &lists[2])));
}

TEST_F(CupsQueue, AProfileFromThePrinterTravelsAsItsEntries)
{
    writeListWithOneDestinationProfile();
    // Custom, then the Image menu's first profile after its three PPD choices.
    HostRun r = pdehost({"--queue", "rx8240", "restore", "set", "menu_QuickColor=3", "set",
                         "menu_iDestinationProfile=3", "defaults"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const std::string listed = tool("lpoptions", {"-p", "rx8240"}).out.toStdString();
    EXPECT_THAT(listed, HasSubstr("QVImageDestinationProfileCustom=True"));
    EXPECT_THAT(listed, HasSubstr("QVImageDestinationProfileCustomFilename="));
    const auto attrs = server->jobAttributes(lpJob(QStringLiteral("rx8240"), writeDocument("profile.ps")));
    const char* flag = "QVImageDestinationProfileCustom";
    EXPECT_EQ(attrs.count(flag) ? attrs.at(flag) : "", "true");
    EXPECT_EQ(attrs.count("QVImageDestinationProfileCustomFilename"), 1u);
    HostRun again = pdehost({"--queue", "rx8240", "restore", "summary"});
    EXPECT_THAT(pairs(again.lines, QLatin1Char('\t')).value("Image Destination Profile").toStdString(),
                HasSubstr("PROOF.ICC"));
}

// A profile left out at one layer of a queue's defaults leaves the jobs and
// the next session, whichever layer chose it before: the queue's own
// (system-defaults) or the user's (defaults; root's are the system-wide
// lpoptions).
TEST_F(CupsQueue, AProfileLeftOutAtALayerLeavesEveryJob)
{
    writeListWithOneDestinationProfile();
    const QStringList profile{"restore", "set", "menu_QuickColor=3", "set", "menu_iDestinationProfile=3"};
    const QStringList none{"restore", "set", "menu_QuickColor=3", "set", "menu_iDestinationProfile=0"};
    struct Case {
        const char* queue;
        const char* first;
        const char* then;
    };
    for (const Case& c : {Case{"layers1", "system-defaults", "system-defaults"},
                          Case{"layers2", "system-defaults", "defaults"}, Case{"layers3", "defaults", "defaults"}}) {
        const std::string how = std::string(c.first) + " with a profile, then " + c.then + " without";
        std::string problem;
        ASSERT_TRUE(server->addQueue(c.queue, installedPpd().toStdString(), "file:/dev/null", &problem)) << problem;
        const QStringList queue{"--queue", c.queue};
        HostRun chose = pdehost(queue + profile + QStringList{c.first});
        ASSERT_EQ(chose.exitCode, 0) << how << chose.err.toStdString();
        HostRun dropped = pdehost(queue + none + QStringList{c.then});
        ASSERT_EQ(dropped.exitCode, 0) << how << dropped.err.toStdString();

        const auto attrs = server->jobAttributes(lpJob(QString::fromLatin1(c.queue), writeDocument("layers.ps")));
        const char* flag = "QVImageDestinationProfileCustom";
        EXPECT_NE(attrs.count(flag) ? attrs.at(flag) : "", "true") << how;
        HostRun again = pdehost(queue + QStringList{"restore", "summary"});
        EXPECT_THAT(pairs(again.lines, QLatin1Char('\t')).value("Image Destination Profile").toStdString(),
                    Not(HasSubstr("PROOF.ICC")))
            << how;
        QFile::remove(testRoot() + QStringLiteral("/home/.cups/lpoptions"));
        QFile::remove(testRoot() + QStringLiteral("/client/lpoptions"));
    }
}

TEST_F(CupsQueue, FailuresAreReported)
{
    const QString document = writeDocument(QStringLiteral("fail.ps"));
    const QString ppd = installedPpd();
    struct Case {
        QStringList args;
        const char* message;
    };
    const Case cases[] = {
        {{"--queue", "nosuchqueue", "keys"}, "has no queue \"nosuchqueue\""},
        {{"--queue", "rawqueue", "keys"}, "has no PPD"},
        {{"--queue", "a#b", "keys"}, "is not a queue name"},
        {{"--queue", "rx8240/nosuch", "keys"}, "has no instance \"nosuch\""},
        {{"--queue", "rx8240", "instance", "a/b"}, "cannot name an instance"},
        {{"--queue", "rx8240/a b", "keys"}, "cannot name an instance of queue \"rx8240\""},
        {{"--queue", "rx8240/a/b", "keys"}, "cannot name an instance of queue \"rx8240\""},
        {{"--queue", "rx8240/", "keys"}, "cannot name an instance of queue \"rx8240\""},
        {{"--queue", "rx8240", "instance-remove", "nosuch"}, "has no instance"},
        {{"--ppd", ppd, "defaults"}, "needs a CUPS queue"},
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
    // A scheduler that is not there, and one that lets only its
    // administrator change a queue. Without a terminal (a session of its
    // own) libcups cannot ask for a password.
    struct Refusal {
        const char* variable;
        const char* value;
        QStringList args;
        const char* message;
    };
    for (const Refusal& c :
         {Refusal{"CUPS_SERVER", "127.0.0.1:1", {"--queue", "rx8240", "keys"},
                  "cannot ask the CUPS server 127.0.0.1:1 for queue \"rx8240\": it does not answer"},
          Refusal{"CUPS_USER", "nobody", {"--queue", "rx8240sys", "restore", "system-defaults"},
                  "not allowed to change the defaults of queue \"rx8240sys\""}}) {
        QProcess p;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QString::fromLatin1(c.variable), QString::fromLatin1(c.value));
        p.setProcessEnvironment(e);
        p.setChildProcessModifier([] { ::setsid(); });
        p.start(env("RX_BINARY_DIR") + QStringLiteral("/bin/pdehost"), c.args);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_NE(p.exitCode(), 0) << c.message;
        const QByteArray err = p.readAllStandardError();
        EXPECT_TRUE(err.contains(c.message)) << err.toStdString();
    }
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

TEST_F(CupsDialog, PrintSubmitsTheChoicesAndLeavesTheDefaults)
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

    // Printing leaves the user's defaults alone: the next dialog opens with them.
    pdehost::PrintDialog next(setup());
    ASSERT_NE(next.host(), nullptr);
    EXPECT_EQ(next.findChild<QComboBox*>(QStringLiteral("menu_QuickColor"))->currentIndex(), 0);
}

// The settings application: its buttons, driven as a user would, write the
// same defaults as pdehost's actions; a printer without the panel's options
// says so.
TEST_F(CupsDialog, SettingsButtonsSaveTheDefaultsAndOtherPrintersSaySo)
{
    pdehost::PrintDialog dialog(setup());
    ASSERT_NE(dialog.host(), nullptr) << dialog.message().toStdString();
    choose(dialog.findChild<QComboBox*>(QStringLiteral("menu_QuickColor")), 2);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("defaultsButton")), Qt::LeftButton);
    const std::string listed = tool("lpoptions", {"-p", "rx8240"}).out.toStdString();
    for (const auto& [name, value] : kPhoto)
        EXPECT_THAT(listed, HasSubstr(std::string(name) + '=' + value)) << dialog.message().toStdString();

    QTimer::singleShot(0, &dialog, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* ask = qobject_cast<QInputDialog*>(w); ask && ask->isVisible()) {
                ask->setTextValue(QStringLiteral("Photo-Proof"));
                ask->accept();
            }
    });
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("presetButton")), Qt::LeftButton);
    EXPECT_NE(pdehost::DestList().find("rx8240", "Photo-Proof"), nullptr) << dialog.message().toStdString();
    dialog.show();
    EXPECT_TRUE(dialog.grab().save(testRoot() + QStringLiteral("/settings-window.png"), "PNG"));

    QComboBox* chooser = dialog.printerChooser();
    chooser->setCurrentIndex(chooser->findText(QStringLiteral("otherppd")));
    EXPECT_EQ(dialog.message(), QStringLiteral("This printer has no Color Options"));
    EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("defaultsButton"))->isEnabled());
    EXPECT_TRUE(dialog.grab().save(testRoot() + QStringLiteral("/no-color-options.png"), "PNG"));
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

    // A server that does not answer is not a server without queues.
    QProcess silent;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("CUPS_SERVER"), QStringLiteral("127.0.0.1:1"));
    silent.setProcessEnvironment(e);
    silent.start(env("RX_BINARY_DIR") + QStringLiteral("/bin/pdehost"), {"gui", "--screenshot", png});
    ASSERT_TRUE(silent.waitForFinished(60000));
    EXPECT_THAT(silent.readAllStandardOutput().toStdString(), HasSubstr("127.0.0.1:1 does not answer"));

    // Without a display and without --screenshot nobody could answer it.
    HostRun headless = pdehost({"--queue", "rx8240", "gui"});
    EXPECT_EQ(headless.exitCode, 2);
    EXPECT_TRUE(headless.err.contains("needs a display"));
}

}  // namespace
