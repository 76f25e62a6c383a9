#include "tests/formats/export/export_peers.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>

namespace verada::test {
namespace {

std::filesystem::path sourceFolder() {
    const char* source = std::getenv("VERADA_SOURCE_DIR");
    return source ? source : ".";
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

}  // namespace

CommandOutput runCommand(const std::string& command) {
    CommandOutput result;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, read);
    }
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

CommandOutput validateGltf(const std::vector<std::filesystem::path>& files) {
    const std::filesystem::path peers = sourceFolder() / "tests" / "peers";
    std::string command = "node " +
                          quoted(sourceFolder() / "tests/formats/export/gltf_validate.js") + " " +
                          quoted(peers);
    for (const std::filesystem::path& file : files) {
        command += " " + quoted(file);
    }
    return runCommand(command);
}

std::vector<AssimpMesh> assimpMeshes(const std::filesystem::path& file) {
    const CommandOutput info = runCommand("assimp info " + quoted(file) + " -r");
    // "    0 (name): [5210 / 0 / 8458 | triangle]"
    static const std::regex meshLine(R"(^\s+\d+ \((.*)\): \[(\d+) / \d+ / (\d+) \|)");
    std::vector<AssimpMesh> meshes;
    std::istringstream lines(info.output);
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, match, meshLine)) {
            meshes.push_back({match[1], std::stoi(match[2]), std::stoi(match[3])});
        }
    }
    return meshes;
}

}  // namespace verada::test
