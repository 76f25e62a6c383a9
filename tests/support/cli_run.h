#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace verada::test {

struct CliRun {
    int status = -1;  // the exit status, -1 when the program did not exit by itself
    std::string out;
    std::string err;
};

// Runs the built program in folder with the arguments as given (bytes, quoted for the shell),
// standard input empty.
CliRun runVerada(const std::filesystem::path& folder, const std::vector<std::string>& arguments);

// The same with the arguments as one line for the shell, quoted by the caller.
CliRun runVeradaLine(const std::filesystem::path& folder, const std::string& arguments);

}  // namespace verada::test
