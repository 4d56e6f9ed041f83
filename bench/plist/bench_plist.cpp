// Reading and writing a full list file (3 classes x 500 slots) with the
// store and with libplist, in one run. The ratios at the end compare
//   read:  the store's QVPListReadProfileFile_All against libplist's parse of
//          the same file plus the look-up of every slot key into lists;
//   write: the store's QVPListBuildFileText against libplist building the
//          same dictionaries and serialising them as XML.
#include "platform/plist/PlistXml.h"
#include "profilelist/ProfileList.h"

#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

const char* const kIntFields[] = {"IndexOnDevice", "InMenu", "ProfileClass", "Location"};
const char* const kStringFields[] = {"FileName", "ProfileName"};

struct Fixture {
    std::unique_ptr<ProfileList[]> lists{new ProfileList[3]};
    std::string dir;
    std::string path;

    Fixture()
    {
        std::memset(lists.get(), 0, sizeof(ProfileList) * 3);
        for (int c = 0; c < kProfileClassCount; ++c) {
            ProfileList& l = lists[size_t(c)];
            for (int n = 0; n < kProfileListCapacity; ++n) {
                ProfileListItem& it = l.litem[n];
                it.iIndexOnDevice = n + 1;
                it.iInMenu = kStateDeviceHidden + n % kStateManualShown;
                it.iProfileClass = c + 1;
                it.iLocation = kLocationDisk + n % 2;
                char name[40];
                std::snprintf(name, sizeof name, "P%c%04d.ICC", "RSD"[c], n);
                QVPListCopyName(it.FileName, name, std::strlen(name));
                std::snprintf(name, sizeof name, "Profile %c number %04d", "RSD"[c], n);
                QVPListCopyName(it.ProfileName, name, std::strlen(name));
            }
            l.iNum = kProfileListCapacity;
        }
        const char* tmp = std::getenv("TMPDIR");
        std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/bench_plist.XXXXXX";
        if (!::mkdtemp(templ.data()))
            std::abort();
        dir = templ;
        path = dir + "/bench-rx8240-profile.plist";
        std::ofstream(path, std::ios::binary) << QVPListBuildFileText(&lists[0], &lists[1], &lists[2]);
    }
    ~Fixture()
    {
        ::unlink(path.c_str());
        ::rmdir(dir.c_str());
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

std::string loadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void BM_Read_Store(benchmark::State& state)
{
    Fixture& f = fixture();
    auto out = std::make_unique<ProfileList[]>(3);
    for (auto _ : state) {
        std::memset(out.get(), 0, sizeof(ProfileList) * 3);
        if (QVPListReadProfileFile_All(f.path, &out[0], &out[1], &out[2]) != 0)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(out.get());
    }
    if (std::memcmp(out.get(), f.lists.get(), sizeof(ProfileList) * 3) != 0)
        state.SkipWithError("read back differs");
}

void readWithLibplist(const std::string& path, ProfileList* out)
{
    std::string text = loadFile(path);
    plist_t root = nullptr;
    plist_from_xml(text.data(), uint32_t(text.size()), &root);
    if (!root)
        return;
    char key[32];
    for (int c = 0; c < kProfileClassCount; ++c) {
        plist_t cls = plist_dict_get_item(root, QVPListClassKey(c));
        ProfileList& l = out[c];
        for (int n = 0; n < kProfileListCapacity; ++n) {
            ProfileListItem& it = l.litem[n];
            int32_t* ints[] = {&it.iIndexOnDevice, &it.iInMenu, &it.iProfileClass, &it.iLocation};
            for (int f = 0; f < 4; ++f) {
                plist_t fd = plist_dict_get_item(cls, kIntFields[f]);
                std::snprintf(key, sizeof key, "%s%04d", kIntFields[f], n);
                if (plist_t v = plist_dict_get_item(fd, key)) {
                    uint64_t u = 0;
                    plist_get_uint_val(v, &u);
                    *ints[f] = int32_t(u);
                }
            }
            char* strs[] = {it.FileName, it.ProfileName};
            for (int f = 0; f < 2; ++f) {
                plist_t fd = plist_dict_get_item(cls, kStringFields[f]);
                std::snprintf(key, sizeof key, "%s%04d", kStringFields[f], n);
                if (plist_t v = plist_dict_get_item(fd, key)) {
                    const char* s = plist_get_string_ptr(v, nullptr);
                    QVPListCopyName(strs[f], s, std::strlen(s));
                }
            }
        }
        if (plist_t v = plist_dict_get_item(cls, "iNum")) {
            uint64_t u = 0;
            plist_get_uint_val(v, &u);
            l.iNum = int32_t(u);
        }
    }
    plist_free(root);
}

void BM_Read_Libplist(benchmark::State& state)
{
    Fixture& f = fixture();
    auto out = std::make_unique<ProfileList[]>(3);
    for (auto _ : state) {
        std::memset(out.get(), 0, sizeof(ProfileList) * 3);
        readWithLibplist(f.path, out.get());
        benchmark::DoNotOptimize(out.get());
    }
    if (std::memcmp(out.get(), f.lists.get(), sizeof(ProfileList) * 3) != 0)
        state.SkipWithError("libplist read back differs");
}

// The generic reader (plist::Value) with the entry readers, for reference.
void BM_Read_GenericValues(benchmark::State& state)
{
    Fixture& f = fixture();
    auto out = std::make_unique<ProfileList[]>(3);
    char key[32];
    for (auto _ : state) {
        std::memset(out.get(), 0, sizeof(ProfileList) * 3);
        plist::Value root = plist::readXmlFile(f.path);
        for (int c = 0; c < kProfileClassCount; ++c) {
            auto cls = root.dictionary()->dictionary(QVPListClassKey(c));
            for (int n = 0; n < kProfileListCapacity; ++n) {
                ProfileListItem& it = out[size_t(c)].litem[n];
                int32_t* ints[] = {&it.iIndexOnDevice, &it.iInMenu, &it.iProfileClass, &it.iLocation};
                for (int k = 0; k < 4; ++k) {
                    std::snprintf(key, sizeof key, "%s%04d", kIntFields[k], n);
                    ReadDictionaryIntEntry(*cls->dictionary(kIntFields[k]), key, ints[k]);
                }
                std::snprintf(key, sizeof key, "FileName%04d", n);
                ReadDictionaryStringEntry(*cls->dictionary("FileName"), key, it.FileName);
                std::snprintf(key, sizeof key, "ProfileName%04d", n);
                ReadDictionaryStringEntry(*cls->dictionary("ProfileName"), key, it.ProfileName);
            }
            ReadDictionaryIntEntry(*cls, "iNum", &out[size_t(c)].iNum);
        }
        benchmark::DoNotOptimize(out.get());
    }
}

void BM_Write_Store(benchmark::State& state)
{
    Fixture& f = fixture();
    size_t bytes = 0;
    for (auto _ : state) {
        std::string text = QVPListBuildFileText(&f.lists[0], &f.lists[1], &f.lists[2]);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = double(bytes);
}

void BM_Write_Libplist(benchmark::State& state)
{
    Fixture& f = fixture();
    char key[32];
    for (auto _ : state) {
        plist_t root = plist_new_dict();
        for (int c = 0; c < kProfileClassCount; ++c) {
            const ProfileList& l = f.lists[size_t(c)];
            plist_t cls = plist_new_dict();
            plist_t fields[6];
            for (auto& fd : fields)
                fd = plist_new_dict();
            for (int n = 0; n < kProfileListCapacity; ++n) {
                const ProfileListItem& it = l.litem[n];
                const int32_t ints[] = {it.iIndexOnDevice, it.iInMenu, it.iProfileClass, it.iLocation};
                for (int k = 0; k < 4; ++k) {
                    std::snprintf(key, sizeof key, "%s%04d", kIntFields[k], n);
                    plist_dict_set_item(fields[k], key, plist_new_uint(uint64_t(int64_t(ints[k]))));
                }
                std::snprintf(key, sizeof key, "FileName%04d", n);
                plist_dict_set_item(fields[4], key, plist_new_string(it.FileName));
                std::snprintf(key, sizeof key, "ProfileName%04d", n);
                plist_dict_set_item(fields[5], key, plist_new_string(it.ProfileName));
            }
            plist_dict_set_item(cls, "iNum", plist_new_uint(uint64_t(int64_t(l.iNum))));
            for (int k = 0; k < 4; ++k)
                plist_dict_set_item(cls, kIntFields[k], fields[k]);
            plist_dict_set_item(cls, "FileName", fields[4]);
            plist_dict_set_item(cls, "ProfileName", fields[5]);
            plist_dict_set_item(root, QVPListClassKey(c), cls);
        }
        plist_dict_set_item(root, "PlistVersion", plist_new_uint(1));
        char* xml = nullptr;
        uint32_t length = 0;
        plist_to_xml(root, &xml, &length);
        benchmark::DoNotOptimize(xml);
        plist_to_xml_free(xml);
        plist_free(root);
    }
}

BENCHMARK(BM_Read_Store)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read_Libplist)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read_GenericValues)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write_Store)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write_Libplist)->Unit(benchmark::kMicrosecond);

// Keeps the mean real time per iteration of each benchmark for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (!r.error_occurred && r.iterations > 0 && r.run_type == Run::RT_Iteration)
                times[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::printf("list file: %zu bytes\n", loadFile(fixture().path).size());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* ours, const char* theirs, const char* what, double target) {
        auto a = reporter.times.find(ours), b = reporter.times.find(theirs);
        if (a == reporter.times.end() || b == reporter.times.end() || a->second <= 0)
            return;
        double r = b->second / a->second;
        std::printf("%s: libplist / store = %.2fx (target at least %.0fx): %s\n", what, r, target,
                    r >= target ? "met" : "NOT met");
    };
    ratio("BM_Read_Store", "BM_Read_Libplist", "read", 4.0);
    ratio("BM_Write_Store", "BM_Write_Libplist", "write", 1.0);
    benchmark::Shutdown();
    return 0;
}
