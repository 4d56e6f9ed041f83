// The filter program as CUPS runs it: arguments, $PPD, the stream on
// standard input or in a file, and the log lines on standard error. Nothing
// but a wrong command line fails it.
#include "tests/support/Files.h"

#include <cstdlib>
#include <filesystem>
#include <gmock/gmock.h>
#include <string>
#include <sys/wait.h>

using ::testing::HasSubstr;
using ::testing::Not;
using rxtest::readFile;
using rxtest::writeFile;

namespace {

namespace fs = std::filesystem;

std::string env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

const std::string kStream = "%!PS-Adobe-3.0\n%%BeginSetup\n[{\n%%BeginFeature: *QVQuickColor Photo\n"
                            "userdict /QVQuickColor (Photo) put\n%%EndFeature\n} stopped cleartomark\n[{\n"
                            "%%BeginFeature: *QVImageHalftone Smooth\nuserdict /QVImageHalftone (Smooth) put\n"
                            "%%EndFeature\n} stopped cleartomark\n%%EndSetup\nshowpage\n%%EOF\n";

struct FilterRun {
    int status = -1;
    std::string out;
    std::string err;
};

class FilterProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::path(env("RX_TEST_ROOT")) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
        writeFile(dir / "job.ps", kStream);
    }

    // Runs the filter with `ppd` as $PPD ("" = unset) and the arguments,
    // the stream on standard input unless a file argument is given.
    FilterRun run(const std::string& ppd, const std::string& args, bool stdinStream = true) const
    {
        const std::string command = (ppd.empty() ? std::string("env -u PPD ") : "PPD='" + ppd + "' ") + "'" +
                                    env("RX_BINARY_DIR") + "/filter/rx8240-colour' " + args +
                                    (stdinStream ? " < '" + (dir / "job.ps").string() + "'" : "") + " > '" +
                                    (dir / "out").string() + "' 2> '" + (dir / "err").string() + "'";
        FilterRun r;
        const int status = std::system(command.c_str());
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = readFile(dir / "out");
        r.err = readFile(dir / "err");
        return r;
    }

    std::string generatedPpd() const { return env("RX_BUNDLE_DIR") + "/Resources/rx8240.ppd"; }

    fs::path dir;
};

TEST_F(FilterProgram, WithoutAUsablePpdTheStreamPassesWithAWarning)
{
    writeFile(dir / "broken.ppd", "*PPD-Adobe: \"4.3\"\n*OpenUI *QVQuickColor: PickOne\n*QVQuickColor \"");
    for (const std::string& ppd : {std::string(), (dir / "missing.ppd").string(), (dir / "broken.ppd").string()}) {
        const FilterRun r = run(ppd, "7 alice title 1 'QVQuickColor=Standard'");
        EXPECT_EQ(r.status, 0) << ppd << r.err;
        EXPECT_EQ(r.out, kStream) << ppd;
        EXPECT_THAT(r.err, HasSubstr("WARNING: rx8240-colour:")) << ppd;
    }
}

TEST_F(FilterProgram, RewritesFromTheJobsOptionsAndTheQueuesPpd)
{
    // Photo wants Stochastic image halftone; the file argument is read.
    const FilterRun r = run(generatedPpd(), "7 alice title 1 'QVQuickColor=Photo media=A4 QVNoSuchOption=1' '" +
                                          (dir / "job.ps").string() + "'",
                      false);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("%%BeginFeature: *QVImageHalftone Stochastic\n"
                                 "userdict /QVImageHalftone (Stochastic) put\n%%EndFeature"));
    EXPECT_THAT(r.err, HasSubstr("DEBUG: rx8240-colour: *QVImageHalftone Smooth -> Stochastic"));
    EXPECT_THAT(r.err, HasSubstr("INFO: rx8240-colour: 1 of 2"));
    EXPECT_THAT(r.err, Not(HasSubstr("WARNING")));
}

TEST_F(FilterProgram, AChoiceThePpdDoesNotOfferIsReportedAndTheDefaultStands)
{
    const FilterRun r = run(generatedPpd(), "7 alice title 1 'QVQuickColor=Sepia'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("WARNING: rx8240-colour: the queue's PPD does not offer QVQuickColor=Sepia"));
    EXPECT_THAT(r.out, HasSubstr("%%BeginFeature: *QVQuickColor Standard\n"));
}

TEST_F(FilterProgram, AWrongCommandLineIsRefused)
{
    EXPECT_EQ(run(generatedPpd(), "7 alice title 1").status, 1);
    EXPECT_EQ(run(generatedPpd(), "7 alice title 1 '' '" + (dir / "nosuch.ps").string() + "'", false).status, 1);
}

}  // namespace
