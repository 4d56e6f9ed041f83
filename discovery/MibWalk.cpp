#include "discovery/MibWalkSnmp.h"

#include "discovery/SpoolRestructure.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

thread_local ProfileList PlistForSpool;

thread_local int numprinted = 0;
int mibWalkTimeLimitSeconds = 300;
thread_local char sDEBUGmsg[kDebugMessageSize];

ProfileList& spoolListOfThisThread()
{
    return PlistForSpool;
}

int& numprintedOfThisThread()
{
    return numprinted;
}

char* debugMessageOfThisThread()
{
    return sDEBUGmsg;
}

namespace {

constexpr const char* kWalkApplication = "snmpwalk";
constexpr int kDefaultRetries = 3;
constexpr long kDefaultTimeoutMicroseconds = 250000;

struct WalkSettingToken {
    const char* token;
    WalkSetting setting;
};
constexpr std::array<WalkSettingToken, 3> kWalkSettingTokens{{
    {"includeRequested", kWalkIncludeRequested},
    {"printStatistics", kWalkPrintStatistics},
    {"dontCheckOrdering", kWalkDontCheckOrdering},
}};

// The profile table: column OIDs share this entry prefix; the column is the
// next sub-identifier, then two instance sub-identifiers (ignored, row).
constexpr std::array<oid, 15> kTableEntry{1, 3, 6, 1, 4, 1, 71362, 1, 1, 1, 1, 6, 13, 1, 1};
constexpr size_t kColumnLength = kTableEntry.size() + 1;  // through the column
constexpr size_t kRowLength = kColumnLength + 2;           // through the row

enum class Field { IndexOnDevice, Location, ProfileName, FileName, ProfileClass, Driver };

struct SpoolColumn {
    oid column;
    u_char type;
    Field field;
};
constexpr std::array<SpoolColumn, 6> kSpoolColumns{{
    {1, ASN_INTEGER, Field::IndexOnDevice},   // iOidIndexOnDevice
    {2, ASN_INTEGER, Field::Location},        // iOidSourceType
    {3, ASN_OCTET_STR, Field::ProfileName},   // iOidProfileName
    {4, ASN_OCTET_STR, Field::FileName},      // iOidFileName
    {5, ASN_INTEGER, Field::ProfileClass},    // iOidProfileClass
    {7, ASN_INTEGER, Field::Driver},          // iOidProfileAvailability
}};

struct PduDeleter {
    void operator()(netsnmp_pdu* pdu) const { snmp_free_pdu(pdu); }
};
using PduPtr = std::unique_ptr<netsnmp_pdu, PduDeleter>;

// The SNMP library's process-wide state (option parsing with getopt, the
// application settings, the MIB tree, transport set-up) is not safe for
// threads: walks take turns for the steps that use it. The exchange itself
// runs on the walk's own session and needs no turn.
std::mutex& libraryTurn()
{
    static std::mutex turn;
    return turn;
}

// The settings of this thread's walk, copied from the library's once its
// vector is parsed; indexed by WalkSetting.
thread_local std::array<bool, 4> walkSettings{};

struct SessionDeleter {
    void operator()(void* sessp) const
    {
        const std::lock_guard turn(libraryTurn());
        snmp_sess_close(sessp);
    }
};
using SessionPtr = std::unique_ptr<void, SessionDeleter>;

// Registers the walk's configuration tokens once per process: the library
// keeps every registration, so registering per walk would only grow its list.
void registerWalkSettings()
{
    static const bool registered = [] {
        for (const auto& t : kWalkSettingTokens)
            netsnmp_ds_register_config(ASN_BOOLEAN, kWalkApplication, t.token, NETSNMP_DS_APPLICATION_ID,
                                       t.setting);
        return true;
    }();
    (void)registered;
}

void resetWalkSettings()
{
    for (const auto& t : kWalkSettingTokens)
        netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, t.setting, 0);
}

void takeWalkSettings()
{
    for (const auto& t : kWalkSettingTokens)
        walkSettings[t.setting] = netsnmp_ds_get_boolean(NETSNMP_DS_APPLICATION_ID, t.setting) != 0;
}

std::string dottedOid(const oid* name, size_t length)
{
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        text += '.';
        text += std::to_string(name[i]);
    }
    return text;
}

bool isException(u_char type)
{
    return type == SNMP_NOSUCHOBJECT || type == SNMP_NOSUCHINSTANCE || type == SNMP_ENDOFMIBVIEW;
}

