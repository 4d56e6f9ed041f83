#include "tests/discovery/SnmpTestAgents.h"

#include "discovery/MibWalk.h"
#include "profilelist/ServicePaths.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>

extern char** environ;

namespace snmptest {

namespace fs = std::filesystem;

Oid parseOid(const std::string& text)
{
    Oid oid;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, '.'))
        if (!part.empty())
            oid.push_back(static_cast<uint32_t>(std::stoul(part)));
    return oid;
}

std::string dotted(const Oid& oid)
{
    std::string text;
    for (size_t i = 0; i < oid.size(); ++i)
        text += (i ? "." : "") + std::to_string(oid[i]);
    return text;
}

Oid columnOid(int column, uint32_t row)
{
    Oid oid = parseOid(kProfileTableOid);
    oid.push_back(static_cast<uint32_t>(column));
    oid.push_back(1);
    oid.push_back(row);
    return oid;
}

// ---- BER ----------------------------------------------------------------------

std::string berTlv(uint8_t tag, const std::string& content)
{
    std::string out(1, static_cast<char>(tag));
    const size_t n = content.size();
    if (n < 0x80) {
        out += static_cast<char>(n);
    } else {
        std::string len;
        for (size_t v = n; v; v >>= 8)
            len.insert(len.begin(), static_cast<char>(v & 0xFF));
        out += static_cast<char>(0x80 | len.size());
        out += len;
    }
    return out + content;
}

std::string berInteger(int64_t value)
{
    std::string bytes;
    for (int i = 7; i >= 0; --i)
        bytes += static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF);
    // Drop redundant leading octets.
    while (bytes.size() > 1 && ((bytes[0] == 0 && !(bytes[1] & 0x80)) ||
                                (static_cast<uint8_t>(bytes[0]) == 0xFF && (bytes[1] & 0x80))))
        bytes.erase(bytes.begin());
    return bytes;
}

std::string berOid(const Oid& oid)
{
    std::string out;
    auto sub = [&](uint32_t v) {
        std::string b(1, static_cast<char>(v & 0x7F));
        for (v >>= 7; v; v >>= 7)
            b.insert(b.begin(), static_cast<char>(0x80 | (v & 0x7F)));
        out += b;
    };
    if (oid.size() >= 2) {
        sub(oid[0] * 40 + oid[1]);
        for (size_t i = 2; i < oid.size(); ++i)
            sub(oid[i]);
    }
    return out;
}

VarBind intVar(const Oid& oid, int64_t value)
{
    return {oid, kTagInteger, berInteger(value)};
}

VarBind stringVar(const Oid& oid, const std::string& bytes)
{
    return {oid, kTagOctetString, bytes};
}

namespace {

// A reader over BER bytes; every read is checked against the end.
struct Reader {
    const std::string& data;
    size_t pos = 0;
    size_t end;

    bool next(uint8_t* tag, std::string* content)
    {
        if (pos + 2 > end)
            return false;
        *tag = static_cast<uint8_t>(data[pos++]);
        size_t len = static_cast<uint8_t>(data[pos++]);
        if (len & 0x80) {
            const size_t octets = len & 0x7F;
            if (octets == 0 || octets > 4 || pos + octets > end)
                return false;
            len = 0;
            for (size_t i = 0; i < octets; ++i)
                len = (len << 8) | static_cast<uint8_t>(data[pos++]);
        }
        if (pos + len > end)
            return false;
        *content = data.substr(pos, len);
        pos += len;
        return true;
    }
};

int64_t decodeInteger(const std::string& bytes)
{
    int64_t v = bytes.empty() || !(bytes[0] & 0x80) ? 0 : -1;
    for (char c : bytes)
        v = (v << 8) | static_cast<uint8_t>(c);
    return v;
}

Oid decodeOid(const std::string& bytes)
{
    Oid oid;
    uint32_t v = 0;
    for (char c : bytes) {
        v = (v << 7) | (static_cast<uint8_t>(c) & 0x7F);
        if (!(c & 0x80)) {
            if (oid.empty()) {
                oid.push_back(v < 80 ? v / 40 : 2);
                oid.push_back(v < 80 ? v % 40 : v - 80);
            } else {
                oid.push_back(v);
            }
            v = 0;
        }
    }
    return oid;
}

}  // namespace

bool decodeRequest(const std::string& datagram, Request* out)
{
    Reader top{datagram, 0, datagram.size()};
    uint8_t tag = 0;
    std::string message;
    if (!top.next(&tag, &message) || tag != 0x30)
        return false;
    Reader msg{message, 0, message.size()};
    std::string version, pdu;
    if (!msg.next(&tag, &version) || tag != kTagInteger || decodeInteger(version) != 0)
        return false;
    if (!msg.next(&tag, &out->community) || tag != kTagOctetString)
        return false;
    if (!msg.next(&out->pduType, &pdu))
        return false;
    Reader p{pdu, 0, pdu.size()};
    std::string id, status, index, list;
    if (!p.next(&tag, &id) || !p.next(&tag, &status) || !p.next(&tag, &index) || !p.next(&tag, &list))
        return false;
    out->requestId = decodeInteger(id);
    Reader l{list, 0, list.size()};
    std::string bind;
    while (l.next(&tag, &bind)) {
        Reader b{bind, 0, bind.size()};
        std::string name;
        if (!b.next(&tag, &name) || tag != kTagOid)
            return false;
        out->oids.push_back(decodeOid(name));
    }
    return true;
}

