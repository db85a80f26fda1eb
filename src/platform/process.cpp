#include "platform/process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/service_notify.hpp"
#include "platform/window.hpp"

extern char** environ;

namespace {

void OnQuitSignal(int) {
    RequestQuit();
}

// Waits for child to end, feeding the service watchdog meanwhile: a long conversion is a
// legitimate wait. The child's process descriptor wakes the wait at its end; without one (poll
// ignores a negative descriptor) the wait goes by slices. Returns waitpid's result.
pid_t WaitForChild(pid_t child, int* status) {
    // glibc 2.36 declares pidfd_open without C linkage; the system call serves as well.
    const int descriptor = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    pid_t done = 0;
    for (;;) {
        ServiceWatchdog();
        done = waitpid(child, status, WNOHANG);
        if (done != 0) break;
        pollfd end{descriptor, POLLIN, 0};
        poll(&end, 1, kServiceWaitSliceMs);
    }
    if (descriptor >= 0) close(descriptor);
    return done;
}

}  // namespace

void InstallQuitSignals() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void EndProcess(int status) {
    ServiceStopping();
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(status);
}

bool IsExecutableFile(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISREG(info.st_mode) && access(path, X_OK) == 0;
}

std::string ProgramFileName(const char* program) {
    return program;
}

std::string InWorkingFolder(const std::string& name) {
    return "./" + name;
}

std::string FindOnPath(const char* program) {
    const char* path = std::getenv("PATH");
    if (!path) return {};
    std::string list(path);
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        // An empty PATH entry means the current folder.
        std::string candidate = end > start ? list.substr(start, end - start) : std::string(1, '.');
        candidate += '/';
        candidate += program;
        if (IsExecutableFile(candidate.c_str())) return candidate;
        start = end + 1;
    }
    return {};
}

int RunProgram(const std::vector<std::string>& argv) {
    if (argv.empty()) return -1;
    std::fflush(stdout);
    std::fflush(stderr);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t child = 0;
    const int started = posix_spawn(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return -1;
    int status = 0;
    if (WaitForChild(child, &status) < 0) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

int UsableCores() {
    cpu_set_t cores;
    CPU_ZERO(&cores);
    if (sched_getaffinity(0, sizeof(cores), &cores) != 0) return 1;
    const int count = CPU_COUNT(&cores);
    return count > 0 ? count : 1;
}

std::string ProgramFolder() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "";
    const std::string program(path, static_cast<size_t>(length));
    return program.substr(0, program.find_last_of('/'));
}
