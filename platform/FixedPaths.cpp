#include "platform/FixedPaths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace rx {

std::string rootPrefix()
{
    const char* root = std::getenv("TARNVALE_ROOT");
    std::string prefix = root ? root : "";
    while (!prefix.empty() && prefix.back() == '/')
        prefix.pop_back();
    return prefix;
}

std::string fixedPath(std::string_view absolutePath)
{
    return rootPrefix() + std::string(absolutePath);
}

std::string loginNameOf(uid_t uid)
{
    struct passwd pw;
    struct passwd* result = nullptr;
    char buffer[4096];
    if (getpwuid_r(uid, &pw, buffer, sizeof buffer, &result) != 0 || !result || !result->pw_name)
        return {};
    return result->pw_name;
}

std::string realUserLoginName()
{
    return loginNameOf(getuid());
}

}  // namespace rx
