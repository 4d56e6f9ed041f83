// The stream side of the colour filter: which bytes change, which pass as
// they came, and that the buffer's edges do not matter.
#include "filter/FeatureRewriter.h"

#include <cstdio>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <string>
#include <unistd.h>
#include <vector>

using ::testing::HasSubstr;

namespace {

std::string block(const std::string& keyword, const std::string& choice, const char* eol = "\n")
{
    return std::string("[{") + eol + "%%BeginFeature: *" + keyword + " " + choice + eol + "userdict /" + keyword +
           " (" + choice + ") put" + eol + "%%EndFeature" + eol + "} stopped cleartomark" + eol;
}

struct Result {
    std::string out;
    colourfilter::RewriteCounts counts;
    std::vector<std::string> warnings;
};

// Runs the rewriter over `in`, wanting Photo for Quick Color and Stochastic
// for the image halftone; the PPD offers no code for "Missing".
Result rewrite(const std::string& in)
{
    Result r;
    FILE* source = std::tmpfile();
    FILE* sink = std::tmpfile();
    std::fwrite(in.data(), 1, in.size(), source);
    std::fflush(source);
    ::lseek(fileno(source), 0, SEEK_SET);
    colourfilter::FeatureRewriter rewriter(
        {{"QVQuickColor", "Photo"}, {"QVImageHalftone", "Stochastic"}, {"QVSimSource", "Missing"}},
        [](const std::string& option, const std::string& choice) -> std::optional<std::string> {
            if (choice == "Missing")
                return std::nullopt;
            return "userdict /" + option + " (" + choice + ") put";
        },
        {[](const std::string&) {}, [&r](const std::string& m) { r.warnings.push_back(m); }});
    EXPECT_TRUE(rewriter.run(fileno(source), fileno(sink), &r.counts));
    ::lseek(fileno(sink), 0, SEEK_SET);
    char buf[65536];
    for (ssize_t n; (n = ::read(fileno(sink), buf, sizeof buf)) > 0;)
        r.out.append(buf, std::size_t(n));
    std::fclose(source);
    std::fclose(sink);
    return r;
}

const std::string kHead = "%!PS-Adobe-3.0\n%%BeginSetup\n";
const std::string kTail = "%%EndSetup\n%%Page: 1 1\nshowpage\n%%EOF\n";

struct PassCase {
    const char* name;
    std::string stream;
    int malformed;
};

// Streams whose every byte must pass as it came.
TEST(FeatureRewriter, StreamsThatPassAsTheyCame)
{
    const PassCase cases[] = {
        {"no blocks at all", kHead + kTail, 0},
        {"the wanted values already",
         kHead + block("QVQuickColor", "Photo") + block("QVImageHalftone", "Stochastic") + kTail, 0},
        {"only other options' blocks", kHead + block("PageSize", "A4") + block("QVBrightness", "Darker") + kTail, 0},
        {"a marker inside a line", kHead + "(%%BeginFeature: *QVQuickColor Vivid) show\n" + kTail, 0},
        {"no choice", kHead + "%%BeginFeature: *QVQuickColor\nx\n%%EndFeature\n" + kTail, 1},
        {"no end line", kHead + "%%BeginFeature: *QVQuickColor Vivid\nuserdict /QVQuickColor (Vivid) put\n", 1},
        {"a begin line before the end line",
         kHead + "%%BeginFeature: *QVQuickColor Vivid\nx\n%%BeginFeature: *QVBrightness Normal\n%%EndFeature\n" + kTail,
         1},
        {"a block longer than the bound",
         kHead + "%%BeginFeature: *QVQuickColor Vivid\n" + std::string(colourfilter::kBufferSize, 'x') +
             "\n%%EndFeature\n" + kTail,
         1},
        {"no code for the wanted choice", kHead + block("QVSimSource", "SWOP") + kTail, 0},
    };
    for (const PassCase& c : cases) {
        const Result r = rewrite(c.stream);
        EXPECT_EQ(r.out, c.stream) << c.name;
        EXPECT_EQ(r.counts.changed, 0) << c.name;
        EXPECT_EQ(r.counts.malformed, c.malformed) << c.name;
        EXPECT_EQ(int(r.warnings.size()), c.malformed) << c.name;
    }
}

struct ChangeCase {
    const char* name;
    std::string stream;
    std::string expected;
};

TEST(FeatureRewriter, ColourBlocksGetTheWantedChoiceAndItsCode)
{
    const std::string filler(colourfilter::kBufferSize - 40, 'p');
    const ChangeCase cases[] = {
        {"two blocks",
         kHead + block("QVQuickColor", "Vivid") + block("PageSize", "A4") + block("QVImageHalftone", "Smooth") + kTail,
         kHead + block("QVQuickColor", "Photo") + block("PageSize", "A4") + block("QVImageHalftone", "Stochastic") +
             kTail},
        {"CR LF lines", kHead + block("QVQuickColor", "Standard", "\r\n") + kTail,
         kHead + block("QVQuickColor", "Photo", "\r\n") + kTail},
        {"a block across the buffer's edge", kHead + filler + "\n" + block("QVQuickColor", "Vivid") + kTail,
         kHead + filler + "\n" + block("QVQuickColor", "Photo") + kTail},
        {"an end line without a newline at the end",
         kHead + "%%BeginFeature: *QVQuickColor Vivid\nuserdict /QVQuickColor (Vivid) put\n%%EndFeature",
         kHead + "%%BeginFeature: *QVQuickColor Photo\nuserdict /QVQuickColor (Photo) put\n%%EndFeature"},
        {"a block as the stream's first line", "%%BeginFeature: *QVQuickColor Vivid\n%%EndFeature\n",
         "%%BeginFeature: *QVQuickColor Photo\nuserdict /QVQuickColor (Photo) put\n%%EndFeature\n"},
    };
    for (const ChangeCase& c : cases) {
        const Result r = rewrite(c.stream);
        EXPECT_EQ(r.out, c.expected) << c.name;
        EXPECT_GE(r.counts.changed, 1) << c.name;
        EXPECT_TRUE(r.warnings.empty()) << c.name;
    }
}

// A malformed block does not stop the stream: the next block is rewritten.
TEST(FeatureRewriter, AfterAMalformedBlockTheNextOneIsStillRewritten)
{
    const Result r =
        rewrite(kHead + "%%BeginFeature: *QVImageHalftone Smooth\n" + block("QVQuickColor", "Vivid") + kTail);
    EXPECT_EQ(r.out, kHead + "%%BeginFeature: *QVImageHalftone Smooth\n" + block("QVQuickColor", "Photo") + kTail);
    EXPECT_EQ(r.counts.malformed, 1);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_THAT(r.warnings[0], HasSubstr("*QVImageHalftone Smooth"));
}

}  // namespace
