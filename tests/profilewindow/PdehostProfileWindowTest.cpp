// The profile management window end to end: pdehost loads the real plug-in
// bundle, opens the window with the panel's button and drives it as a user;
// the plug-in writes through the real launcher and service under a private
// root, and the advanced view's menus show the written list.
#include "ServiceFixture.h"
#include "tests/support/PdehostRun.h"

#include "platform/FixedPaths.h"
#include "profilelist/ProfileList.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QStringList>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

using rxtest::HostRun;

HostRun pdehost(const QString& deviceUri, const QStringList& actions)
{
    return rxtest::runPdehost(QStringList{QStringLiteral("--ppd"), rxtest::fixturePpd(), QStringLiteral("--device-uri"),
                                          deviceUri}
                                  << actions,
                              120000);
}

// Lines of `lines` whose first tab-separated field is `key`, split.
QStringList field(const QStringList& lines, const QString& key)
{
    for (const QString& l : lines)
        if (l.section(QLatin1Char('\t'), 0, 0) == key)
            return l.split(QLatin1Char('\t'));
    return {};
}

ProfileListItem entry(int32_t code, const char* file, const char* name, int32_t location)
{
    ProfileListItem item;
    std::memset(&item, 0, sizeof item);
    item.iIndexOnDevice = 1;
    item.iInMenu = code;
    item.iProfileClass = 1;
    std::strncpy(item.FileName, file, kProfileNameFieldSize - 1);
    std::strncpy(item.ProfileName, name, kProfileNameFieldSize - 1);
    item.iLocation = location;
    return item;
}

class PdehostWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        service.start({RX_SERVICE_BINARY, {}});
        std::memset(lists, 0, sizeof lists);
    }
    void addEntry(int classIndex, const ProfileListItem& item) { lists[classIndex].litem[lists[classIndex].iNum++] = item; }
    // Through the launcher and the service, as the plug-in writes.
    void writeLists() { ASSERT_EQ(QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), 0); }
    ProfileList readBack(int classIndex)
    {
        ProfileList l[3];
        std::memset(l, 0, sizeof l);
        EXPECT_EQ(QVPListReadProfileFile_All(QVPListLoginPath(kListCurrent), &l[0], &l[1], &l[2]), 0);
        return l[classIndex];
    }
    std::string profileFile(const char* name)
    {
        const fs::path dir = rx::fixedPath(rx::kProfilesFolder);
        fs::create_directories(dir);
        rxtest::writeFile((dir / name).string(), "profile");
        return (dir / name).string();
    }

    rxtest::ServiceUnderRoot service;
    ProfileList lists[3];
};

