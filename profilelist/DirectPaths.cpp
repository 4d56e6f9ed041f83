// The service's list paths: those of the request in progress.
#include "profilelist/ProfileList.h"
#include "profilelist/ServicePaths.h"

thread_local std::string QV_PLIST_PROFILE_PATH;
thread_local std::string QV_PLIST_PROFILE_PREV_PATH;
thread_local std::string QV_PLIST_PROFILE_SPOOL_PATH;

bool QVPListSetServicePaths(const std::string& user, const std::string& model)
{
    std::string current = QVPListFormPath(user, model, kListCurrent);
    std::string previous = QVPListFormPath(user, model, kListPrevious);
    std::string spool = QVPListFormPath(user, model, kListSpool);
    if (current.empty() || previous.empty() || spool.empty()) {
        // No stale paths of an earlier request stay in use.
        QV_PLIST_PROFILE_PATH.clear();
        QV_PLIST_PROFILE_PREV_PATH.clear();
        QV_PLIST_PROFILE_SPOOL_PATH.clear();
        return false;
    }
    QV_PLIST_PROFILE_PATH = std::move(current);
    QV_PLIST_PROFILE_PREV_PATH = std::move(previous);
    QV_PLIST_PROFILE_SPOOL_PATH = std::move(spool);
    return true;
}

std::string QVPListCurrentPath()
{
    return QV_PLIST_PROFILE_PATH;
}

std::string QVPListPreviousPath()
{
    return QV_PLIST_PROFILE_PREV_PATH;
}