bool inSubtree(const oid* root, size_t rootLength, const netsnmp_variable_list* var)
{
    return var->name_length >= rootLength && std::memcmp(root, var->name, rootLength * sizeof(oid)) == 0;
}

// Upper bound of variables looked at in one answer; a v1 answer fits one
// UDP datagram, so no honest agent comes near it.
constexpr int kMaxVariablesPerAnswer = 4096;

struct LoopOutcome {
    int result = 0;
    int status = STAT_SUCCESS;  // of the last request
};

// The session's tries as the vector set them, for clipToDeadline.
struct Tries {
    long timeoutMicroseconds;
    int retries;
};

// Fits the next request's tries into what is left until the deadline: each
// try keeps its time-out and fewer are made, or, with less than one time-out
// left, one try waits for what is left. False when nothing is left.
bool clipToDeadline(void* sessp, const Tries& set, std::chrono::steady_clock::time_point deadline)
{
    const long long left = std::chrono::duration_cast<std::chrono::microseconds>(
                               deadline - std::chrono::steady_clock::now())
                               .count();
    if (left <= 0)
        return false;
    netsnmp_session* session = snmp_sess_session(sessp);
    const long long timeout = std::max(set.timeoutMicroseconds, 1L);
    if (left >= timeout) {
        session->timeout = timeout;
        session->retries = static_cast<int>(std::min<long long>(set.retries, left / timeout - 1));
    } else {
        session->timeout = static_cast<long>(left);
        session->retries = 0;
    }
    return true;
}

// The GETNEXT loop from the start OID, ended at the deadline: no request
// waits past it.
LoopOutcome walkLoop(void* sessp, const oid* root, size_t rootLength, const Tries& set,
                     std::chrono::steady_clock::time_point deadline)
{
    LoopOutcome out;
    std::array<oid, MAX_OID_LEN> current{};
    std::copy_n(root, rootLength, current.begin());
    size_t currentLength = rootLength;
    const bool checkOrdering = !walkSetting(kWalkDontCheckOrdering);

    for (int request = 0;; ++request) {
        // Bounded in requests and in time: a device is not trusted to end it.
        if (request == kMaxWalkRequests || !clipToDeadline(sessp, set, deadline)) {
            out.result = 1;
            return out;
        }
        netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GETNEXT);
        snmp_add_null_var(pdu, current.data(), currentLength);
        netsnmp_pdu* rawResponse = nullptr;
        out.status = snmp_sess_synch_response(sessp, pdu, &rawResponse);  // takes the request
        PduPtr response(rawResponse);

        if (out.status == STAT_TIMEOUT) {
            out.result = 1;
            return out;
        }
        if (out.status != STAT_SUCCESS || !response) {
            snmp_sess_perror(kWalkApplication, snmp_sess_session(sessp));
            out.status = STAT_ERROR;
            out.result = 1;
            return out;
        }
        if (response->errstat == SNMP_ERR_NOSUCHNAME)
            return out;  // end of the MIB view
        if (response->errstat != SNMP_ERR_NOERROR) {
            out.result = 2;
            return out;
        }
        if (!response->variables) {
            out.result = 1;  // asking again would get the same empty answer
            return out;
        }

        bool running = true;
        int seen = 0;
        for (const netsnmp_variable_list* var = response->variables; var && seen < kMaxVariablesPerAnswer;
             var = var->next_variable, ++seen) {
            if (!inSubtree(root, rootLength, var) || var->name_length > MAX_OID_LEN) {
                running = false;
                break;
            }
            ++numprinted;
            vSpoolPlist(var->name, var->name_length, var);
            if (isException(var->type)) {
                running = false;
                break;
            }
            if (checkOrdering &&
                snmp_oid_compare(current.data(), currentLength, var->name, var->name_length) >= 0) {
                std::snprintf(sDEBUGmsg, sizeof sDEBUGmsg, "[SNMP] Error: OID not increasing: %s >= %s",
                              dottedOid(current.data(), currentLength).c_str(),
                              dottedOid(var->name, var->name_length).c_str());
                out.result = 1;
                running = false;
            }
            std::copy_n(var->name, var->name_length, current.begin());
            currentLength = var->name_length;
            if (!running)
                break;
        }
        if (!running)
            return out;
    }
}

// The option parser is getopt, whose state outlives a parse: a parse that
// ended inside a cluster of letters ("-Cc..." refused, "-V") leaves it
// pointing into the previous vector. A scan of an empty vector with optind 0
// makes it start afresh.
void resetOptionParser()
{
    char program[] = "snmpwalk";
    char* empty[] = {program, nullptr};
    optind = 0;
    const int saved = opterr;
    opterr = 0;
    (void)::getopt(1, empty, "");
    opterr = saved;
    optind = 1;
}

