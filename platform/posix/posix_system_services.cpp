#include "platform/posix/posix_system_services.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace verada {
namespace {

std::vector<char*> argumentVector(const std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}

ProgramRun notStarted(int error) {
    return {false, std::strerror(error), 0};
}

pid_t waitFor(pid_t child, int& status) {
    pid_t ended;
    while ((ended = ::waitpid(child, &status, 0)) < 0 && errno == EINTR) {
    }
    return ended;
}

ProgramRun runAndWait(const std::vector<std::string>& words) {
    std::vector<char*> argv = argumentVector(words);
    pid_t child = 0;
    if (int error = ::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ)) {
        return notStarted(error);
    }
    int status = 0;
    if (waitFor(child, status) < 0) {
        return notStarted(errno);
    }
    ProgramRun run{true, "", 0};
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

// Starts the program (searched on PATH) so that it outlives this process and is never left
// for us to wait for.
ProgramRun startDetached(const std::vector<std::string>& words) {
    // Everything the children need is ready before fork: they only fork, exec and exit.
    std::vector<char*> argv = argumentVector(words);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return notStarted(errno);
    }
    pid_t child = ::fork();
    if (child == 0) {
        // The grandchild runs the program; the child ends at once, so that init adopts it.
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::setsid();
            ::execvp(argv[0], argv.data());
        }
        if (grandchild <= 0) {
            // The exec, or the second fork, failed.
            int error = errno;
            ssize_t ignored = ::write(report[1], &error, sizeof error);
            (void)ignored;
        }
        ::_exit(grandchild == 0 ? 127 : 0);
    }
    int forkError = errno;
    ::close(report[1]);
    ProgramRun run{child > 0, "", 0};
    if (child < 0) {
        run = notStarted(forkError);
    } else {
        int status = 0;
        waitFor(child, status);
        // The pipe closes unread when exec succeeds; an errno arrives when it failed.
        int error = 0;
        ssize_t got = 0;
        while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
        }
        if (got > 0) {
            run = notStarted(error);
        }
    }
    ::close(report[0]);
    return run;
}

}  // namespace

ProgramRun PosixSystemServices::startProgram(const std::vector<std::string>& arguments, bool wait) {
    if (arguments.empty()) {
        return notStarted(ENOENT);
    }
    return wait ? runAndWait(arguments) : startDetached(arguments);
}

bool PosixSystemServices::openWithDefaultViewer(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return startDetached({"xdg-open", error ? path : absolute.string()}).started;
}

int memoryLoadFromMeminfo(const std::string& meminfo) {
    std::istringstream lines(meminfo);
    std::string line;
    unsigned long long total = 0;
    unsigned long long available = 0;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string key;
        unsigned long long value = 0;
        if (!(words >> key >> value)) {
            continue;
        }
        if (key == "MemTotal:") {
            total = value;
        } else if (key == "MemAvailable:") {
            available = value;
        }
    }
    if (total == 0 || available > total) {
        return 0;
    }
    return static_cast<int>(100 * (total - available) / total);
}

std::chrono::system_clock::time_point PosixSystemServices::currentTime() {
    return std::chrono::system_clock::now();
}

int PosixSystemServices::globalMemoryLoad() {
    std::ifstream in("/proc/meminfo");
    std::ostringstream content;
    content << in.rdbuf();
    return memoryLoadFromMeminfo(content.str());
}

}  // namespace verada
