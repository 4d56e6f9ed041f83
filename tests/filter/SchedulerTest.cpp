// Jobs as other dialogs send them (PPD options only) through a private
// scheduler whose queue has the generated PPD and the colour filter, to a
// file device: what reaches the device carries exactly the colour options
// the panel sends for the same choices, with the PPD's code for each.
#include "tests/colormodel/PanelJob.h"
#include "tests/cups/PrivateCupsServer.h"
#include "tests/support/Files.h"

#include <chrono>
#include <cups/cups.h>
#include <filesystem>
#include <gmock/gmock.h>
#include <regex>
#include <sstream>
#include <thread>

using namespace testsupport;
using ::testing::HasSubstr;

namespace {

namespace fs = std::filesystem;

const char* const kPage = "%!PS-Adobe-3.0\n%%Pages: 1\n%%EndComments\n%%Page: 1 1\n"
                          "/Helvetica findfont 24 scalefont setfont 72 720 moveto (rx8240) show\nshowpage\n%%EOF\n";

// A one-page PDF, as GTK's dialog sends its jobs.
std::string onePagePdf()
{
    const std::string content = "BT /F1 24 Tf 72 720 Td (rx8240) Tj ET";
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t o : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", o);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

// The colour feature blocks of a stream: option -> choice. A block whose code
// is not the PPD's code for its choice is recorded as "BADCODE".
colormodel::OptionValues colourBlocks(const std::string& stream)
{
    colormodel::OptionValues out;
    static const std::regex begin(R"(^%%BeginFeature: \*(QV\w+) (\S+)\r?$)");
    std::istringstream in(stream);
    std::string line, code;
    std::smatch m;
    while (std::getline(in, line)) {
        if (!std::regex_match(line, m, begin))
            continue;
        std::getline(in, code);
        const bool fromPpd = code == "userdict /" + m[1].str() + " (" + m[2].str() + ") put";
        out[m[1]] = fromPpd ? m[2].str() : "BADCODE";
    }
    return out;
}

class Scheduler : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root = new fs::path(fs::path(envText("RX_TEST_ROOT")) / "cupsd");
        fs::remove_all(*root);
        fs::create_directories(*root);
        server = new rxtest::PrivateCupsServer(root->string());
        server->addFilterProgram(envText("RX_BINARY_DIR") + "/filter/rx8240-colour");
        server->setLogLevel("debug");
        std::string error;
        if (!server->start(&error) ||
            !server->addPrintingQueue("rx8240", generatedPpd(), "file://" + (*root / "device.out").string(), &error)) {
            problem = new std::string(error + server->errorLog());
            return;
        }
        cupsSetServer(server->address().c_str());
    }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
        delete root;
        delete problem;
        problem = nullptr;
    }
    void SetUp() override
    {
        if (problem)
            GTEST_SKIP() << "no private scheduler here: " << *problem;
    }

    // Prints `document` with the options and returns what reached the device.
    static std::string print(const std::string& document, const colormodel::OptionValues& options, int* jobId)
    {
        cups_option_t* list = nullptr;
        int count = 0;
        for (const auto& [name, value] : options)
            count = cupsAddOption(name.c_str(), value.c_str(), count, &list);
        *jobId = cupsPrintFile("rx8240", document.c_str(), "colour job", count, list);
        cupsFreeOptions(count, list);
        EXPECT_GT(*jobId, 0) << cupsLastErrorString();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        std::string state;
        while (std::chrono::steady_clock::now() < deadline) {
            state = server->jobAttributes(*jobId)["job-state"];
            if (state == "completed" || state == "aborted" || state == "canceled" || state == "stopped")
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        EXPECT_EQ(state, "completed") << server->errorLog();
        return rxtest::readFile(*root / "device.out");
    }

    static std::string writeDocument(const std::string& name, const std::string& bytes)
    {
        const fs::path path = *root / name;
        rxtest::writeFile(path, bytes);
        return path.string();
    }

    // The scheduler's log lines of one job.
    static std::string jobLog(int jobId)
    {
        std::istringstream in(server->errorLog());
        std::string line, out;
        const std::string tag = "[Job " + std::to_string(jobId) + "]";
        while (std::getline(in, line))
            if (line.find(tag) != std::string::npos)
                out += line + "\n";
        return out;
    }

    static fs::path* root;
    static rxtest::PrivateCupsServer* server;
    static std::string* problem;
};

fs::path* Scheduler::root = nullptr;
rxtest::PrivateCupsServer* Scheduler::server = nullptr;
std::string* Scheduler::problem = nullptr;

TEST_F(Scheduler, DialogJobsReachTheDeviceAsThePanelWouldSendThem)
{
    const std::string ps = writeDocument("page.ps", kPage);
    for (const DialogJob& job : dialogJobs()) {
        int id = 0;
        const colormodel::OptionValues device = colourBlocks(print(ps, job.options, &id));
        EXPECT_EQ(device, panelJobOptions(generatedPpd(), job.options)) << job.name << "\n" << jobLog(id);
    }
}

TEST_F(Scheduler, APdfJobPassesTheFilterAfterTheChainHasWrittenItsBlocks)
{
    const std::string pdf = writeDocument("page.pdf", onePagePdf());
    const DialogJob& job = dialogJobs()[3];  // Vivid with Photo's leftovers and EconoMode
    int id = 0;
    const colormodel::OptionValues device = colourBlocks(print(pdf, job.options, &id));
    EXPECT_EQ(device, panelJobOptions(generatedPpd(), job.options)) << jobLog(id);
    EXPECT_THAT(jobLog(id), HasSubstr("rx8240-colour"));
}

TEST_F(Scheduler, AJobThePanelPreparedPassesUnchanged)
{
    const std::string ps = writeDocument("page.ps", kPage);
    for (const DialogJob& job : dialogJobs()) {
        const colormodel::OptionValues prepared = panelJobOptions(generatedPpd(), job.options);
        int id = 0;
        EXPECT_EQ(colourBlocks(print(ps, prepared, &id)), prepared) << job.name;
        const std::string log = jobLog(id);
        EXPECT_THAT(log, HasSubstr("rx8240-colour: 0 of 28 colour settings")) << job.name << "\n" << log;
        // The filter runs last, after the chain has put the blocks in.
        const std::size_t pstops = log.find("/pstops"), ours = log.find("/rx8240-colour (PID");
        EXPECT_TRUE(pstops != std::string::npos && ours != std::string::npos && pstops < ours) << log;
    }
}

}  // namespace
