// A driver for the fuzz entries that needs no libFuzzer: it runs every file
// of the entry's seed corpus, then a fixed number of random mutations of
// them (bit flips, byte changes, inserted and removed ranges, tokens of the
// input formats, splices of two seeds), with a fixed seed so that a failure
// repeats. Used by `make test` with the project's normal compiler.
//   fuzz_X_replay [RUNS]   RUNS defaults to RX_FUZZ_RUNS or 10000.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using namespace std::string_literals;
const std::string kTokens[] = {
    ":ARG_iSwapType", ":ARG_cFooCurrentString", ":ARG_cFooPrevString", ":AddURL:END", ":ModelName:END",
    ":USErName:END", ":arg:", "NULL", "file://", "%2F", "%00", "/../", "-profile.plist", ".dummy",
    "<dict>", "</dict>", "<key>", "</key>", "<integer>", "</integer>", "<string>", "</string>", "&amp;", "&#0;",
    "*OpenUI *", "*CloseUI: *", "PickOne", "Boolean", "*LanguageEncoding: ", "\xff\xfe", "\xc3\xa9", "\xed\xa0\x80",
    "\x00\x00\x00\x04"s, "\x7f\xff\xff\xff", "\xff\xff\xff\xff", "qvPListSwapProfile_XPC", "mibwalk_XPC",
    "writeDataToPlistFile_XPC"};

std::vector<std::string> loadCorpus(const std::string& directory)
{
    std::vector<std::string> corpus;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return corpus;
}

std::string mutate(std::string input, const std::vector<std::string>& corpus, std::mt19937& random, size_t maxSize)
{
    auto pick = [&](size_t n) { return n == 0 ? size_t(0) : size_t(random() % n); };
    const int steps = 1 + int(random() % 4);
    for (int s = 0; s < steps; ++s) {
        switch (random() % 7) {
        case 0:
            if (!input.empty())
                input[pick(input.size())] ^= char(1 << (random() % 8));
            break;
        case 1:
            if (!input.empty())
                input[pick(input.size())] = char(random());
            break;
        case 2: {
            const size_t at = pick(input.size() + 1);
            input.insert(at, std::string(1 + pick(8), char(random())));
            break;
        }
        case 3:
            if (!input.empty()) {
                const size_t at = pick(input.size());
                input.erase(at, 1 + pick(std::min<size_t>(64, input.size() - at)));
            }
            break;
        case 4: {
            input.insert(pick(input.size() + 1), kTokens[pick(std::size(kTokens))]);
            break;
        }
        case 5:
            if (!input.empty()) {
                const size_t at = pick(input.size());
                const size_t length = 1 + pick(std::min<size_t>(256, input.size() - at));
                input.insert(pick(input.size() + 1), input.substr(at, length));
            }
            break;
        default:
            if (!corpus.empty()) {
                const std::string& other = corpus[pick(corpus.size())];
                input = input.substr(0, pick(input.size() + 1)) + other.substr(pick(other.size() + 1));
            }
            break;
        }
    }
    if (input.size() > maxSize)
        input.resize(maxSize);
    return input;
}

}  // namespace

int main(int argc, char* argv[])
{
    long runs = 10000;
    if (const char* env = std::getenv("RX_FUZZ_RUNS"))
        runs = std::atol(env);
    if (argc > 1)
        runs = std::atol(argv[1]);
    const std::vector<std::string> corpus = loadCorpus(RX_FUZZ_CORPUS);
    if (corpus.empty()) {
        std::fprintf(stderr, "no seed corpus in %s\n", RX_FUZZ_CORPUS);
        return 1;
    }
    for (const std::string& seed : corpus)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(seed.data()), seed.size());
    std::mt19937 random(0x8240);
    size_t maxSize = 0;
    for (const std::string& seed : corpus)
        maxSize = std::max(maxSize, seed.size());
    maxSize = std::max<size_t>(maxSize * 2, 4096);
    for (long run = 0; run < runs; ++run) {
        const std::string input = mutate(corpus[run % corpus.size()], corpus, random, maxSize);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    std::printf("%zu seeds and %ld mutations run\n", corpus.size(), runs);
    return 0;
}
