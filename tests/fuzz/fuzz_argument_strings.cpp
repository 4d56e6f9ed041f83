// The service's parsing of every operation's argument string: swap, URL and
// text, file URLs, walk arguments and vectors, list paths. The first byte
// picks nothing: every parser sees the whole input.
#include "FuzzInvariant.h"

#include "protocol/ArgumentStrings.h"
#include "service/ListFileNames.h"
#include "service/WalkVector.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;

namespace {

constexpr std::string_view kDirectory = "/root/Library/Printers/TARNVALE/Preferences/tarnvale.printers.rx8240";

void checkPath(std::string_view path)
{
    auto file = svc::classifyListPath(path, kDirectory);
    if (!file)
        return;
    // File operations take the path as a C string: a NUL would cut it.
    FUZZ_REQUIRE(path.find('\0') == std::string_view::npos);
    // A classified path names a plain file right inside the directory.
    FUZZ_REQUIRE(path.substr(0, kDirectory.size()) == kDirectory);
    FUZZ_REQUIRE(path.size() > kDirectory.size() + 1 && path[kDirectory.size()] == '/');
    const std::string_view name = path.substr(kDirectory.size() + 1);
    FUZZ_REQUIRE(name.find('/') == std::string_view::npos);
    FUZZ_REQUIRE(name != "." && name != "..");
    FUZZ_REQUIRE(name == file->name);
    FUZZ_REQUIRE(svc::isSafeUserName(file->user) && svc::isSafeModelName(file->model));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)svc::isValidUtf8(text);

    const svc::SwapArgument swap = svc::parseSwapArgument(text);
    if (swap.currentPath)
        checkPath(*swap.currentPath);
    if (swap.previousPath)
        checkPath(*swap.previousPath);
    (void)svc::parseDecimal(text);

    if (auto parts = svc::parseUrlAndText(text)) {
        FUZZ_REQUIRE(parts->url.size() + svc::kMarkerUrl.size() + parts->text.size() == text.size());
        if (auto path = svc::pathFromFileUrl(parts->url)) {
            FUZZ_REQUIRE(!path->empty() && path->front() == '/');
            checkPath(*path);
            // A path turned into a URL comes back unchanged.
            if (path->find('\0') == std::string::npos) {  // an escaped NUL is refused
                auto again = svc::pathFromFileUrl(svc::fileUrlFromPath(*path));
                FUZZ_REQUIRE(again && *again == *path);
            }
        }
    }
    checkPath(text);
    if (auto path = svc::pathFromFileUrl(text))
        checkPath(*path);

    svc::WalkArgument walk;
    if (svc::parseWalkArgument(text, &walk) == svc::WalkParse::Ok) {
        FUZZ_REQUIRE(walk.vector.size() <= svc::kMaxWalkElements);
        if (svc::checkWalkVector(walk.vector).empty() && !walk.vector.empty()) {
            // A vector let through holds no option that reaches files,
            // configuration or debug output.
            for (std::size_t i = 1; i < walk.vector.size(); ++i) {
                const std::string& element = walk.vector[i];
                const std::string& before = walk.vector[i - 1];
                if (before == "-c" || before == "-r" || before == "-t" || before == "-v")
                    continue;  // an option's value
                FUZZ_REQUIRE(element.rfind("-L", 0) != 0 && element.rfind("-m", 0) != 0);
                FUZZ_REQUIRE(element.rfind("-M", 0) != 0 && element.rfind("-Y", 0) != 0);
                FUZZ_REQUIRE(element.rfind("-D", 0) != 0 && element.rfind("--", 0) != 0);
            }
        }
    }
    return 0;
}
