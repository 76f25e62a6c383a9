#include "platform/posix/posix_system_services.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace verada {
namespace {

// The words of a command line: blanks separate them, double quotes keep blanks inside a word.
std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) {
                words.push_back(word);
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

// Starts the program (searched on PATH) so that it outlives this process and is never left
// for us to wait for; false when it could not be started.
bool startDetached(const std::vector<std::string>& words) {
    if (words.empty()) {
        return false;
    }
    // Everything the children need is ready before fork: they only fork, exec and exit.
    std::vector<char*> argv;
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return false;
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
            int error = errno;
            ssize_t ignored = ::write(report[1], &error, sizeof error);
            (void)ignored;
        }
        ::_exit(0);
    }
    ::close(report[1]);
    bool started = child > 0;
    if (started) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        // The pipe closes unread when exec succeeds; an errno arrives when it failed.
        int error = 0;
        ssize_t got = 0;
        while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
        }
        started = got == 0;
    }
    ::close(report[0]);
    return started;
}

}  // namespace

bool PosixSystemServices::startProgram(const std::string& commandLine) {
    return startDetached(splitCommandLine(commandLine));
}

bool PosixSystemServices::openWithDefaultViewer(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return startDetached({"xdg-open", error ? path : absolute.string()});
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

int PosixSystemServices::globalMemoryLoad() {
    std::ifstream in("/proc/meminfo");
    std::ostringstream content;
    content << in.rdbuf();
    return memoryLoadFromMeminfo(content.str());
}

}  // namespace verada
