// The colour rules the PPD carries for dialogs that show its options
// themselves: generated from the rule table, found unchanged in every copy of
// the PPD, and resolved by libcups exactly as the panel's engine forces them.
#include "ConstrainedPanel.h"

#include "plugin/constraints/PpdConstraints.h"

#include <QFile>
#include <cups/cups.h>
#include <gmock/gmock.h>

using namespace testsupport;

namespace {

// The PPD's *cupsUIConstraints and *cupsUIResolver lines, in file order.
std::string ruleLines(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path;
    std::string out;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QByteArray text = line.trimmed();
        if (text.startsWith("*cupsUIConstraints ") || text.startsWith("*cupsUIResolver "))
            out += text.toStdString() + "\n";
    }
    return out;
}

TEST(PpdConstraints, EveryCopyOfThePpdCarriesTheGeneratedRules)
{
    ConstrainedPanel p;
    const std::string generated = pde::cupsConstraintLines(pde::cstColorOption, p.compound.get());
    ASSERT_THAT(generated, ::testing::HasSubstr("*cupsUIConstraints"));
    for (const std::string& copy : {env("RX_BUNDLE_DIR") + "/Resources/rx8240.ppd",
                                   env("RX_SOURCE_DIR") + "/tests/fixtures/ppd/rx8240.ppd",
                                   env("RX_SOURCE_DIR") + "/tests/fuzz/corpus/fuzz_ppd_table/rx8240.ppd"})
        EXPECT_EQ(ruleLines(copy), generated)
            << copy << " differs from the rule table; its rule lines must read:\n" << generated;
}

// The check boxes the expressed rules force, in rule order.
struct Box {
    const char* option;
    QCheckBox* pde::ColorOptions::*outlet;
};
const Box kBoxes[] = {
    {"QVColorAsGray", &pde::ColorOptions::check_ColorAsGrayscale},
    {"QVColorSeparation", &pde::ColorOptions::check_ColorSeparation},
    {"QVEconoMode", &pde::ColorOptions::check_EconomyPrint},
    {"QVGlossyMode", &pde::ColorOptions::check_GlossyMode},
};

// For every combination of the four boxes, libcups's resolution of the PPD's
// rules gives the values the engine forces.
TEST(PpdConstraints, LibcupsResolvesAsTheEngineForces)
{
    const PpdHandle ppd = openPpd("rx8240.ppd");
    ASSERT_TRUE(ppd);
    for (unsigned combination = 0; combination < 16; ++combination) {
        ConstrainedPanel p;
        cups_option_t* options = nullptr;
        int count = 0;
        for (unsigned b = 0; b < 4; ++b) {
            const bool on = combination & (1u << b);
            (p.basic()->*kBoxes[b].outlet)->setChecked(on);
            count = cupsAddOption(kBoxes[b].option, on ? "True" : "False", count, &options);
        }
        p.apply();
        ppdMarkDefaults(ppd.get());
        EXPECT_EQ(cupsResolveConflicts(ppd.get(), nullptr, nullptr, &count, &options), 1) << combination;
        for (const Box& box : kBoxes) {
            const QString resolved = QString::fromUtf8(cupsGetOption(box.option, count, options));
            EXPECT_EQ(resolved.compare("True", Qt::CaseInsensitive) == 0, (p.basic()->*box.outlet)->isChecked())
                << "combination " << combination << ", " << box.option;
        }
        cupsFreeOptions(count, options);
    }
}

}  // namespace