std::string encodeResponse(const std::string& community, int64_t requestId, int errorStatus,
                           const std::vector<VarBind>& vars)
{
    std::string list;
    for (const VarBind& v : vars)
        list += berTlv(0x30, berTlv(kTagOid, berOid(v.oid)) + berTlv(v.type, v.value));
    const std::string pdu = berTlv(kTagInteger, berInteger(requestId)) +
                            berTlv(kTagInteger, berInteger(errorStatus)) +
                            berTlv(kTagInteger, berInteger(errorStatus ? 1 : 0)) + berTlv(0x30, list);
    return berTlv(0x30, berTlv(kTagInteger, berInteger(0)) + berTlv(kTagOctetString, community) +
                            berTlv(kTagResponse, pdu));
}

// ---- The fake agent -------------------------------------------------------------

FakeAgent::FakeAgent(Responder responder) : responder_(std::move(responder))
{
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        return;
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { serve(); });
}

FakeAgent::~FakeAgent()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (fd_ >= 0)
        ::close(fd_);
}

std::vector<Request> FakeAgent::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void FakeAgent::serve()
{
    std::string buffer(65536, '\0');
    while (!stop_) {
        pollfd pfd{fd_, POLLIN, 0};
        if (::poll(&pfd, 1, 20) <= 0)
            continue;
        sockaddr_in peer{};
        socklen_t peerLen = sizeof peer;
        const ssize_t n = ::recvfrom(fd_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&peer),
                                     &peerLen);
        if (n <= 0)
            continue;
        Request request;
        if (!decodeRequest(buffer.substr(0, static_cast<size_t>(n)), &request))
            continue;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        const Answer answer = responder_(request);
        if (answer.silent)
            continue;
        const std::string reply = encodeResponse(request.community, request.requestId, answer.errorStatus,
                                                 answer.vars);
        ::sendto(fd_, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&peer), peerLen);
    }
}

TableResponder::TableResponder(std::vector<VarBind> vars) : vars_(std::move(vars))
{
    std::sort(vars_.begin(), vars_.end(), [](const VarBind& a, const VarBind& b) { return a.oid < b.oid; });
}

Answer TableResponder::operator()(const Request& request) const
{
    Answer answer;
    for (const Oid& asked : request.oids) {
        auto it = request.pduType == kTagGetNext
                      ? std::upper_bound(vars_.begin(), vars_.end(), asked,
                                         [](const Oid& o, const VarBind& v) { return o < v.oid; })
                      : std::find_if(vars_.begin(), vars_.end(), [&](const VarBind& v) { return v.oid == asked; });
        if (it == vars_.end()) {
            answer.errorStatus = 2;  // noSuchName
            answer.vars.push_back({asked, kTagNull, {}});
            continue;
        }
        answer.vars.push_back(*it);
    }
    return answer;
}

// ---- snmpsimd --------------------------------------------------------------------

int freeUdpPort()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

namespace {

std::string findSnmpsimd()
{
    for (const char* candidate : {"/usr/bin/snmpsimd", "/usr/bin/snmpsim-command-responder", "/usr/bin/snmpsimd.py"})
        if (::access(candidate, X_OK) == 0)
            return candidate;
    return {};
}

}  // namespace

bool agentAnswers(int port, int ms)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    const std::string pdu = berTlv(kTagInteger, berInteger(1)) + berTlv(kTagInteger, berInteger(0)) +
                            berTlv(kTagInteger, berInteger(0)) +
                            berTlv(0x30, berTlv(0x30, berTlv(kTagOid, berOid(parseOid("1.3.6.1.2.1.1.1.0"))) +
                                                          berTlv(kTagNull, {})));
    const std::string request = berTlv(0x30, berTlv(kTagInteger, berInteger(0)) +
                                                 berTlv(kTagOctetString, "ombrel") + berTlv(kTagGet, pdu));
    ::sendto(fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    pollfd pfd{fd, POLLIN, 0};
    const bool ok = ::poll(&pfd, 1, ms) == 1;
    ::close(fd);
    return ok;
}

