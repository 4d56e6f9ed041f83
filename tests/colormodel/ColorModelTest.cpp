// The colour model against the panel it was taken from, and the PPD
// generated from it.
#include "PanelJob.h"

#include "colormodel/ColorRules.h"
#include "colormodel/PpdGenerator.h"
#include "colormodel/QuickColorPresets.h"
#include "filter/QueuePpd.h"
#include "platform/FixedPaths.h"
#include "plugin/options/ProfileMenus.h"
#include "profilelist/ProfileList.h"
#include "profilelist/ServicePaths.h"
#include "tests/support/Files.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cups/cups.h>
#include <filesystem>
#include <gmock/gmock.h>

using namespace testsupport;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

colormodel::OfferedOptions offeredBy(const std::string& path)
{
    std::string error;
    const auto ppd = colourfilter::QueuePpd::open(path.c_str(), &error);
    EXPECT_TRUE(ppd) << error;
    return ppd ? ppd->colorOptions() : colormodel::OfferedOptions{};
}

// The generated PPD, the hand-written one the panel's tests use (other
// defaults), one whose menus offer fewer choices than the presets name, one
// that lacks options and one whose defaults are odd (a default no choice
// matches, "TRUE" and "true" for Boolean options).
const std::string kPpds[] = {"generated", "rx8240.ppd", "rx8240-short.ppd", "rx8240-partial.ppd",
                             "rx8240-defaults.ppd"};

std::string ppdPath(const std::string& name)
{
    return name == "generated" ? generatedPpd() : envText("RX_SOURCE_DIR") + "/tests/fixtures/ppd/" + name;
}

TEST(ColorModel, GivesWhatThePanelSendsForEveryDialogJob)
{
    for (const std::string& name : kPpds) {
        const colormodel::OfferedOptions offered = offeredBy(ppdPath(name));
        ASSERT_FALSE(offered.empty()) << name;
        for (const DialogJob& job : dialogJobs()) {
            const colormodel::OptionValues panel = panelJobOptions(ppdPath(name), job.options);
            ASSERT_FALSE(panel.empty()) << name << ": the panel sent nothing for " << job.name;
            EXPECT_EQ(colormodel::jobColorOptions(offered, job.options), panel) << name << ": " << job.name;
            // A job the panel prepared is what the model wants already.
            EXPECT_EQ(colormodel::jobColorOptions(offered, panel), panel) << name << ": " << job.name;
        }
    }
}

// A printer-stored profile the job names (as the panel's own jobs, the
// user's defaults and instances carry it) is what the panel shows: it travels
// as the menu's first choice under Custom, whatever the option itself says,
// and gives way to a fixed preset.
TEST(ColorModel, AProfileTheJobNamesIsWhatThePanelShows)
{
    QDir().mkpath(QString::fromStdString(rx::fixedPath(rx::kProfileDirectory)));
    QV_PLIST_PROFILE_PATH = QVPListLoginPath(kListCurrent);
    ASSERT_FALSE(QV_PLIST_PROFILE_PATH.empty());
    auto lists = std::make_unique<ProfileList[]>(3);
    ProfileListItem& item = lists[kClassRGB].litem[lists[kClassRGB].iNum++];
    item.iIndexOnDevice = 1;
    item.iInMenu = 4;
    item.iProfileClass = 1;
    std::strncpy(item.FileName, "CAMRGB.ICC", sizeof item.FileName - 1);
    std::strncpy(item.ProfileName, "Camera RGB", sizeof item.ProfileName - 1);
    item.iLocation = kLocationDisk;
    ASSERT_EQ(QVPListWriteProfile_All(&lists[kClassRGB], &lists[kClassSIM], &lists[kClassDST]), 0);

    const colormodel::OfferedOptions offered = offeredBy(generatedPpd());
    for (const char* quickColor : {"UserDefined", "Standard", "Photo"}) {
        const colormodel::OptionValues job = {{"QVQuickColor", quickColor},
                                              {"QVImageRGBSource", "AdobeRGB"},
                                              {"QVImageRGBSourceCustom", "True"},
                                              {"QVImageRGBSourceCustomFilename",
                                               pde::encodeNibbleText(pde::profileDevicePath(item))}};
        const colormodel::OptionValues panel = panelJobOptions(generatedPpd(), job);
        EXPECT_EQ(colormodel::jobColorOptions(offered, job), panel) << quickColor;
        EXPECT_EQ(panel.at("QVImageRGBSource"), std::string(quickColor) == "UserDefined" ? "None" : "sRGB")
            << quickColor;
    }
    std::remove(QV_PLIST_PROFILE_PATH.c_str());
}

