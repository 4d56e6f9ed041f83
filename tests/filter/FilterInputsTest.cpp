// What the filter reads besides the stream: the job's options and the
// queue's PPD, read without libcups, and compared with libcups's reading.
#include "colormodel/ColorOptionTable.h"
#include "filter/JobOptions.h"
#include "filter/QueuePpd.h"
#include "tests/support/Files.h"

#include <cups/cups.h>
#include <cups/ppd.h>
#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

std::string env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Option texts as the scheduler writes them, read as libcups reads them.
TEST(JobOptions, ReadAsLibcupsReadsThem)
{
    const char* const texts[] = {
        "",
        "QVQuickColor=Photo media=A4",
        "  QVQuickColor=Vivid\tQVQuickColor=Photo  ",
        "job-name='a b c' QVColorAsGray=True noQVEconoMode QVGlossyMode",
        "title=\"it\\'s \\\"here\\\"\" QVImageHalftone=Stochastic",
        "collection={a=1 b='2 3'} QVSimSource=SWOP",
        "a=x'y z'w b=",
    };
    for (const char* text : texts) {
        cups_option_t* options = nullptr;
        const int count = cupsParseOptions(text, 0, &options);
        std::map<std::string, std::string> expected;
        for (int i = 0; i < count; ++i)
            expected[options[i].name] = options[i].value;
        cupsFreeOptions(count, options);
        EXPECT_EQ(colourfilter::parseJobOptions(text), expected) << text;
    }
}

// The colour options of every fixture PPD and of the generated one, with
// their defaults and choices, as libcups finds them, and each choice's code.
TEST(QueuePpd, FindsWhatLibcupsFinds)
{
    const std::string dir = env("RX_SOURCE_DIR") + "/tests/fixtures/ppd/";
    for (const std::string& path :
         {env("RX_BUNDLE_DIR") + "/Resources/rx8240.ppd", dir + "rx8240.ppd", dir + "rx8240-short.ppd",
          dir + "rx8240-partial.ppd", dir + "rx8240-defaults.ppd", dir + "rx8240-latin1.ppd",
          dir + "rx8240-sjis.ppd"}) {
        std::string error;
        const auto ours = colourfilter::QueuePpd::open(path.c_str(), &error);
        ppd_file_t* theirs = ppdOpenFile(path.c_str());
        ASSERT_TRUE(ours && theirs) << path << ": " << error;
        colormodel::OfferedOptions expected;
        for (const colormodel::ColorOption& model : colormodel::kColorOptions) {
            ppd_option_t* option = ppdFindOption(theirs, model.keyword);
            if (!option)
                continue;
            expected[model.keyword].defaultChoice = option->defchoice;
            for (int i = 0; i < option->num_choices; ++i) {
                expected[model.keyword].choices.emplace_back(option->choices[i].choice);
                EXPECT_EQ(ours->code(model.keyword, option->choices[i].choice),
                          std::string(option->choices[i].code ? option->choices[i].code : ""))
                    << path << " " << model.keyword << " " << option->choices[i].choice;
            }
        }
        ppdClose(theirs);
        const colormodel::OfferedOptions found = ours->colorOptions();
        EXPECT_EQ(found.size(), expected.size()) << path;
        for (const auto& [keyword, option] : expected) {
            ASSERT_TRUE(found.contains(keyword)) << path << " " << keyword;
            EXPECT_EQ(found.at(keyword).defaultChoice, option.defaultChoice) << path << " " << keyword;
            EXPECT_EQ(found.at(keyword).choices, option.choices) << path << " " << keyword;
        }
    }
}

TEST(QueuePpd, MultiLineCodeAndWhatIsNotAnOption)
{
    std::string error;
    const auto ppd = colourfilter::QueuePpd::parse(
        "*PPD-Adobe: \"4.3\"\n*DefaultQVQuickColor: Vivid\n*QVQuickColor Photo: \"outside\"\n"
        "*OpenUI *QVQuickColor/Quick Color: PickOne\n*QVQuickColor Standard/Standard: \"a\nb\"\n"
        "*de.QVQuickColor Standard/Standard: \"\"\n*QVQuickColor Vivid: \"v\"\n*CloseUI: *QVQuickColor\n"
        "*OpenUI *QVQuickColor/Again: PickOne\n*QVQuickColor Photo: \"second block\"\n*CloseUI: *QVQuickColor\n",
        "inline", &error);
    ASSERT_TRUE(ppd) << error;
    const auto options = ppd->colorOptions();
    ASSERT_TRUE(options.contains("QVQuickColor"));
    EXPECT_EQ(options.at("QVQuickColor").defaultChoice, "Vivid");
    EXPECT_EQ(options.at("QVQuickColor").choices, (std::vector<std::string>{"Standard", "Vivid"}));
    EXPECT_EQ(ppd->code("QVQuickColor", "Standard"), "a\nb");
    EXPECT_EQ(ppd->code("QVQuickColor", "Photo"), std::nullopt);

    for (const char* broken : {"*OpenUI *QVQuickColor: PickOne\n", "*PPD-Adobe: \"4.3\"\n*QVQuickColor A: \"open"}) {
        EXPECT_FALSE(colourfilter::QueuePpd::parse(broken, "broken", &error)) << broken;
        EXPECT_THAT(error, HasSubstr("broken"));
    }
}

}  // namespace