TEST_F(PdehostWindow, EditsWriteThroughTheServiceAndTheMenusFollow)
{
    // The icon of confirmed entries, an .icns file read through Qt's image plugins.
    const std::string icon = rx::fixedPath(rx::kProfileIconPath);
    fs::create_directories(fs::path(icon).parent_path());
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::darkGreen);
    QImageWriter writer(QString::fromStdString(icon), "icns");
    ASSERT_TRUE(writer.write(image)) << writer.errorString().toStdString();

    addEntry(kClassRGB, entry(4, "P1.ICC", "one", kLocationDisk));
    addEntry(kClassRGB, entry(4, "P2.ICC", "two", kLocationDisk));
    addEntry(kClassRGB, entry(6, "P3.ICC", "three", kLocationCard));
    writeLists();

    // Image RGB source: four PPD choices, then the profiles; P2 is item 5.
    // A DNS-SD queue: the icon column shows, and discovery (no resolver
    // answers here) leaves the file as written.
    HostRun r = pdehost("dnssd://Office%20Printer._pdl-datastream._tcp.local./",
                        {"restore", "set", "menu_QuickColor=3", "set", "menu_iRGBSource=5", "profiles", "profiles-rows",
                         "profiles-toggle", "0", "profiles-class", "2", "profiles-add", "profiles-filename", "NEW.ICC",
                         "profiles-name", "New one", "profiles-location", "1", "profiles-ok", "profiles-rows",
                         "profiles-window-ok", "state"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.toStdString(), "") << "a headless window prints no notes of Qt's platform";
    EXPECT_EQ(field(r.lines, "0"), (QStringList{"0", "icon", "P1.ICC", "one", "Disk", "1"}));
    EXPECT_EQ(field(r.lines, "2"), (QStringList{"2", "-", "P3.ICC", "three", "Card", "1"}));
    EXPECT_TRUE(r.lines.contains(QStringLiteral("0\t-\tNEW.ICC\tNew one\tCard\t1"))) << r.lines.join("\n").toStdString();

    const QStringList source = field(r.lines, "menu_iRGBSource");
    ASSERT_EQ(source.size(), 4);
    EXPECT_EQ(source[3].split('|').mid(4), (QStringList{"P2.ICC(two)Disk", "P3.ICC(three)Card"}));
    EXPECT_EQ(source[1], QStringLiteral("4")) << "the selection stays on P2";
    EXPECT_TRUE(field(r.lines, "menu_iDestinationProfile").value(3).endsWith("|NEW.ICC(New one)Card"));

    const ProfileList rgb = readBack(kClassRGB);
    ASSERT_EQ(rgb.iNum, 3);
    EXPECT_EQ(rgb.litem[0].iInMenu, 2);
    const ProfileList dst = readBack(kClassDST);
    ASSERT_EQ(dst.iNum, 1);
    EXPECT_STREQ(dst.litem[0].FileName, "NEW.ICC");
    EXPECT_EQ(dst.litem[0].iInMenu, 6);
    EXPECT_EQ(dst.litem[0].iIndexOnDevice, 500);
}

