#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "formats/io/result.h"

namespace verada::cli {

// The one way a subcommand tells the user what happened, and the exit status that follows:
// - each message text once on stderr as "FILE: TEXT", FILE being the input it concerns (the
//   output path when writing failed), its "\r\n" line ends printed as "\n";
// - everything printed is UTF-8 (bytes that are not are read as Latin-1), and control
//   characters other than line ends and tabs, which only names from files or the command line
//   bring in, print as "\xNN"; in FILE, line ends too;
// - a "WARN: " text leaves the status as it is; any other message (an "ERR: " or a failure
//   with a text of its own) makes it 1, and the subcommand goes on with its next file;
// - reports of work done go to stdout as they stand, on a terminal with "\n" line ends.
// Usage errors never get here: the parser ends those with status 2.
class MessagePrinter {
  public:
    explicit MessagePrinter(std::FILE* out = stdout, std::FILE* err = stderr)
        : out_(out), err_(err) {}

    void printMessage(const std::string& file, const std::string& text);

    // The result's warnings, then its failure; true when the step succeeded.
    template <typename T>
    bool printMessages(const std::string& file, const Result<T>& result) {
        for (const std::string& warning : result.warnings()) {
            printMessage(file, warning);
        }
        if (!result) {
            printMessage(result.failedOutput().empty() ? file : result.failedOutput(),
                         result.error());
        }
        return result.ok();
    }

    void printReport(const std::string& text);

    int exitStatus() const { return exitStatus_; }

  private:
    std::FILE* out_;
    std::FILE* err_;
    int exitStatus_ = 0;
};

// A progress line on stderr, redrawn at most a few times a second and only when stderr is a
// terminal; removed again when the run ends.
class ProgressLine {
  public:
    explicit ProgressLine(std::string label);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void update(std::uint64_t done, std::uint64_t total);

  private:
    std::string label_;
    bool enabled_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point lastDraw_;
};

}  // namespace verada::cli
