#include "tests/cups/PrivateCupsServer.h"

#include "platform/FileDescriptor.h"
#include "tests/support/Files.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <cups/cups.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <memory>
#include <netinet/in.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace rxtest {

namespace {

int freeLoopbackPort()
{
    const rx::UniqueFd fd(::socket(AF_INET, SOCK_STREAM, 0));
    if (!fd)
        return 0;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&a), &len) == 0)
        return ntohs(a.sin_port);
    return 0;
}

bool accepts(int port)
{
    const rx::UniqueFd fd(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(uint16_t(port));
    return fd && ::connect(fd.get(), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
}

std::string findProgram(const std::string& name)
{
    for (const char* dir : {"/usr/sbin/", "/usr/bin/", "/sbin/", "/bin/", "/usr/local/sbin/"}) {
        const std::string path = dir + name;
        if (::access(path.c_str(), X_OK) == 0)
            return path;
    }
    return {};
}

// Spawns the program with stdout and stderr appended to `log`.
pid_t spawn(const std::string& program, const std::vector<std::string>& args, const std::string& log)
{
    std::vector<char*> argv;
    std::vector<std::string> copies{program};
    copies.insert(copies.end(), args.begin(), args.end());
    for (std::string& s : copies)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

struct IppDeleter {
    void operator()(ipp_t* p) const { ippDelete(p); }
};
struct HttpCloser {
    void operator()(http_t* h) const { httpClose(h); }
};

}  // namespace

PrivateCupsServer::PrivateCupsServer(std::string root) : root_(std::move(root)) {}

PrivateCupsServer::~PrivateCupsServer()
{
    stop();
}

std::string PrivateCupsServer::address() const
{
    return "127.0.0.1:" + std::to_string(port_);
}

// The scheduler's data: the machine's, but for the models when a directory
// of its own is given.
bool PrivateCupsServer::makeDataDirectory(std::string* error) const
{
    namespace fs = std::filesystem;
    std::error_code failed;
    fs::create_directories(root_ + "/data", failed);
    for (const auto& entry : fs::directory_iterator("/usr/share/cups", failed))
        if (entry.path().filename() != "model")
            fs::create_symlink(entry.path(), root_ + "/data/" + entry.path().filename().string(), failed);
    fs::create_symlink(modelDirectory_, root_ + "/data/model", failed);
    if (failed)
        *error = "cannot make the scheduler's data directory: " + failed.message();
    return !failed;
}

// The machine's ServerBin with the extra filters beside its own: links to
// every directory and filter, copies of the extra programs (a scheduler
// started by root runs only filters that root owns).
bool PrivateCupsServer::makeServerBin(std::string* error) const
{
    namespace fs = std::filesystem;
    std::error_code failed;
    const fs::path bin = root_ + "/serverbin";
    fs::create_directories(bin / "filter", failed);
    for (const auto& entry : fs::directory_iterator("/usr/lib/cups", failed))
        if (entry.path().filename() != "filter")
            fs::create_symlink(entry.path(), bin / entry.path().filename(), failed);
    for (const auto& entry : fs::directory_iterator("/usr/lib/cups/filter", failed))
        fs::create_symlink(entry.path(), bin / "filter" / entry.path().filename(), failed);
    for (const std::string& program : filterPrograms_) {
        const fs::path target = bin / "filter" / fs::path(program).filename();
        fs::copy_file(program, target, fs::copy_options::overwrite_existing, failed);
        fs::permissions(target, fs::perms(0755), failed);
    }
    if (failed)
        *error = "cannot make the scheduler's filter directory: " + failed.message();
    return !failed;
}

bool PrivateCupsServer::start(std::string* error)
{
    const std::string installed = findProgram("cupsd");
    if (installed.empty()) {
        *error = "no cupsd installed";
        return false;
    }
    for (const char* dir : {"", "/bin", "/conf", "/spool", "/spool/temp", "/log", "/cache", "/state"})
        if (::mkdir((root_ + dir).c_str(), 0755) != 0 && errno != EEXIST) {
            *error = "cannot create " + root_ + dir + ": " + std::strerror(errno);
            return false;
        }
    // A copy of the scheduler: a security profile bound to the installed
    // path would keep it from the private configuration.
    const std::string cupsd = root_ + "/bin/cupsd";
    std::error_code copyError;
    std::filesystem::copy_file(installed, cupsd, std::filesystem::copy_options::overwrite_existing, copyError);
    if (copyError) {
        *error = "cannot copy " + installed + ": " + copyError.message();
        return false;
    }
    if (!modelDirectory_.empty() && !makeDataDirectory(error))
        return false;
    if (!filterPrograms_.empty() && !makeServerBin(error))
        return false;
    port_ = freeLoopbackPort();
    if (port_ == 0) {
        *error = "no free loopback port";
        return false;
    }

    const passwd* user = ::getpwuid(::getuid());
    const group* grp = ::getgrgid(::getgid());
    if (!user || !grp) {
        *error = "the current user or group has no name";
        return false;
    }
    std::ofstream conf(root_ + "/conf/cupsd.conf");
    conf << "LogLevel " << logLevel_ << "\n"
         << "Listen " << address() << "\n"
         << "Browsing No\nBrowseLocalProtocols none\nDefaultShared No\nWebInterface No\n"
         << "MaxLogSize 0\nPreserveJobHistory Yes\nPreserveJobFiles No\nDefaultAuthType None\n"
         << "<Location />\n  Order allow,deny\n  Allow from all\n</Location>\n"
         << "<Policy default>\n  JobPrivateAccess all\n  JobPrivateValues none\n"
         << "  SubscriptionPrivateAccess all\n  SubscriptionPrivateValues none\n"
         << "  <Limit CUPS-Add-Modify-Printer CUPS-Delete-Printer CUPS-Add-Modify-Class CUPS-Delete-Class>\n"
         << "    Require user " << user->pw_name << "\n    Order deny,allow\n  </Limit>\n"
         << "  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
    conf.close();
    std::ofstream files(root_ + "/conf/cups-files.conf");
    files << "FileDevice Yes\n"
          << "Printcap " << root_ << "/printcap\n"
          << "ServerRoot " << root_ << "/conf\n"
          << "StateDir " << root_ << "/state\n"
          << "CacheDir " << root_ << "/cache\n"
          << "DataDir " << (modelDirectory_.empty() ? "/usr/share/cups" : root_ + "/data") << "\n"
          << "ServerBin " << (filterPrograms_.empty() ? "/usr/lib/cups" : root_ + "/serverbin")
          << "\nDocumentRoot /usr/share/cups/doc-root\n"
          << "RequestRoot " << root_ << "/spool\n"
          << "TempDir " << root_ << "/spool/temp\n"
          << "AccessLog " << root_ << "/log/access_log\n"
          << "ErrorLog " << root_ << "/log/error_log\n"
          << "PageLog " << root_ << "/log/page_log\n";
    if (::getuid() != 0) {
        // An ordinary user's scheduler runs as that user and group.
        files << "User " << user->pw_name << "\nGroup " << grp->gr_name << "\nSystemGroup " << grp->gr_name << "\n";
    }
    files.close();
    if (!conf || !files) {
        *error = "cannot write the scheduler's configuration in " + root_;
        return false;
    }

    pid_ = spawn(cupsd, {"-f", "-c", root_ + "/conf/cupsd.conf", "-s", root_ + "/conf/cups-files.conf"},
                 root_ + "/log/cupsd.out");
    if (pid_ < 0) {
        *error = "cannot start " + cupsd;
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!accepts(port_)) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            *error = "cupsd exited at start: " + readFile(root_ + "/log/cupsd.out") + errorLog();
            return false;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            stop();
            *error = "cupsd does not accept connections on " + address();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void PrivateCupsServer::stop()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
}

bool PrivateCupsServer::run(const std::string& program, const std::vector<std::string>& args,
                            std::string* error) const
{
    const std::string path = findProgram(program);
    const std::string log = root_ + "/log/" + program + ".out";
    ::unlink(log.c_str());
    const pid_t pid = path.empty() ? -1 : spawn(path, args, log);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        *error = program + " failed: " + readFile(log);
        return false;
    }
    return true;
}

bool PrivateCupsServer::addQueue(const std::string& name, const std::string& ppd, const std::string& deviceUri,
                                 std::string* error)
{
    std::vector<std::string> args{"-h", address(), "-p", name, "-v", deviceUri, "-E"};
    if (!ppd.empty())
        args.insert(args.end(), {"-P", ppd});
    return run("lpadmin", args, error) &&
           run("cupsdisable", {"-h", address(), name}, error);
}

bool PrivateCupsServer::addPrintingQueue(const std::string& name, const std::string& ppd,
                                         const std::string& deviceUri, std::string* error)
{
    return run("lpadmin", {"-h", address(), "-p", name, "-v", deviceUri, "-E", "-P", ppd}, error);
}

std::map<std::string, std::string> PrivateCupsServer::jobAttributes(int jobId) const
{
    std::map<std::string, std::string> out;
    std::unique_ptr<http_t, HttpCloser> http(
        httpConnect2("127.0.0.1", port_, nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 5000, nullptr));
    if (!http)
        return out;
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "127.0.0.1", port_, "/jobs/%d", jobId);
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
    std::unique_ptr<ipp_t, IppDeleter> response(cupsDoRequest(http.get(), request, "/"));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING)
        return out;
    for (ipp_attribute_t* a = ippFirstAttribute(response.get()); a; a = ippNextAttribute(response.get())) {
        if (!ippGetName(a) || ippGetGroupTag(a) != IPP_TAG_JOB)
            continue;
        char value[4096];
        ippAttributeString(a, value, sizeof value);
        out[ippGetName(a)] = value;
    }
    return out;
}

std::string PrivateCupsServer::errorLog() const
{
    return readFile(root_ + "/log/error_log");
}

}  // namespace rxtest