// The option parser gives the session its own copy of a community named
// with -c, which nobody else frees; a community from the configuration stays
// the library's. snmp_open copies the community, so the copy is released when
// the walk is done with the parsed session.
class ParsedCommunity {
public:
    explicit ParsedCommunity(netsnmp_session* session) : session_(session) {}
    ~ParsedCommunity()
    {
        const char* configured = netsnmp_ds_get_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_COMMUNITY);
        if (session_->community && reinterpret_cast<const char*>(session_->community) != configured)
            std::free(session_->community);
        session_->community = nullptr;
    }
    ParsedCommunity(const ParsedCommunity&) = delete;
    ParsedCommunity& operator=(const ParsedCommunity&) = delete;

private:
    netsnmp_session* session_;
};

// What the library's turn gives a walk: the start OID and an open session,
// or the result that ends the walk early.
struct OpenedWalk {
    int result = 0;
    std::array<oid, MAX_OID_LEN> root{};
    size_t rootLength = 0;
    SessionPtr session;
};

// Parses the vector into a session (settings reset first), the start OID,
// and opens the session; the caller holds the library's turn.
void openWalk(int argc, char* argv[], OpenedWalk* walk)
{
    netsnmp_session session{};
    resetWalkSettings();
    resetOptionParser();
    const int arg = snmp_parse_args(argc, argv, &session, "C:", optProc);
    takeWalkSettings();
    if (arg < 0) {
        const bool passed = arg == NETSNMP_PARSE_ARGS_ERROR_USAGE || arg == NETSNMP_PARSE_ARGS_SUCCESS_EXIT;
        walk->result = passed ? arg : NETSNMP_PARSE_ARGS_ERROR_USAGE;
        return;
    }
    const ParsedCommunity community(&session);

    walk->rootLength = walk->root.size();
    if (arg < argc) {
        if (!snmp_parse_oid(argv[arg], walk->root.data(), &walk->rootLength)) {
            snmp_perror(argv[arg]);
            walk->result = 1;
            return;
        }
    } else {
        constexpr std::array<oid, 6> kMib2{1, 3, 6, 1, 2, 1};
        std::copy(kMib2.begin(), kMib2.end(), walk->root.begin());
        walk->rootLength = kMib2.size();
    }

    if (session.retries == SNMP_DEFAULT_RETRIES)
        session.retries = kDefaultRetries;
    if (session.timeout == SNMP_DEFAULT_TIMEOUT)
        session.timeout = kDefaultTimeoutMicroseconds;

    walk->session.reset(snmp_sess_open(&session));
    if (!walk->session) {
        MyDebugMessage("[UTIL-MIB] SNMP Open Err\n");
        snmp_sess_perror(kWalkApplication, &session);
        walk->result = 1;
    }
}

// Parses the vector, opens the session and walks. Returns the walk's result.
int runWalk(int argc, char* argv[], std::chrono::steady_clock::time_point deadline)
{
    OpenedWalk opened;
    {
        const std::lock_guard turn(libraryTurn());
        openWalk(argc, argv, &opened);
    }
    if (!opened.session)
        return opened.result;
    SessionPtr ss = std::move(opened.session);
    const oid* root = opened.root.data();
    const size_t rootLength = opened.rootLength;

    // Every request, the two GETs included, ends by the deadline.
    const netsnmp_session* session = snmp_sess_session(ss.get());
    const Tries set{session->timeout, std::max(session->retries, 0)};
    if (walkSetting(kWalkIncludeRequested) && clipToDeadline(ss.get(), set, deadline))
        snmp_get_and_print(ss.get(), root, rootLength);

    const LoopOutcome outcome = walkLoop(ss.get(), root, rootLength, set, deadline);

    if (outcome.status == STAT_SUCCESS && numprinted == 0 && clipToDeadline(ss.get(), set, deadline))
        snmp_get_and_print(ss.get(), root, rootLength);
    ss.reset();

    if (walkSetting(kWalkPrintStatistics)) {
        char message[kDebugMessageSize];
        std::snprintf(message, sizeof message, "[UTIL-MIB] Variables found: %d\n", numprinted);
        MyDebugMessage(message);
    }
    return outcome.result;
}

}  // namespace

bool walkSetting(WalkSetting setting)
{
    return walkSettings[setting];
}

