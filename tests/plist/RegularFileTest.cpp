// The one whole-file read: which files each link rule takes, and the cap.
#include "platform/RegularFile.h"
#include "tests/support/Files.h"

#include <gmock/gmock.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace {

namespace fs = std::filesystem;
using rx::LinkRule;
using rx::RegularRead;

TEST(RegularFile, EachLinkRuleTakesItsFilesAndNothingAboveTheLimit)
{
    const char* base = std::getenv("RX_TEST_ROOT");
    ASSERT_NE(base, nullptr) << "RX_TEST_ROOT is not set";
    const fs::path dir = fs::path(base) / "regular-file";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string plain = dir / "plain", linked = dir / "linked", twice = dir / "twice";
    const std::string fifo = dir / "fifo", missing = dir / "missing";
    rxtest::writeFile(plain, "0123456789");
    fs::create_symlink(plain, linked);
    rxtest::writeFile(twice, "abc");
    fs::create_hard_link(twice, dir / "twice-again");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    const struct {
        const char* what;
        std::string path;
        std::size_t limit;
        LinkRule links;
        RegularRead result;
        const char* text;  // read when the result is Ok
    } cases[] = {
        {"plain file", plain, 10, LinkRule::Refuse, RegularRead::Ok, "0123456789"},
        {"above the limit", plain, 9, LinkRule::Follow, RegularRead::TooLarge, ""},
        {"symbolic link, refused", linked, 64, LinkRule::Refuse, RegularRead::Refused, ""},
        {"symbolic link, followed", linked, 64, LinkRule::Follow, RegularRead::Ok, "0123456789"},
        {"two links, refused", twice, 64, LinkRule::Refuse, RegularRead::Refused, ""},
        {"two links, taken", twice, 64, LinkRule::Follow, RegularRead::Ok, "abc"},
        {"FIFO, without blocking", fifo, 64, LinkRule::Follow, RegularRead::Refused, ""},
        {"directory", dir.string(), 64, LinkRule::Follow, RegularRead::Refused, ""},
        {"nothing there", missing, 64, LinkRule::Refuse, RegularRead::NotFound, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text;
        std::vector<char> bytes;
        EXPECT_EQ(rx::readRegularFile(c.path, c.limit, &text, c.links), c.result);
        EXPECT_EQ(rx::readRegularFile(c.path, c.limit, &bytes, c.links), c.result);
        if (c.result == RegularRead::Ok) {
            EXPECT_EQ(text, c.text);
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.text);
        }
    }
}

}  // namespace
