// The plug-in's variant of the store's file functions: each change to a list
// file is a request to the service through the launcher.
#include "profilelist/LauncherCalls.h"

#include "platform/FixedPaths.h"
#include "platform/RegularFile.h"
#include "profilelist/LauncherWait.h"
#include "profilelist/ProfileList.h"
#include "protocol/ArgumentStrings.h"

#include <memory>

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;

namespace {

bool isHighSurrogate(char16_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

// The code point at `at`: its length in the text's own units, in UTF-16
// units and in UTF-8 bytes. UTF-8 text is taken to be well-formed.
struct CodePoint {
    std::size_t length, units, bytes;
};

CodePoint codePointAt(std::u16string_view text, std::size_t at)
{
    char16_t u = text[at];
    if (isHighSurrogate(u) && at + 1 < text.size() && isLowSurrogate(text[at + 1]))
        return {2, 2, 4};
    const std::size_t bytes = u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
    return {1, 1, bytes};
}

CodePoint codePointAt(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return {bytes, bytes == 4 ? 2u : 1u, bytes};
}

// The pieces of splitCharEvery, as views into the text, in either encoding.
template <class Char>
std::vector<std::basic_string_view<Char>> cutPieces(std::basic_string_view<Char> text, std::uint64_t chunkLength,
                                                    std::size_t maxUtf8Bytes)
{
    std::vector<std::basic_string_view<Char>> pieces;
    if (text.empty())
        pieces.emplace_back();
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0, units = 0, bytes = 0;
        while (at + length < text.size()) {
            const CodePoint next = codePointAt(text, at + length);
            // A piece always takes its first code point, so it never stays empty.
            if (length > 0 && (units + next.units > chunkLength || bytes + next.bytes > maxUtf8Bytes))
                break;
            length += next.length;
            units += next.units;
            bytes += next.bytes;
        }
        pieces.push_back(text.substr(at, length));
        at += length;
    }
    return pieces;
}

std::string stagingPath(const std::string& current)
{
    return current + ".dummy";
}

// After a write that did not see its commit answered TRUE: takes the write's
// lease back (carrying its token when one was handed out; else the removal
// waits, stoppably, until the lease of whatever write is under way ends),
// which leaves no staging file and refuses every step of the write that may
// still reach the service, and ends the lease with an empty commit. True
// when the wait was given up (`stopped`) and the list holds the write's text
// all the same: a commit the service had read before the stop ran.
bool endUnfinishedWrite(const std::string& path, const std::string& url, const std::string& lease,
                        const std::string& text, bool stopped)
{
    std::vector<LauncherRequest> takeBack;
    if (!lease.empty())
        takeBack.push_back({{std::string(svc::kOpLease), lease}});
    takeBack.push_back({{std::string(svc::kOpRemove), stagingPath(path)}});
    takeBack.push_back({{std::string(svc::kOpCommit), url}});
    if (!lease.empty() || stopped)
        QVPListRunLauncherSequence(takeBack);
    std::string now;
    return stopped && rx::readRegularFile(path, kMaxListFileSize, &now) == rx::RegularRead::Ok && now == text;
}

// Sends the three lists to the service as a staged write of the current
// list, in one sequence of requests: the writability probe; the removal of
// the staging file, which begins the write (the service hands out the
// write's lease with it, and no staging file that an interrupted write left
// stands in front of this write's text); the pieces; the commit. Each runs
// only after a "TRUE", so nothing of a refused write reaches the disk.
int sendLists(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst)
{
    const std::string path = QVPListCurrentPath();
    if (path.empty())
        return -1;
    const std::string url = svc::fileUrlFromPath(path);
    const std::string text = QVPListBuildFileText(rgb, sim, dst);
    if (text.empty() || !svc::isValidUtf8(text))
        return -1;
    // A step of an earlier write whose wait was stopped may still reach the
    // service: it would land in this write's staging file.
    if (!QVPListAwaitLeftoverRuns({svc::kOpRemove, svc::kOpWritePiece, svc::kOpCommit}))
        return -1;
    std::vector<LauncherRequest> requests{{{std::string(svc::kOpIsAdmin), path}},
                                          {{std::string(svc::kOpRemove), stagingPath(path)}}};
    for (std::string_view piece : splitUtf8Every(text, kPieceLength)) {
        LauncherRequest write{{std::string(svc::kOpWritePiece), url}};
        write.commandAndArguments.emplace_back(piece);
        requests.push_back(std::move(write));
    }
    requests.push_back({{std::string(svc::kOpCommit), url}});
    std::string lease;
    auto output = QVPListRunLauncherSequence(requests, &lease);
    if (QVPListOutputHolds(output, std::string(svc::kOpCommit) + "=TRUE"))
        return 0;
    return endUnfinishedWrite(path, url, lease, text, !output) ? 0 : -1;
}

}  // namespace

