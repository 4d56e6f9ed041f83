// A service under a private root for tests: the real launcher installed at
// its fixed path, a service binary listening on a socket in the root, and
// TARNVALE_ROOT and RX8240_SERVICE_SOCKET set for this process and the
// launchers it starts.
#pragma once

#include "tests/support/Files.h"
#include "tests/support/ServiceProcess.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace rxtest {

struct ServiceOptions {
    std::string binary;                           // service executable
    std::map<std::string, std::string> environment;  // extra variables for the service only
};

class ServiceUnderRoot {
public:
    // Makes a fresh root named after the running test, installs the
    // launcher, starts the service and waits for its socket and its profile
    // directory.
    void start(const ServiceOptions& options);
    void stop() { process_.stop(); }

    const std::string& root() const { return root_; }
    std::string profileDirectory() const;
    std::string socketPath() const { return process_.socket(); }
    // A list file path of the profile directory.
    std::string listPath(const std::string& user, const std::string& suffix = "-rx8240-profile.plist") const;
    pid_t pid() const { return process_.pid(); }
    long peakResidentKiB() const { return process_.residentKiB("VmHWM:"); }
    long residentKiB() const { return process_.residentKiB(); }
    bool running() const { return process_.alive(); }

private:
    // Waits up to ten seconds for the service's profile directory; false when
    // the service ended first or never made it.
    bool profileDirectoryAppears() const;

    std::string root_;
    ServiceProcess process_;
};

// Runs the installed launcher with these arguments (through the plug-in's
// launcher run) and returns its output; "" when it could not run.
std::string runHelper(const std::vector<std::string>& arguments);

// Runs the installed launcher as another user (setpriv), output returned.
std::string runHelperAs(const std::string& user, const std::vector<std::string>& arguments);

// Runs `body` in a child process that has dropped to `user` (and group
// nogroup); the child's exit status is what body returns. waitChild gives it
// (-1 when the child did not exit normally).
pid_t forkAsUser(const std::string& user, const std::function<int()>& body);
int waitChild(pid_t pid);


// Every entry below a directory with its kind and content (or link target),
// to show that nothing changed.
std::map<std::string, std::string> snapshot(const std::string& directory);

// Raw socket access for malformed requests.
int connectTo(const std::string& socketPath);
bool sendFrame(int fd, const std::string& payload);
// Waits up to `seconds` for the peer to close; true when it did.
bool closedByPeer(int fd, double seconds);

}  // namespace rxtest
