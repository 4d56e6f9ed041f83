// The panel's cycle in a print dialog, measured on the real plug-in bundle:
// open the PPD, load the bundle and its panel, ask for the view, restore,
// save and build the summary, with a current list file holding three full
// lists (3 classes x 500 profiles, half of them offered in the menus).
//
//   BM_PanelCycle            the service runs and the launcher is installed:
//                            the view request probes and backs up through
//                            the launcher; the queue is a usb:// queue, so
//                            there is no device walk.
//   BM_PanelCycle_NoService  the launcher is absent: the probe answers 0 and
//                            nothing is started; only the store is read.
//
// The closing lines compare the mean cycle with the 100 ms target.
#include "tests/support/UnixSocket.h"
#include "host/PanelHost.h"
#include "platform/FixedPaths.h"
#include "profilelist/ProfileList.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string gLauncher;  // installed launcher path
std::string gParked;    // where the launcher waits while BM_PanelCycle_NoService runs

std::string fullListsText()
{
    auto lists = std::make_unique<ProfileList[]>(3);
    std::memset(lists.get(), 0, sizeof(ProfileList) * 3);
    static const int32_t kStates[] = {kStateDeviceHidden, kStateDeviceHiddenConfirmed, kStateDeviceShown,
                                      kStateDeviceShownConfirmed, kStateManualHidden, kStateManualShown};
    for (int c = 0; c < 3; ++c) {
        ProfileList& l = lists[size_t(c)];
        for (int n = 0; n < kProfileListCapacity; ++n) {
            ProfileListItem& it = l.litem[n];
            it.iIndexOnDevice = n + 1;
            it.iInMenu = kStates[n % 6];
            it.iProfileClass = c == kClassRGB ? 1 : 3;
            it.iLocation = n % 2 ? kLocationCard : kLocationDisk;
            char name[40];
            std::snprintf(name, sizeof name, "P%c%04d.ICC", "RSD"[c], n);
            QVPListCopyName(it.FileName, name, std::strlen(name));
            std::snprintf(name, sizeof name, "Profile %c %04d", "RSD"[c], n);
            QVPListCopyName(it.ProfileName, name, std::strlen(name));
        }
        l.iNum = kProfileListCapacity;
    }
    return QVPListBuildFileText(&lists[0], &lists[1], &lists[2]);
}

// One cycle; false when the panel could not be loaded.
bool panelCycle()
{
    pdehost::PanelHost host;
    host.setPrinter(rx::Printer{"rx8240", "usb://TARNVALE/rx8240"});
    QString error;
    if (!host.openPpd(QStringLiteral(RX_PPD_FILE), &error) || !host.loadBundle(QStringLiteral(RX_BUNDLE_DIR), &error))
        return false;
    rx::PDEPanel* panel = host.panel();
    if (!panel->panelView())
        return false;
    panel->restoreValuesAndReturnError(nullptr);
    panel->saveValuesAndReturnError(nullptr);
    const QVariantMap summary = panel->summaryInfo();
    benchmark::DoNotOptimize(summary.size());
    return !summary.isEmpty();
}

void BM_PanelCycle(benchmark::State& state)
{
    for (auto _ : state)
        if (!panelCycle()) {
            state.SkipWithError("the panel did not load");
            return;
        }
}
BENCHMARK(BM_PanelCycle)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_PanelCycle_NoService(benchmark::State& state)
{
    fs::rename(gLauncher, gParked);
    for (auto _ : state)
        if (!panelCycle()) {
            state.SkipWithError("the panel did not load");
            break;
        }
    fs::rename(gParked, gLauncher);
}
BENCHMARK(BM_PanelCycle_NoService)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

class MeanReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (!r.error_occurred && r.iterations > 0 && r.run_type == Run::RT_Iteration)
                millis[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> millis;
};

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char rootTemplate[] = "/tmp/rx8240-bench-panel-XXXXXX";
    if (!::mkdtemp(rootTemplate))
        return 1;
    const std::string root = rootTemplate;
    const std::string socket = root + "/service.sock";
    ::setenv("TARNVALE_ROOT", root.c_str(), 1);
    ::setenv("RX8240_SERVICE_SOCKET", socket.c_str(), 1);
    ::setenv("QT_LOGGING_RULES", "*.debug=false", 1);

    gLauncher = rx::fixedPath(rx::kLauncherPath);
    gParked = root + "/rx8240Helper.parked";
    fs::create_directories(fs::path(gLauncher).parent_path());
    fs::copy_file(RX_LAUNCHER_BINARY, gLauncher, fs::copy_options::overwrite_existing);
    fs::create_directories(QVPListProfileDirectory());
    const std::string current = QVPListFormPath(rx::realUserLoginName(), "rx8240", kListCurrent);
    std::ofstream(current, std::ios::binary) << fullListsText();

    const pid_t service = ::fork();
    if (service == 0) {
        ::execl(RX_SERVICE_BINARY, RX_SERVICE_BINARY, "--listen", socket.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (int i = 0; i < 500 && !rxtest::unixSocketAccepts(socket); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    int status = 1;
    {
        QApplication app(argc, argv);
        if (!rxtest::unixSocketAccepts(socket)) {
            std::fprintf(stderr, "bench_panel_cycle: the service did not start\n");
        } else {
            benchmark::Initialize(&argc, argv);
            MeanReporter reporter;
            benchmark::RunSpecifiedBenchmarks(&reporter);
            benchmark::Shutdown();
            std::printf("\nlist file: %zu bytes, 3 x %d profiles\n", fs::file_size(current), kProfileListCapacity);
            for (const auto& [name, ms] : reporter.millis)
                std::printf("%s: %.1f ms per cycle (target well under 100 ms): %s\n",
                            name.substr(0, name.find('/')).c_str(), ms, ms < 100.0 ? "met" : "NOT met");
            status = reporter.millis.empty() ? 1 : 0;
        }
    }
    ::kill(service, SIGTERM);
    ::waitpid(service, nullptr, 0);
    fs::remove_all(root);
    return status;
}