std::vector<std::u16string> splitCharEvery(std::u16string_view text, std::uint64_t chunkLength,
                                           std::size_t maxUtf8Bytes)
{
    std::vector<std::u16string> pieces;
    for (std::u16string_view piece : cutPieces(text, chunkLength, maxUtf8Bytes))
        pieces.emplace_back(piece);
    return pieces;
}

std::vector<std::string_view> splitUtf8Every(std::string_view text, std::uint64_t chunkLength,
                                             std::size_t maxUtf8Bytes)
{
    return cutPieces(text, chunkLength, maxUtf8Bytes);
}

std::optional<std::u16string> QVPListUtf16FromUtf8(std::string_view text)
{
    if (!svc::isValidUtf8(text))
        return std::nullopt;
    std::u16string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        uint32_t cp;
        if (*p < 0x80) {
            cp = *p++;
        } else if (*p < 0xE0) {
            cp = (uint32_t(p[0] & 0x1F) << 6) | (p[1] & 0x3F);
            p += 2;
        } else if (*p < 0xF0) {
            cp = (uint32_t(p[0] & 0x0F) << 12) | (uint32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
            p += 3;
        } else {
            cp = (uint32_t(p[0] & 0x07) << 18) | (uint32_t(p[1] & 0x3F) << 12) | (uint32_t(p[2] & 0x3F) << 6) |
                 (p[3] & 0x3F);
            p += 4;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string QVPListUtf8FromUtf16(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = text[i];
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (isHighSurrogate(text[i]) || isLowSurrogate(text[i])) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

// ---- The store's file functions, plug-in side -----------------------------

std::string QVPListCurrentPath()
{
    return QVPListLoginPath(kListCurrent);
}

std::string QVPListPreviousPath()
{
    return QVPListLoginPath(kListPrevious);
}

int QVPListIsAdminProfile()
{
    const std::string path = QVPListCurrentPath();
    if (path.empty())
        return 0;
    auto output = QVPListRunLauncher({std::string(svc::kOpIsAdmin), path});
    return QVPListOutputHolds(output, std::string(svc::kOpIsAdmin) + "=TRUE") ? 1 : 0;
}

int QVPListSwapProfile(int swapType)
{
    if (QVPListIsAdminProfile() == 0)
        return -1;
    auto output = QVPListRunLauncher(
        {std::string(svc::kOpSwap), std::to_string(swapType), QVPListCurrentPath(), QVPListPreviousPath()});
    return QVPListOutputHolds(output, std::string(svc::kOpSwap) + "=TRUE") ? 0 : -1;
}

int QVPListExistProfile()
{
    if (QVPListIsAdminProfile() == 0)
        return 0;
    auto output = QVPListRunLauncher({std::string(svc::kOpExist), QVPListCurrentPath()});
    return QVPListOutputHolds(output, std::string(svc::kOpExist) + "=TRUE") ? 1 : 0;
}

int QVPListRemove(int removeType)
{
    if (QVPListIsAdminProfile() == 0)
        return 0;
    const std::string path = QVPListRemovePath(removeType);
    if (path.empty())
        return 0;
    auto output = QVPListRunLauncher({std::string(svc::kOpRemove), path});
    return QVPListOutputHolds(output, std::string(svc::kOpRemove) + "=TRUE") ? 1 : 0;
}

int QVPListWriteProfile_All(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst)
{
    return sendLists(rgb, sim, dst);
}

int QVPListWriteProfile_All_Pap(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst,
                                const ProfileList* rgbDeleted, const ProfileList* simDeleted,
                                const ProfileList* dstDeleted)
{
    auto merged = std::make_unique<ProfileList[]>(3);  // value-initialised: zero-filled
    QVPListMappingProfile_All_Pap(rgb, sim, dst, &merged[0], &merged[1], &merged[2], rgbDeleted, simDeleted,
                                  dstDeleted);
    return sendLists(&merged[0], &merged[1], &merged[2]);
}