// The model applies the preset after the rules have settled EconoMode, as
// the panel does; a preset applied once before the rules would keep
// EconoMode's edge overrides although glossy turned EconoMode off.
TEST(ColorModel, PresetFollowsTheEconoModeTheRulesLeave)
{
    const auto out = colormodel::jobColorOptions(
        colormodel::modelOptions(), {{"QVQuickColor", "Photo"}, {"QVEconoMode", "True"}, {"QVGlossyMode", "True"}});
    EXPECT_EQ(out.at("QVEconoMode"), "False");
    EXPECT_EQ(out.at("QVImageEdgeEnhance"), "On");
    EXPECT_EQ(out.at("QVGraphicsEdgeEnhance"), "On");
}

// What makes the model's order (preset, then rules, until stable) equal to
// the panel's (rules, then preset): no rule that forces a value names an
// advanced option or Quick Color, so the preset never changes what a rule
// forces.
TEST(ColorModel, ForcingRulesReadAndWriteOnlyBasicCheckBoxes)
{
    for (int32_t r = 0; r < colormodel::cstColorOptionCount; ++r) {
        const colormodel::ConstraintRule& rule = colormodel::cstColorOption[r];
        if (rule.change.op != colormodel::kCstForceValue)
            continue;
        for (int k = -1; k < rule.conditionCount; ++k) {
            const char* name = k < 0 ? rule.target.name : rule.conditions[k].name;
            const int option = colormodel::findControlName(name);
            ASSERT_GE(option, 0) << "rule " << r << " names " << name;
            EXPECT_EQ(colormodel::kColorOptions[std::size_t(option)].kind, colormodel::OptionKind::Boolean)
                << "rule " << r << " names " << name;
        }
    }
}

TEST(ColorModel, PresetPositionsNameChoicesOfTheModel)
{
    for (int preset = 0; preset < colormodel::kPresetCount; ++preset)
        for (std::size_t i = 0; i < colormodel::kAdvancedOptionCount; ++i)
            EXPECT_LT(std::size_t(colormodel::presetPosition(preset, i)), colormodel::advancedOption(i).choices.size())
                << colormodel::advancedOption(i).keyword << " under preset " << preset;
}

// ---- The generated PPD ------------------------------------------------------

struct PpdCloser {
    void operator()(ppd_file_t* p) const { ppdClose(p); }
};

TEST(GeneratedPpd, DefaultsAreTheColourOptionsOfAJobWithNoOptions)
{
    const colormodel::OfferedOptions offered = offeredBy(generatedPpd());
    const colormodel::OptionValues defaultJob = colormodel::jobColorOptions(offered, {});
    ASSERT_EQ(defaultJob.size(), colormodel::kColorOptionCount);
    for (const auto& [keyword, choice] : defaultJob)
        EXPECT_EQ(offered.at(keyword).defaultChoice, choice) << keyword;
    EXPECT_EQ(defaultJob, panelJobOptions(generatedPpd(), {}));
    for (std::size_t i = 0; i < colormodel::kAdvancedOptionCount; ++i) {
        const colormodel::ColorOption& option = colormodel::advancedOption(i);
        EXPECT_EQ(offered.at(option.keyword).defaultChoice,
                  option.choices[std::size_t(colormodel::presetPosition(0, i))].keyword)
            << option.keyword << " is not at preset 0's position";
    }
}

