// pdehost end to end: the real plug-in bundle loaded through the extension
// protocol and driven by scripted actions.
#include "tests/support/PdehostRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using rxtest::HostRun;
using rxtest::pairs;
using ::testing::HasSubstr;

HostRun pdehost(QStringList args, const QString& bundle = QString())
{
    QStringList full = {QStringLiteral("--ppd"), rxtest::fixturePpd()};
    if (!bundle.isEmpty())
        full << QStringLiteral("--bundle") << bundle;
    return rxtest::runPdehost(full << args);
}

TEST(Pdehost, KeysListAdvancedThenBasic)
{
    HostRun r = pdehost({"keys"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(r.lines.size(), 28);
    EXPECT_EQ(r.lines[0], QStringLiteral("QVImageRGBSource"));
    EXPECT_EQ(r.lines[20], QStringLiteral("QVSimGrayTreatment"));
    EXPECT_EQ(r.lines.mid(21), (QStringList{"QVQuickColor", "QVBrightness", "QVColorAsGray", "QVColorSeparation",
                                            "QVEconoMode", "QVEdgeType", "QVGlossyMode"}));
}

TEST(Pdehost, SummaryShowsAdvancedControlsOnlyUnderCustom)
{
    HostRun custom = pdehost({"restore", "set", "menu_QuickColor=3", "set", "menu_iHalftone=0", "summary"});
    ASSERT_EQ(custom.exitCode, 0) << custom.err.toStdString();
    auto c = pairs(custom.lines, QLatin1Char('\t'));
    EXPECT_EQ(c.value("Quick Color"), QStringLiteral("Custom"));
    EXPECT_EQ(c.value("Image Halftone"), QStringLiteral("Detail"));

    HostRun preset = pdehost({"restore", "set", "menu_QuickColor=0", "summary"});
    ASSERT_EQ(preset.exitCode, 0) << preset.err.toStdString();
    auto p = pairs(preset.lines, QLatin1Char('\t'));
    EXPECT_EQ(p.value("Quick Color"), QStringLiteral("Standard"));
    EXPECT_EQ(p.value("Text Halftone"), QStringLiteral("Stochastic"));
    EXPECT_EQ(p.value("Text RGB Intent"), QStringLiteral("Saturation"));
    EXPECT_EQ(preset.lines.size(), 7 + 21);
}

// The PPD's choice texts in the user's language: pdehost localises the
// generated PPD before the panel reads its choices.
TEST(Pdehost, ChoicesShowInTheUsersLanguage)
{
    struct Case {
        const char* lang;
        const char* quickColor;  // the summary's name of Quick Color
        const char* photo;
        const char* off;
    };
    const Case cases[] = {{"de_DE.UTF-8", "Schnellfarbe", "Foto", "Aus"},
                          {"fr_FR.UTF-8", "Couleur rapide", "Photo", "Désactivé"},
                          {"C", "Quick Color", "Photo", "Off"}};
    for (const Case& c : cases) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        env.remove(QStringLiteral("LANGUAGE"));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(c.lang));
        p.setProcessEnvironment(env);
        p.start(rxtest::envText("RX_BINARY_DIR") + QStringLiteral("/bin/pdehost"),
                {"--ppd", rxtest::envText("RX_BUNDLE_DIR") + QStringLiteral("/Resources/rx8240.ppd"), "restore", "set",
                 "menu_QuickColor=2", "summary"});
        ASSERT_TRUE(p.waitForFinished(60000));
        const auto summary = pairs(QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n')),
                                   QLatin1Char('\t'));
        ASSERT_TRUE(summary.contains(QString::fromUtf8(c.quickColor)))
            << c.lang << ": " << QStringList(summary.keys()).join(QLatin1Char(',')).toStdString();
        EXPECT_EQ(summary.value(QString::fromUtf8(c.quickColor)).toStdString(), c.photo) << c.lang;
        EXPECT_THAT(summary.values().join(QLatin1Char('|')).toStdString(), HasSubstr(c.off)) << c.lang;
    }
}

