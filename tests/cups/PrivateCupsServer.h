// A private CUPS scheduler for tests: its own configuration, spool, cache,
// state and logs below one directory, listening on a free loopback port,
// with file devices allowed and no sharing or browsing. It runs as root's
// usual scheduler user when started by root, else as the current user. Only
// the user who started it administers its queues: a client that names
// another user (CUPS_USER) is refused.
// The destructor stops it.
#pragma once

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace rxtest {

class PrivateCupsServer {
public:
    explicit PrivateCupsServer(std::string root);
    ~PrivateCupsServer();
    PrivateCupsServer(const PrivateCupsServer&) = delete;
    PrivateCupsServer& operator=(const PrivateCupsServer&) = delete;

    // The directory of PPD files the scheduler lists as models (lpinfo -m)
    // in place of the machine's; set before start().
    void setModelDirectory(std::string directory) { modelDirectory_ = std::move(directory); }

    // Filters of this scheduler: the machine's, and these programs beside
    // them (copied into a private ServerBin); set before start().
    void addFilterProgram(std::string path) { filterPrograms_.push_back(std::move(path)); }
    // The scheduler's LogLevel ("warn" unless set before start()).
    void setLogLevel(std::string level) { logLevel_ = std::move(level); }

    // Starts cupsd and waits until it accepts connections. False with a
    // message when it cannot run here (no cupsd, refused configuration).
    bool start(std::string* error);
    void stop();

    // "127.0.0.1:PORT", the value for CUPS_SERVER and "-h".
    std::string address() const;

    // Adds a queue with the PPD (none when empty) and device URI that accepts
    // jobs but does not print them: submitted jobs stay pending, with their
    // attributes.
    bool addQueue(const std::string& name, const std::string& ppd, const std::string& deviceUri,
                  std::string* error);

    // Adds a queue that prints: its jobs run through the filters to the
    // device.
    bool addPrintingQueue(const std::string& name, const std::string& ppd, const std::string& deviceUri,
                          std::string* error);

    // Every attribute of the job as the scheduler reports it (name -> text of
    // the values); empty when the scheduler does not know the job.
    std::map<std::string, std::string> jobAttributes(int jobId) const;

    // The scheduler's error log, for failure messages.
    std::string errorLog() const;

private:
    bool run(const std::string& program, const std::vector<std::string>& args, std::string* error) const;

    bool makeDataDirectory(std::string* error) const;
    bool makeServerBin(std::string* error) const;

    std::string root_;
    std::string modelDirectory_;
    std::vector<std::string> filterPrograms_;
    std::string logLevel_ = "warn";
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace rxtest