TEST(GeneratedPpd, OneColourGroupWithTextsForPeople)
{
    std::unique_ptr<ppd_file_t, PpdCloser> ppd(ppdOpenFile(generatedPpd().c_str()));
    ASSERT_TRUE(ppd);
    ppd_group_t* group = nullptr;
    for (int g = 0; g < ppd->num_groups; ++g)
        if (std::string(ppd->groups[g].name) == "ColorPage")
            group = &ppd->groups[g];
    ASSERT_TRUE(group);
    EXPECT_EQ(group->num_options, int(colormodel::kColorOptionCount));
    for (const char* keyword : {"QVEdgeType", "QVGlossyMode", "QVEconoMode", "QVImageEdgeEnhance"}) {
        const ppd_option_t* option = ppdFindOption(ppd.get(), keyword);
        ASSERT_TRUE(option) << keyword;
        EXPECT_THAT(option->text, HasSubstr(" ")) << keyword;
    }
    EXPECT_STREQ(ppdFindAttr(ppd.get(), "cupsLanguages", nullptr)->value, "de fr ja");
}

// Every group, option and choice in German, French and Japanese: the
// translation strings exist, and cupstestppd, which checks them all, finds
// nothing to warn about (with the filter where the PPD names it).
TEST(GeneratedPpd, SpeaksEveryLanguageOfThePanelAndPassesCupstestppd)
{
    // libcups keeps only the translations of the process's language, so the
    // lines are looked for in the file.
    const std::string text = rxtest::readFile(generatedPpd());
    auto hasText = [&text](const std::string& key) {
        const std::size_t at = text.find("\n*" + key + "/");
        return at != std::string::npos && text.compare(at + key.size() + 3, 3, ": \"") != 0;
    };
    for (const char* language : {"de", "fr", "ja"}) {
        const std::string ll = language;
        EXPECT_TRUE(hasText(ll + ".Translation ColorPage")) << ll;
        for (const colormodel::ColorOption& option : colormodel::kColorOptions) {
            EXPECT_TRUE(hasText(ll + ".Translation " + option.keyword)) << ll << " " << option.keyword;
            for (const colormodel::ColorChoice& choice : option.choices)
                EXPECT_TRUE(hasText(ll + "." + option.keyword + " " + choice.keyword))
                    << ll << " " << option.keyword << " " << choice.keyword;
        }
    }

    QTemporaryDir root;
    const std::string filterDir = root.path().toStdString() + "/usr/lib/cups/filter";
    std::filesystem::create_directories(filterDir);
    std::filesystem::copy_file(envText("RX_BINARY_DIR") + "/filter/rx8240-colour", filterDir + "/rx8240-colour");
    QProcess check;
    check.start(QStringLiteral("cupstestppd"),
                {"-W", "all", "-R", root.path(), QString::fromStdString(generatedPpd())});
    ASSERT_TRUE(check.waitForFinished(60000));
    const std::string report = check.readAllStandardOutput().toStdString();
    EXPECT_EQ(check.exitCode(), 0) << report;
    EXPECT_THAT(report, Not(HasSubstr("WARN"))) << report;
}

TEST(GeneratedPpd, TheGeneratorRefusesACatalogueThatLacksATextAndNamesIt)
{
    colormodel::Catalogue german;
    std::string ppd, error;
    ASSERT_TRUE(colormodel::readCatalogue(
        envText("RX_SOURCE_DIR") + "/plugin/resources/translations/ColorOptionsPDE_de.ts", &german, &error)) << error;
    EXPECT_TRUE(colormodel::generatePpd("*PPD-Adobe: \"4.3\"\n", {{"de", german}}, &ppd, &error)) << error;
    EXPECT_THAT(ppd, HasSubstr("*de.QVEdgeType Thin/Dünn: \"\""));
    german.erase("Glossy Mode");
    EXPECT_FALSE(colormodel::generatePpd("*PPD-Adobe: \"4.3\"\n", {{"de", german}}, &ppd, &error));
    EXPECT_THAT(error, HasSubstr("de: \"Glossy Mode\""));
}

}  // namespace