TEST(Pdehost, GrayscaleDisablesTheColourMenus)
{
    HostRun r = pdehost({"restore", "set", "menu_QuickColor=3", "set", "check_ColorAsGrayscale=1", "state"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList disabled;
    for (const QString& l : r.lines) {
        const QStringList f = l.split(QLatin1Char('\t'));
        if (f.size() >= 3 && f[0].startsWith(QLatin1String("menu_")) && f[2] == QLatin1String("disabled"))
            disabled << f[0];
    }
    // Source, intent, gray treatment and destination of each object type,
    // and the three simulation menus; never a halftone.
    for (const char* object : {"i", "t", "g"})
        for (const char* menu : {"RGBSource", "RGBIntent", "RGBGrayTreatment", "DestinationProfile"})
            EXPECT_TRUE(disabled.contains(QStringLiteral("menu_%1%2").arg(object, menu))) << object << menu;
    for (const char* menu : {"menu_sSimulationProfile", "menu_sMatchPaperColor", "menu_sCMYKGrayTreatment"})
        EXPECT_TRUE(disabled.contains(menu)) << menu;
    for (const char* menu : {"menu_iHalftone", "menu_tHalftone", "menu_gHalftone"})
        EXPECT_FALSE(disabled.contains(menu)) << menu;
}

TEST(Pdehost, PrintCarriesThePresetsChoicesAndSettingsPersist)
{
    QTemporaryDir dir;
    const QString settings = dir.filePath("settings.plist");
    HostRun r = pdehost({"--settings", settings, "restore", "set", "menu_QuickColor=0", "print", "options"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    auto o = pairs(r.lines, QLatin1Char('='));
    EXPECT_EQ(o.value("QVQuickColor"), QString()) << "save was not asked for; only print's advanced values";
    EXPECT_EQ(o.value("QVTextHalftone"), QStringLiteral("Stochastic"));
    EXPECT_EQ(o.value("QVTextRenderIntent"), QStringLiteral("Saturation"));

    HostRun again = pdehost({"--settings", settings, "restore", "save", "options"});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    auto a = pairs(again.lines, QLatin1Char('='));
    EXPECT_EQ(a.value("QVTextHalftone"), QStringLiteral("Stochastic")) << "settings did not persist";
    EXPECT_EQ(a.value("QVQuickColor"), QStringLiteral("Standard"));
}

TEST(Pdehost, FailuresAreReportedNotIgnored)
{
    HostRun unknown = pdehost({"restore", "frobnicate"});
    EXPECT_NE(unknown.exitCode, 0);
    EXPECT_THAT(unknown.err.toStdString(), HasSubstr("frobnicate"));
    HostRun noControl = pdehost({"set", "menu_Nothing=1"});
    EXPECT_NE(noControl.exitCode, 0);
    EXPECT_THAT(noControl.err.toStdString(), HasSubstr("menu_Nothing"));
    HostRun badIndex = pdehost({"set", "menu_QuickColor=9"});
    EXPECT_NE(badIndex.exitCode, 0);
}

TEST(Pdehost, HelpListsTheActionsWithTheirArgumentsAndVersionNamesTheProgram)
{
    // As root's shell may run it: no runtime directory; only pdehost's own words.
    HostRun help = rxtest::runPdehost({"--help"}, 60000, {"XDG_RUNTIME_DIR"});
    ASSERT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_EQ(help.err.toStdString(), "");
    const std::string text = help.lines.join('\n').toStdString();
    for (const char* usage : {"usage: pdehost", "set NAME=VALUE", "screenshot FILE.png", "submit FILE", "printer",
                              "profiles-class 0|1|2", "profiles-window-ok"})
        EXPECT_THAT(text, HasSubstr(usage));
    HostRun version = rxtest::runPdehost({"--version"});
    ASSERT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_THAT(version.lines.join('\n').toStdString(), ::testing::MatchesRegex("pdehost [0-9]+\\.[0-9]+.*"));
}

TEST(Pdehost, ErrorsSayWhyAndAMistypedFolderIsNotCreated)
{
    QTemporaryDir dir;
    const auto file = [&](const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    const QString folder = dir.filePath("folder"), fifo = dir.filePath("fifo");
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QByteArray deep = "<plist>" + QByteArray("<array>").repeated(300) + QByteArray("</array>").repeated(300) +
                            "</plist>";
    const QString mistyped = dir.filePath("no/such/folder/settings.plist");
    const struct {
        QString settings;
        const char* reason;
    } cases[] = {
        {folder, "Is a directory"},
        {fifo, "not a regular file"},
        {"/dev/zero", "not a regular file"},
        {file("binary.plist", "bplist00\xD1\x01\x02"), "a binary property list"},
        {file("array.plist", "<plist><array/></plist>"), "its root is not a dictionary"},
        {file("empty.plist", ""), "an empty file"},
        {file("deep.plist", deep), "nested deeper than 256 levels"},
        {mistyped, "no folder"},
    };
    for (const auto& c : cases) {
        HostRun r = pdehost({"--settings", c.settings, "restore", "save"});
        EXPECT_EQ(r.exitCode, 1) << c.reason;
        EXPECT_THAT(r.err.toStdString(), HasSubstr(c.reason));
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("no")));

    HostRun ppd = rxtest::runPdehost({"--ppd", folder, "keys"});
    EXPECT_EQ(ppd.exitCode, 1);
    EXPECT_THAT(ppd.err.toStdString(), HasSubstr("Is a directory"));
    HostRun relative = pdehost({"keys"}, QDir::current().relativeFilePath(rxtest::envText("RX_BUNDLE_DIR")));
    EXPECT_EQ(relative.exitCode, 0) << relative.err.toStdString();
}

TEST(Pdehost, BundleWithoutUiDescriptionGivesNoViewButAnswers)
{
    QTemporaryDir dir;
    const QString built = rxtest::envText("RX_BUNDLE_DIR");
    ASSERT_TRUE(QFile::copy(built + "/libColorOptionsPDE.so", dir.filePath("libColorOptionsPDE.so")));
    HostRun r = pdehost({"restore", "save", "summary", "keys"}, dir.path());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.lines.isEmpty());
    HostRun view = pdehost({"view"}, dir.path());
    EXPECT_NE(view.exitCode, 0);
}

TEST(Pdehost, ScreenshotOfThePanel)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("panel.png");
    HostRun r = pdehost({"restore", "screenshot", png});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(png);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(8).startsWith("\x89PNG"));
}

}  // namespace