TEST_F(PdehostWindow, BrowseRefusesNamesTheFieldWouldRefuseAndCancelWritesNothing)
{
    addEntry(kClassRGB, entry(6, "KEEP.ICC", "keep", kLocationDisk));
    writeLists();
    const std::string before = rxtest::readFile(QVPListLoginPath(kListCurrent));
    const QString tooLong = QString::fromStdString(profileFile("ABCDEFGHI.ICC"));
    const QString twoDots = QString::fromStdString(profileFile("A.B.ICC"));
    const QString good = QString::fromStdString(profileFile("GOOD.ICC"));

    HostRun r = pdehost("lpd://127.0.0.1/q", {"profiles", "profiles-add", "profiles-browse", tooLong, "profiles-state",
                                              "profiles-browse", twoDots, "profiles-state", "profiles-browse", good,
                                              "profiles-state", "profiles-ok", "profiles-rows", "profiles-window-cancel"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QList<QStringList> fileField, ok;
    for (const QString& l : r.lines) {
        if (l.startsWith("_fileNameEdit\t"))
            fileField << l.split('\t');
        if (l.startsWith("_localOK\t"))
            ok << l.split('\t');
    }
    ASSERT_EQ(fileField.size(), 3);
    ASSERT_EQ(ok.size(), 3);
    for (int i : {0, 1}) {
        EXPECT_EQ(fileField[i].value(2), QString()) << i;
        EXPECT_EQ(ok[i].value(1), QStringLiteral("disabled")) << i;
    }
    EXPECT_EQ(fileField[2].value(2), QStringLiteral("GOOD.ICC"));
    EXPECT_EQ(ok[2].value(1), QStringLiteral("enabled"));
    EXPECT_TRUE(r.lines.contains(QStringLiteral("1\t-\tGOOD.ICC\t\tDisk\t1")));
    EXPECT_EQ(rxtest::readFile(QVPListLoginPath(kListCurrent)), before) << "Cancel writes nothing";
}

TEST_F(PdehostWindow, UsbQueueRemovesTheDeletedEntryAndKeepsHiddenOnes)
{
    addEntry(kClassSIM, entry(2, "HIDDEN.ICC", "hidden", kLocationDisk));
    addEntry(kClassSIM, entry(6, "GONE.ICC", "gone", kLocationDisk));
    addEntry(kClassSIM, entry(3, "STAY.ICC", "stay", kLocationCard));
    writeLists();
    HostRun r = pdehost("usb://TARNVALE/rx8240?serial=42",
                        {"profiles", "profiles-class", "1", "profiles-rows", "profiles-select", "0", "profiles-delete",
                         "profiles-window-ok"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.lines, (QStringList{"0\t-\tGONE.ICC\tgone\tDisk\t1", "1\t-\tSTAY.ICC\tstay\tCard\t1"}))
        << "no icons and no code-2 entries over usb";
    const ProfileList sim = readBack(kClassSIM);
    QStringList names;
    for (int i = 0; i < sim.iNum; ++i)
        names << QString::fromUtf8(sim.litem[i].FileName);
    names.sort();
    EXPECT_EQ(names, (QStringList{"HIDDEN.ICC", "STAY.ICC"}));
}

TEST_F(PdehostWindow, ScreenshotOfTheOpenWindow)
{
    addEntry(kClassRGB, entry(4, "OFFICE.ICC", "Office", kLocationDisk));
    addEntry(kClassRGB, entry(6, "PROOF.ICC", "Proof", kLocationCard));
    writeLists();
    const QString png = QString::fromStdString(service.root()) + QStringLiteral("/window.png");
    HostRun r = pdehost("lpd://127.0.0.1/q", {"profiles", "profiles-select", "1", "screenshot", png});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QImage shot(png);
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(shot.width(), 400);
}

TEST_F(PdehostWindow, WithoutTheLauncherTheButtonIsDisabledAndTheOthersAreNot)
{
    fs::remove(rx::fixedPath(rx::kLauncherPath));
    HostRun state = pdehost("lpd://127.0.0.1/q", {"view", "state"});
    ASSERT_EQ(state.exitCode, 0) << state.err.toStdString();
    EXPECT_EQ(field(state.lines, "button_ManageProfile").value(2), QStringLiteral("disabled"));
    EXPECT_EQ(field(state.lines, "button_DownloadManager").value(2), QStringLiteral("enabled"));
    EXPECT_EQ(field(state.lines, "button_HideAdvancedOptions").value(2), QStringLiteral("enabled"));
    HostRun open = pdehost("lpd://127.0.0.1/q", {"profiles", "profiles-rows"});
    EXPECT_NE(open.exitCode, 0);
    EXPECT_TRUE(open.err.contains("button_ManageProfile is disabled")) << open.err.toStdString();
}

TEST_F(PdehostWindow, WindowActionsNeedTheWindowAndEnabledControls)
{
    writeLists();
    HostRun closed = pdehost("lpd://127.0.0.1/q", {"profiles-rows"});
    EXPECT_NE(closed.exitCode, 0);
    EXPECT_TRUE(closed.err.contains("not open"));
    HostRun disabled = pdehost("lpd://127.0.0.1/q", {"profiles", "profiles-edit"});
    EXPECT_NE(disabled.exitCode, 0);
    EXPECT_TRUE(disabled.err.contains("_editButton is disabled")) << disabled.err.toStdString();
    HostRun noRow = pdehost("lpd://127.0.0.1/q", {"profiles", "profiles-select", "3"});
    EXPECT_NE(noRow.exitCode, 0);
}

TEST_F(PdehostWindow, EveryActionRunsInsideTheWindowsSession)
{
    addEntry(kClassRGB, entry(4, "P1.ICC", "one", kLocationDisk));
    writeLists();
    HostRun r = pdehost("lpd://127.0.0.1/q", {"profiles", "printer", "options", "profiles-rows"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_FALSE(r.lines.isEmpty());
    EXPECT_EQ(r.lines.first(), QStringLiteral("rx8240\tlpd://127.0.0.1/q"));
    EXPECT_TRUE(r.lines.last().contains(QStringLiteral("P1.ICC"))) << r.lines.join('\n').toStdString();
}

}  // namespace
