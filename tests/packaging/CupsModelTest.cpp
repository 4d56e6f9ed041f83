// The package's PPD as CUPS meets it: a private scheduler whose model folder
// is the package's /usr/share/ppd lists the printer (lpinfo -m) and adds a
// queue from it (lpadmin -m), whose options are the PPD's colour options.
#include "tests/cups/PrivateCupsServer.h"
#include "tests/support/Files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

// Runs a shell command; its exit status and output (standard error too).
int shell(const std::string& command, std::string* output)
{
    output->clear();
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output->append(buffer, n);
    return ::pclose(pipe);
}

TEST(CupsModel, SchedulerListsThePackagedPpdAndAddsAQueueFromIt)
{
    const fs::path root = std::getenv("RX_TEST_ROOT");
    const fs::path unpacked = root / "package";
    fs::remove_all(root);
    fs::create_directories(unpacked);
    std::string output;
    ASSERT_EQ(shell("dpkg-deb -x " + std::string(std::getenv("RX_PACKAGE_DIR")) + "/rx8240-driver_*.deb " +
                        unpacked.string(), &output), 0) << output;

    rxtest::PrivateCupsServer cups((root / "cups").string());
    cups.setModelDirectory((unpacked / "usr/share/ppd").string());
    std::string error;
    ASSERT_TRUE(cups.start(&error)) << error;
    const std::string server = " -h " + cups.address();

    ASSERT_EQ(shell("lpinfo" + server + " -m", &output), 0) << output;
    EXPECT_THAT(output, HasSubstr("tarnvale/rx8240.ppd ")) << cups.errorLog();

    ASSERT_EQ(shell("lpadmin" + server + " -p rx8240 -E -v lpd://127.0.0.1/queue -m tarnvale/rx8240.ppd", &output), 0)
        << output << cups.errorLog();
    ASSERT_EQ(shell("lpoptions" + server + " -p rx8240 -l", &output), 0) << output;
    EXPECT_THAT(output, HasSubstr("QVQuickColor/"));
}

}  // namespace