SnmpSimAgent::SnmpSimAgent(const fs::path& workDir, const std::string& snmprecText)
{
    static int counter = 0;
    dir_ = workDir / ("snmpsim-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "data");
    fs::create_directories(dir_ / "cache");
    std::ofstream(dir_ / "data" / "ombrel.snmprec") << snmprecText;
    // The agent drops to nobody when started as root.
    for (const fs::path& p : {dir_, dir_ / "data", dir_ / "cache"})
        fs::permissions(p, fs::perms::all);
    fs::permissions(dir_ / "data" / "ombrel.snmprec", fs::perms::owner_all | fs::perms::group_read |
                                                          fs::perms::others_read);

    const std::string program = findSnmpsimd();
    port_ = freeUdpPort();
    if (program.empty() || port_ == 0)
        return;
    std::vector<std::string> args{program,
                                  "--data-dir=" + (dir_ / "data").string(),
                                  "--cache-dir=" + (dir_ / "cache").string(),
                                  "--agent-udpv4-endpoint=127.0.0.1:" + std::to_string(port_),
                                  "--logging-method=file:" + (dir_ / "agent.log").string()};
    if (::geteuid() == 0) {
        args.push_back("--process-user=nobody");
        args.push_back("--process-group=nogroup");
    }
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string out = (dir_ / "agent.out").string();
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        pid_ = -1;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        if (agentAnswers(port_, 200)) {
            ready_ = true;
            return;
        }
    }
}

SnmpSimAgent::~SnmpSimAgent()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
                break;
            }
            ::usleep(10000);
        }
    }
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
}

std::vector<std::string> SnmpSimAgent::loggedRequests() const
{
    std::vector<std::string> out;
    std::ifstream log(dir_ / "agent.log");
    static const std::regex line(R"(Request var-binds: ([0-9.]+)=<>, flags: (EXACT|NEXT))");
    std::string text;
    while (std::getline(log, text)) {
        std::smatch m;
        if (std::regex_search(text, m, line))
            out.push_back((m[2] == "EXACT" ? "GET " : "GETNEXT ") + m[1].str());
    }
    return out;
}

std::string fixture(const std::string& name)
{
    const char* source = std::getenv("RX_SOURCE_DIR");
    std::ifstream in(fs::path(source ? source : ".") / "tests" / "fixtures" / "snmp" / name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string snmprecLine(const Oid& oid, int type, const std::string& value)
{
    return dotted(oid) + "|" + std::to_string(type) + "|" + value + "\n";
}

// ---- The environment of a walk ---------------------------------------------------

fs::path testRoot()
{
    const char* root = std::getenv("RX_TEST_ROOT");
    fs::path dir = root ? fs::path(root) : fs::temp_directory_path() / "rx8240-walk-test";
    fs::create_directories(dir);
    return dir;
}

std::string profileTableSnmprec(int rows)
{
    std::string text = snmprecLine(parseOid("1.3.6.1.2.1.1.1.0"), 4, "rx8240 colour printer");
    for (int column = 1; column <= 7; ++column) {
        for (uint32_t r = 1; r <= static_cast<uint32_t>(rows); ++r) {
            const Oid oid = columnOid(column, r);
            switch (column) {
            case 3: text += snmprecLine(oid, 4, "Profile number " + std::to_string(r)); break;
            case 4: text += snmprecLine(oid, 4, "PROF" + std::to_string(r) + ".ICC"); break;
            case 6: text += snmprecLine(oid, 4, "unused"); break;
            default: text += snmprecLine(oid, 2, std::to_string(column == 2 ? 4 : column == 5 ? 3 : r)); break;
            }
        }
    }
    return text + snmprecLine(parseOid("1.3.6.1.4.1.71362.1.1.1.1.6.13.1.2.0"), 2, "0");
}

void isolateNetSnmp()
{
    const fs::path root = testRoot();
    for (const char* sub : {"snmp-conf", "snmp-persist", "snmp-mibs"})
        fs::create_directories(root / sub);
    ::setenv("SNMPCONFPATH", (root / "snmp-conf").c_str(), 1);
    ::setenv("SNMP_PERSISTENT_DIR", (root / "snmp-persist").c_str(), 1);
    ::setenv("MIBDIRS", (root / "snmp-mibs").c_str(), 1);
    ::setenv("MIBS", "", 1);
}

void prepareListPaths()
{
    QVPListSetServicePaths("tester", "rx8240");
    fs::create_directories(fs::path(QV_PLIST_PROFILE_PATH).parent_path());
}

int walk(const std::vector<std::string>& args)
{
    std::vector<std::unique_ptr<char[]>> copies;
    std::vector<char*> argv;
    for (const std::string& a : args) {
        copies.push_back(std::make_unique<char[]>(a.size() + 1));
        std::memcpy(copies.back().get(), a.c_str(), a.size() + 1);
        argv.push_back(copies.back().get());
    }
    argv.push_back(nullptr);
    return mib_walk(static_cast<int>(args.size()), argv.data());
}

std::vector<std::string> walkArgs(const std::string& address, const std::vector<std::string>& extra)
{
    std::vector<std::string> args{"snmpwalk", "-Os", "-c", "ombrel", "-v", "1"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(address);
    args.push_back(kProfileTableOid);
    return args;
}

}  // namespace snmptest
