// The service binary run by a test: `BINARY --listen SOCKET` in a child
// process, the socket in a short private directory of its own (socket paths
// are limited to 107 bytes).
#pragma once

#include "tests/support/UnixSocket.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace rxtest {

class ServiceProcess {
public:
    ServiceProcess() = default;
    ~ServiceProcess() { stop(); }
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // Starts the binary with `environment` added to this process's and waits
    // until its socket accepts connections; false when it ended first or did
    // not listen within five seconds. A start after kill9() listens on the
    // same socket path.
    bool start(const std::string& binary, const std::map<std::string, std::string>& environment = {})
    {
        if (socketDir_.empty()) {
            char dir[] = "/tmp/rx8240-test-XXXXXX";
            if (!mkdtemp(dir))
                return false;
            socketDir_ = dir;
            ::chmod(dir, 0755);  // other users' launchers reach the socket too
            socket_ = socketDir_ + "/service.sock";
        }
        pid_ = fork();
        if (pid_ < 0)
            return false;
        if (pid_ == 0) {
            for (const auto& [name, value] : environment)
                setenv(name.c_str(), value.c_str(), 1);
            execl(binary.c_str(), binary.c_str(), "--listen", socket_.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 1000; ++i) {
            if (unixSocketAccepts(socket_))
                return true;
            if (!alive())
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // SIGKILL and reap; the socket directory stays for the next start.
    void kill9() { end(SIGKILL); }

    // SIGTERM and reap; the socket directory goes.
    void stop()
    {
        end(SIGTERM);
        if (!socketDir_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(socketDir_, ignored);
            socketDir_.clear();
            socket_.clear();
        }
    }

    bool alive() const
    {
        int status;
        return pid_ > 0 && waitpid(pid_, &status, WNOHANG) == 0;
    }
    pid_t pid() const { return pid_; }
    const std::string& socket() const { return socket_; }

    // VmRSS (or another field of /proc's status, "VmHWM:" the peak) in KiB
    // and the number of open descriptors, from /proc; -1 when unknown.
    long residentKiB(const std::string& field = "VmRSS:") const
    {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind(field, 0) == 0)
                return std::atol(line.c_str() + field.size());
        return -1;
    }
    long openDescriptors() const
    {
        std::error_code error;
        long n = 0;
        for (auto it = std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", error);
             !error && it != std::filesystem::directory_iterator(); it.increment(error))
            ++n;
        return error ? -1 : n;
    }

private:
    void end(int signal)
    {
        if (pid_ > 0) {
            ::kill(pid_, signal);
            int status;
            waitpid(pid_, &status, 0);
            pid_ = -1;
        }
    }

    pid_t pid_ = -1;
    std::string socket_;
    std::string socketDir_;
};

}  // namespace rxtest
