// Which files a request may name: inside the profile directory, only the
// list files USER-MODEL-profile.plist, .prev.plist, .spool.plist and the
// staging file USER-MODEL-profile.plist.dummy of the caller's own login name
// (root may act for any user). Pure rules over text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

enum class ListKind { Current, Previous, Spool, Staging };

// "USER-MODEL": every file of one list shares it, and so does its lock.
inline std::string listStem(const std::string& user, const std::string& model)
{
    return user + "-" + model;
}

struct ListFile {
    std::string user;
    std::string model;
    ListKind kind = ListKind::Current;
    std::string name;  // the file name inside the profile directory
    std::string stem() const { return listStem(user, model); }
};

// A user or model name a request may carry: non-empty, at most 100 bytes,
// valid UTF-8, without "/", "..", NUL or control characters. A model name
// holds no "-" either, so a file name splits into user and model one way only.
bool isSafeUserName(std::string_view name);
bool isSafeModelName(std::string_view name);

// The file name of a list file.
std::string listFileName(std::string_view user, std::string_view model, ListKind kind);

// Classifies a path: empty unless it is "<profileDirectory>/<name>" (exactly
// that text, no other spelling) with <name> one of the list file names built
// from safe user and model names.
std::optional<ListFile> classifyListPath(std::string_view path, std::string_view profileDirectory);
// The same for a bare file name inside the profile directory.
std::optional<ListFile> classifyListName(std::string_view name);

// The caller of a request as the socket's peer credentials give it.
struct Caller {
    uid_t uid = static_cast<uid_t>(-1);
    std::string login;  // empty when the uid has no login name
};

// True when the caller may act on the files of `user`.
bool mayActFor(const Caller& caller, std::string_view user);

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
