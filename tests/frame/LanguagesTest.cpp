// The panel and the profile window in each language the bundle ships: every
// key they show has a text in that language's own table, and a screenshot of
// each (in the test root's screenshots folder) shows it.
#include "../options/PanelFixture.h"

#include "plugin/frame/PDEPlugIn.h"
#include "plugin/frame/PDEPlugInInterface.h"
#include "plugin/frame/PainChangeController.h"
#include "plugin/profilewindow/ProfileControl.h"
#include "profilelist/ProfileList.h"
#include "profilelist/ServicePaths.h"

#include <gmock/gmock.h>

#include <QDialog>
#include <QDir>
#include <filesystem>

using namespace testsupport;
using ::testing::IsEmpty;

namespace {

// Saves a picture of the widget; false when nothing could be written.
bool screenshot(QWidget* widget, const QString& name)
{
    const QString dir = QString::fromStdString(env("RX_TEST_ROOT")) + QStringLiteral("/screenshots");
    QDir().mkpath(dir);
    return widget->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

class Languages : public ::testing::TestWithParam<const char*> {};

TEST_P(Languages, EveryKeyShownHasTextInTheLanguagesTable)
{
    const QString language = QString::fromLatin1(GetParam());
    rx::Bundle* bundle = useBuildBundle();
    ASSERT_TRUE(bundle->setLanguage(language));
    HostCallback callback("rx8240.ppd", "lpd://127.0.0.1/rx8240");
    pde::PDEPlugInInterface panel(&callback);
    QWidget* view = panel.panelView();
    ASSERT_TRUE(view);
    EXPECT_FALSE(panel.panelName().isEmpty());
    panel.restoreValuesAndReturnError(nullptr);
    panel.colorView()->menu_QuickColor->setCurrentIndex(3);
    panel.summaryInfo();
    view->resize(640, 480);
    view->show();
    EXPECT_TRUE(screenshot(view, language + QStringLiteral("-basic-view")));
    panel.viewSwitch()->SHowColorToAdvancedView();
    EXPECT_TRUE(screenshot(view, language + QStringLiteral("-advanced-view")));

    auto* control = panel.findChild<pde::ProfileControl*>();
    ASSERT_TRUE(control && control->initWithProfileControl());
    QDialog* window = control->window();
    window->show();
    EXPECT_NE(window->windowTitle(), QStringLiteral("ProfileTitle"));
    // The message of a list file that cannot be written.
    ASSERT_TRUE(QVPListSetServicePaths("tester", "rx8240"));
    std::filesystem::create_directories(QVPListCurrentPath());
    control->profileWindowOK();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(screenshot(window, language + QStringLiteral("-profile-window")));
    std::filesystem::remove(QVPListCurrentPath());

    EXPECT_THAT(bundle->untranslatedKeys(), IsEmpty()) << language.toStdString();
    panel.terminate();
}

INSTANTIATE_TEST_SUITE_P(Bundle, Languages, ::testing::Values("en", "de", "fr", "ja"));

}  // namespace
