#include "tests/support/cli_run.h"

#include <sys/wait.h>

#include <cstdio>

#include "tests/support/test_paths.h"

namespace verada::test {
namespace {

std::string quoted(const std::string& argument) {
    std::string text = "'";
    for (char c : argument) {
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return text + "'";
}

}  // namespace

CliRun runVerada(const std::filesystem::path& folder, const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        line += " " + quoted(argument);
    }
    return runVeradaLine(folder, line);
}

CliRun runVeradaLine(const std::filesystem::path& folder, const std::string& arguments) {
    TempDir scratch;
    const std::filesystem::path errFile = scratch / "stderr";
    const std::string command = "cd " + quoted(folder.string()) + " && " +
                                quoted(std::filesystem::absolute(veradaBinary()).string()) + " " +
                                arguments + " </dev/null 2>" + quoted(errFile.string());
    CliRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[65536];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) {
        run.out.append(buffer, got);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readFile(errFile);
    return run;
}

}  // namespace verada::test