void optProc(int /*argc*/, char* const* /*argv*/, int opt)
{
    if (opt != 'C' || !optarg)
        return;
    for (const char* letter = optarg; *letter; ++letter) {
        switch (*letter) {
        case 'c':
            netsnmp_ds_toggle_boolean(NETSNMP_DS_APPLICATION_ID, kWalkDontCheckOrdering);
            break;
        case 'p':
            netsnmp_ds_toggle_boolean(NETSNMP_DS_APPLICATION_ID, kWalkPrintStatistics);
            break;
        case 'i':
            netsnmp_ds_toggle_boolean(NETSNMP_DS_APPLICATION_ID, kWalkIncludeRequested);
            break;
        default:
            std::memset(sDEBUGmsg, 0, sizeof sDEBUGmsg);
            std::snprintf(sDEBUGmsg, sizeof sDEBUGmsg, "Unknown flag passed to -C: %c\n", *letter);
            break;
        }
    }
}

void snmp_get_and_print(void* sessp, const oid* theoid, size_t theoid_len)
{
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
    snmp_add_null_var(pdu, theoid, theoid_len);
    netsnmp_pdu* rawResponse = nullptr;
    const int status = snmp_sess_synch_response(sessp, pdu, &rawResponse);
    PduPtr response(rawResponse);
    if (status != STAT_SUCCESS || !response || response->errstat != SNMP_ERR_NOERROR)
        return;
    const std::lock_guard turn(libraryTurn());  // the printer reads the MIB tree
    int seen = 0;
    for (const netsnmp_variable_list* var = response->variables; var && seen < kMaxVariablesPerAnswer;
         var = var->next_variable, ++seen) {
        ++numprinted;
        print_variable(var->name, var->name_length, var);
    }
}

void vSpoolPlist(const oid* name, size_t name_length, const netsnmp_variable_list* var)
{
    if (!name || !var || name_length < kColumnLength ||
        !std::equal(kTableEntry.begin(), kTableEntry.end(), name))
        return;
    const oid column = name[kColumnLength - 1];
    const auto* spec = std::find_if(kSpoolColumns.begin(), kSpoolColumns.end(),
                                    [&](const SpoolColumn& c) { return c.column == column && c.type == var->type; });
    if (spec == kSpoolColumns.end())
        return;
    if (name_length < kRowLength)
        return;  // no row sub-identifier
    const oid row = name[kRowLength - 1];
    if (row < 1 || row > static_cast<oid>(kProfileListCapacity))
        return;
    ProfileListItem& slot = PlistForSpool.litem[row - 1];

    if (var->type == ASN_INTEGER) {
        if (!var->val.integer)
            return;
        const auto value = static_cast<int32_t>(*var->val.integer);
        switch (spec->field) {
        case Field::IndexOnDevice:
            slot.iIndexOnDevice = value;
            ++PlistForSpool.iNum;
            break;
        case Field::Location: slot.iLocation = value; break;
        case Field::ProfileClass: slot.iProfileClass = value; break;
        case Field::Driver: slot.iDriver = value; break;
        default: break;
        }
        return;
    }
    const char* bytes = reinterpret_cast<const char*>(var->val.string);
    size_t length = bytes ? var->val_len : 0;
    if (const void* nul = length ? std::memchr(bytes, '\0', length) : nullptr)
        length = static_cast<size_t>(static_cast<const char*>(nul) - bytes);
    char* field = spec->field == Field::FileName ? slot.FileName : slot.ProfileName;
    QVPListCopyName(field, length ? bytes : "", length);
}

int mib_walk(int argc, char* argv[])
{
    return mib_walk_until(argc, argv, std::chrono::steady_clock::time_point::max());
}

int mib_walk_until(int argc, char* argv[], std::chrono::steady_clock::time_point deadline)
{
    return mib_walk_merge(mib_walk_exchange(argc, argv, deadline));
}

int mib_walk_exchange(int argc, char* argv[], std::chrono::steady_clock::time_point deadline)
{
    {
        const std::lock_guard turn(libraryTurn());
        registerWalkSettings();
    }
    std::memset(&PlistForSpool, 0, sizeof PlistForSpool);
    numprinted = 0;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(mibWalkTimeLimitSeconds);
    return runWalk(argc, argv, std::min(deadline, limit));
}

int mib_walk_merge(int result)
{
    // A walk whose answer could not be written into the list did not do its
    // work: a failed merge turns a normal end into result 1.
    const int merged = vRestructPlistSpool2Current(result != 0 ? 1 : 0);
    return result == 0 && merged != 0 ? 1 : result;
}
