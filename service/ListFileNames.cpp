#include "service/ListFileNames.h"

#include "protocol/ArgumentStrings.h"

#include <array>
#include <utility>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

namespace {

constexpr std::size_t kMaxNameSize = 100;

constexpr std::array<std::pair<std::string_view, ListKind>, 4> kSuffixes{{
    {"-profile.plist", ListKind::Current},
    {"-profile.prev.plist", ListKind::Previous},
    {"-profile.spool.plist", ListKind::Spool},
    {"-profile.plist.dummy", ListKind::Staging},
}};

bool isSafeName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxNameSize || !isValidUtf8(name))
        return false;
    if (name.find('/') != std::string_view::npos || name.find("..") != std::string_view::npos)
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F)
            return false;
    return true;
}

}  // namespace

bool isSafeUserName(std::string_view name)
{
    return isSafeName(name);
}

bool isSafeModelName(std::string_view name)
{
    return isSafeName(name) && name.find('-') == std::string_view::npos;
}

std::string listFileName(std::string_view user, std::string_view model, ListKind kind)
{
    for (const auto& [suffix, k] : kSuffixes)
        if (k == kind)
            return std::string(user) + "-" + std::string(model) + std::string(suffix);
    return {};
}

std::optional<ListFile> classifyListPath(std::string_view path, std::string_view profileDirectory)
{
    if (profileDirectory.empty() || path.size() <= profileDirectory.size() + 1 ||
        path.substr(0, profileDirectory.size()) != profileDirectory || path[profileDirectory.size()] != '/')
        return std::nullopt;
    return classifyListName(path.substr(profileDirectory.size() + 1));
}

std::optional<ListFile> classifyListName(std::string_view name)
{
    for (const auto& [suffix, kind] : kSuffixes) {
        if (name.size() <= suffix.size() || name.substr(name.size() - suffix.size()) != suffix)
            continue;
        std::string_view stem = name.substr(0, name.size() - suffix.size());
        std::size_t dash = stem.rfind('-');
        if (dash == std::string_view::npos)
            return std::nullopt;
        std::string_view user = stem.substr(0, dash);
        std::string_view model = stem.substr(dash + 1);
        if (!isSafeUserName(user) || !isSafeModelName(model))
            return std::nullopt;
        return ListFile{std::string(user), std::string(model), kind, std::string(name)};
    }
    return std::nullopt;
}

bool mayActFor(const Caller& caller, std::string_view user)
{
    if (caller.uid == 0)
        return true;
    return !caller.login.empty() && caller.login == user;
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
