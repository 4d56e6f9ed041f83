// The built plug-in as a host loads it: what its shared library exports, and
// the exported logging functions at work.
#include <gtest/gtest.h>

#include "tests/support/Files.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <elf.h>
#include <set>
#include <string>

namespace {

std::string pluginPath()
{
    const char* bundle = std::getenv("RX_BUNDLE_DIR");
    return std::string(bundle ? bundle : "") + "/libColorOptionsPDE.so";
}

// The names the ELF file's dynamic symbol table defines (global or weak).
std::set<std::string> definedDynamicSymbols(const std::string& path)
{
    const std::string image = rxtest::readFile(path);
    std::set<std::string> names;
    if (image.size() < sizeof(Elf64_Ehdr))
        return names;
    const auto* header = reinterpret_cast<const Elf64_Ehdr*>(image.data());
    const auto* sections = reinterpret_cast<const Elf64_Shdr*>(image.data() + header->e_shoff);
    for (int s = 0; s < header->e_shnum; ++s) {
        if (sections[s].sh_type != SHT_DYNSYM)
            continue;
        const char* strings = image.data() + sections[sections[s].sh_link].sh_offset;
        const auto* symbols = reinterpret_cast<const Elf64_Sym*>(image.data() + sections[s].sh_offset);
        for (size_t i = 0; i < sections[s].sh_size / sizeof(Elf64_Sym); ++i) {
            const unsigned bind = ELF64_ST_BIND(symbols[i].st_info);
            if (symbols[i].st_shndx != SHN_UNDEF && (bind == STB_GLOBAL || bind == STB_WEAK))
                names.insert(strings + symbols[i].st_name);
        }
    }
    return names;
}

struct Library {
    void* handle = dlopen(pluginPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ~Library()
    {
        if (handle)
            dlclose(handle);
    }
};

TEST(PluginExports, OnlyTheEntryAndTheLoggingFunctions)
{
    const std::set<std::string> expected = {"qt_plugin_instance", "qt_plugin_query_metadata_v2", "MyLog",
                                            "_PDEProlog", "_PDEEpilog", "_PDELog", "_DEBUGControlTable"};
    std::set<std::string> exported = definedDynamicSymbols(pluginPath());
    // Symbols the linker itself defines in every shared object.
    for (const char* linkerDefined : {"_init", "_fini", "_edata", "_end", "__bss_start"})
        exported.erase(linkerDefined);
    EXPECT_EQ(exported, expected);

    Library library;
    ASSERT_TRUE(library.handle) << dlerror();
    for (const std::string& name : expected)
        EXPECT_TRUE(dlsym(library.handle, name.c_str())) << name;
}

// MyLog writes in the encoding of the current locale: a character the locale
// cannot hold becomes "?", never its UTF-8 bytes.
TEST(PluginExports, MyLogWritesTheLocalesEncoding)
{
    Library library;
    ASSERT_TRUE(library.handle) << dlerror();
    using MyLogFunction = int (*)(FILE*, const char*, ...);
    auto myLog = reinterpret_cast<MyLogFunction>(dlsym(library.handle, "MyLog"));
    ASSERT_TRUE(myLog);
    const std::string previous = std::setlocale(LC_CTYPE, nullptr);
    struct Case {
        const char* locale;
        const char* written;
    } cases[] = {{"C", "caf? ? ?!"}, {"C.UTF-8", "caf\xC3\xA9 \xE2\x80\x94 \xE2\x82\xAC!"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(std::setlocale(LC_CTYPE, c.locale)) << c.locale;
        char* buffer = nullptr;
        size_t size = 0;
        FILE* stream = open_memstream(&buffer, &size);
        ASSERT_TRUE(stream);
        EXPECT_EQ(myLog(stream, "caf\xC3\xA9 %s %@!", "\xE2\x80\x94", "\xE2\x82\xAC"), 0);
        std::fclose(stream);
        const std::string written(buffer, size);
        std::free(buffer);
        EXPECT_EQ(written, c.written) << c.locale;
    }
    std::setlocale(LC_CTYPE, previous.c_str());
}

}  // namespace
