// The panel's profile hooks with the plug-in's real service calls: every
// view request probes and, when the list is writable, discovers; the
// profile management button follows the probe when the table is built.
#include "../options/PanelFixture.h"

#include "platform/FixedPaths.h"
#include "plugin/frame/PDEPlugIn.h"
#include "plugin/frame/PDEPlugInInterface.h"
#include "profilelist/LauncherCalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace testsupport;

namespace {

class ProfileHooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        factory.initWithBundle(QString::fromStdString(env("RX_BUNDLE_DIR")));
        useBuildBundle();
        launcher = QString::fromStdString(rx::fixedPath(rx::kLauncherPath));
        log = QString::fromStdString(rx::rootPrefix()) + "/hooks-launcher.log";
        QFile::remove(log);
        QFile::remove(launcher);
    }
    void TearDown() override { QFile::remove(launcher); }

    // A stand-in launcher that records its commands and answers `reply`.
    void installLauncher(const char* reply)
    {
        QDir().mkpath(QFileInfo(launcher).path());
        QFile script(launcher);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\necho \"$1=%2\"\n").arg(log, reply).toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QStringList commands() const
    {
        QFile f(log);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    std::unique_ptr<pde::PDEPlugInInterface> newPanel()
    {
        auto panels = factory.PDEPanelsForType(QString::fromLatin1(rx::kPrinterModulePanelType), &callback);
        return std::unique_ptr<pde::PDEPlugInInterface>(static_cast<pde::PDEPlugInInterface*>(panels->front().release()));
    }

    pde::PDEPlugIn factory;
    HostCallback callback{"rx8240.ppd", "lpd://127.0.0.1/queue"};
    QString launcher, log;
};

TEST_F(ProfileHooks, EveryViewRequestProbesAndDiscoversWithoutReloading)
{
    installLauncher("TRUE");
    auto panel = newPanel();
    QWidget* view = panel->panelView();
    ASSERT_TRUE(view);
    // Loading probes once for the button, the view request once more, then
    // discovery: probe and backup, then the walk.
    EXPECT_EQ(commands(), (QStringList{"qvPListIsAdminProfile_XPC", "qvPListIsAdminProfile_XPC",
                                       "qvPListIsAdminProfile_XPC", "qvPListSwapProfile_XPC", "mibwalk_XPC"}));
    EXPECT_TRUE(panel->advancedView()->button_ManageProfile->isEnabled());

    QFile::remove(log);
    pde::PDEControlItem* table = panel->compoundTable();
    EXPECT_EQ(panel->panelView(), view);
    EXPECT_EQ(panel->compoundTable(), table);
    EXPECT_EQ(commands(), (QStringList{"qvPListIsAdminProfile_XPC", "qvPListIsAdminProfile_XPC",
                                       "qvPListSwapProfile_XPC", "mibwalk_XPC"}));
}

TEST_F(ProfileHooks, RefusedProbeMeansNoDiscoveryAndNoManagement)
{
    installLauncher("FALSE");
    auto panel = newPanel();
    ASSERT_TRUE(panel->panelView());
    EXPECT_EQ(commands(), (QStringList{"qvPListIsAdminProfile_XPC", "qvPListIsAdminProfile_XPC"}));
    EXPECT_FALSE(panel->advancedView()->button_ManageProfile->isEnabled());
}

TEST_F(ProfileHooks, WithoutLauncherTheViewStillComesAndOtherButtonsStayUsable)
{
    const size_t before = QVPListLauncherRuns();
    auto panel = newPanel();
    ASSERT_TRUE(panel->panelView());
    EXPECT_EQ(QVPListLauncherRuns(), before) << "a process was started without a launcher";
    EXPECT_FALSE(panel->advancedView()->button_ManageProfile->isEnabled());
    EXPECT_TRUE(panel->advancedView()->button_DownloadManager->isEnabled());
    EXPECT_TRUE(panel->advancedView()->button_HideAdvancedOptions->isEnabled());
}

}  // namespace
