// SNMP agents on loopback for the walk's tests and benchmark: snmpsimd
// serving a .snmprec data file, and a small fake agent that answers SNMP v1
// requests as a test tells it to (out-of-order OIDs, empty answers, error
// statuses, silence).
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace snmptest {

using Oid = std::vector<uint32_t>;

Oid parseOid(const std::string& dotted);
std::string dotted(const Oid& oid);
// The OID of the profile table's column and row: entry prefix, column, 1, row.
Oid columnOid(int column, uint32_t row);

// ---- BER, as much of it as SNMP v1 needs --------------------------------
inline constexpr uint8_t kTagInteger = 0x02;
inline constexpr uint8_t kTagOctetString = 0x04;
inline constexpr uint8_t kTagNull = 0x05;
inline constexpr uint8_t kTagOid = 0x06;
inline constexpr uint8_t kTagGet = 0xA0;
inline constexpr uint8_t kTagGetNext = 0xA1;
inline constexpr uint8_t kTagResponse = 0xA2;

std::string berInteger(int64_t value);
std::string berOid(const Oid& oid);
std::string berTlv(uint8_t tag, const std::string& content);

struct VarBind {
    Oid oid;
    uint8_t type = kTagNull;
    std::string value;  // encoded content octets of the value
};
VarBind intVar(const Oid& oid, int64_t value);
VarBind stringVar(const Oid& oid, const std::string& bytes);

struct Request {
    uint8_t pduType = 0;
    std::string community;
    int64_t requestId = 0;
    std::vector<Oid> oids;
};
// False when the datagram is not an SNMP v1 request of our kind.
bool decodeRequest(const std::string& datagram, Request* out);
std::string encodeResponse(const std::string& community, int64_t requestId, int errorStatus,
                           const std::vector<VarBind>& vars);

// ---- The fake agent -------------------------------------------------------
struct Answer {
    bool silent = false;
    int errorStatus = 0;
    std::vector<VarBind> vars;
};
using Responder = std::function<Answer(const Request&)>;

// A UDP agent on 127.0.0.1 at a free port, answering from its own thread.
class FakeAgent {
public:
    explicit FakeAgent(Responder responder);
    ~FakeAgent();
    FakeAgent(const FakeAgent&) = delete;
    FakeAgent& operator=(const FakeAgent&) = delete;

    int port() const { return port_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    std::vector<Request> requests() const;

private:
    void serve();
    Responder responder_;
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Request> requests_;
    std::thread thread_;
};

// A sorted table of variables answering GET and GETNEXT as an SNMP v1 agent
// does (noSuchName at the end or for an absent OID).
class TableResponder {
public:
    explicit TableResponder(std::vector<VarBind> vars);
    Answer operator()(const Request& request) const;

private:
    std::vector<VarBind> vars_;
};

// ---- snmpsimd ---------------------------------------------------------------
// snmpsimd serving one data file under community "ombrel" on 127.0.0.1 at a
// free port, in a private directory below `workDir`. Stopped by the
// destructor. ok() is false when it could not be started.
class SnmpSimAgent {
public:
    SnmpSimAgent(const std::filesystem::path& workDir, const std::string& snmprecText);
    ~SnmpSimAgent();
    SnmpSimAgent(const SnmpSimAgent&) = delete;
    SnmpSimAgent& operator=(const SnmpSimAgent&) = delete;

    bool ok() const { return pid_ > 0 && ready_; }
    int port() const { return port_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    // Requests logged by the agent so far, as "GET OID" / "GETNEXT OID".
    std::vector<std::string> loggedRequests() const;

private:
    std::filesystem::path dir_;
    pid_t pid_ = -1;
    int port_ = 0;
    bool ready_ = false;
};

// The text of a fixture file under tests/fixtures/snmp.
std::string fixture(const std::string& name);
// One line of a .snmprec file.
std::string snmprecLine(const Oid& oid, int type, const std::string& value);
// A printer's .snmprec data: sysDescr and a profile table of `rows` rows on
// the disk, class 3, with every column filled.
std::string profileTableSnmprec(int rows);

// ---- The environment of a walk ---------------------------------------------
// Directory of this test below TARNVALE_ROOT (created).
std::filesystem::path testRoot();
// Points Net-SNMP's configuration, persistent files and MIBs into the test
// root, so nothing of the system's configuration is read or written. Call
// before the first walk.
void isolateNetSnmp();
// Sets the service's list paths for user "tester" and creates the profile
// directory.
void prepareListPaths();

// Runs mib_walk over a writable copy of the vector.
int walk(const std::vector<std::string>& args);
// The plug-in's vector for an agent, with extra options before the address.
std::vector<std::string> walkArgs(const std::string& address, const std::vector<std::string>& extra = {});
int freeUdpPort();

}  // namespace snmptest

#include <gtest/gtest.h>

namespace snmptest {

// Global set-up of the walk's test programs: Net-SNMP isolated in the test
// root, the service's list paths set.
class WalkEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        isolateNetSnmp();
        prepareListPaths();
    }
};

// Sends one v1 GET (community "ombrel") to 127.0.0.1:port and waits up to
// `ms` for any answer.
bool agentAnswers(int port, int ms);

}  // namespace snmptest
