// A network of its own for end-to-end runs: the process moves into a new
// network namespace (inside a new user namespace when it is not root) whose
// loopback is up, so an SNMP agent can answer on 127.0.0.1:161 without
// touching the machine's network or colliding with another run.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace e2e {

enum class Network {
    Unavailable,  // no private network could be made and the host's port 161 is not usable
    PrivateRoot,  // a new network namespace; the process is the machine's root
    PrivateUser,  // a new user and network namespace; the process is root only inside it
    HostLoopback, // the machine's own loopback (root, namespaces refused, port 161 free)
};

// Enters the private network. Must run while the process has one thread.
// On Unavailable, `why` says what failed.
Network enterPrivateNetwork(std::string* why);

// The words to put before an SNMP agent simulator's command line so that it
// runs as an unprivileged user who may still bind port 161 in this network,
// and the options to append to it.
struct AgentLaunch {
    std::vector<std::string> prefix;
    std::vector<std::string> options;
};
AgentLaunch agentLaunch(Network network);

// A child process with its standard output and error in `logFile`; -1 when
// it could not be started.
pid_t spawn(const std::vector<std::string>& argv, const std::string& logFile);
// Waits up to `seconds` for the child; its exit status (-1 after a signal),
// or -2 when it had to be killed because it did not finish.
int waitFor(pid_t pid, double seconds);
// Asks the child to stop (SIGTERM), kills it after 5 seconds, reaps it.
void stop(pid_t pid);

}  // namespace e2e
