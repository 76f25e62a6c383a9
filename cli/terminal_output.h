#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace verada::cli {

// Prints a work step's text on its own line; on a terminal its "\r\n" line ends become "\n".
void printText(std::FILE* stream, const std::string& text);

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
