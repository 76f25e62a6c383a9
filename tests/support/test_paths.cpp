#include "tests/support/test_paths.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace verada::test {

std::filesystem::path samplePath(const std::string& relative) {
    const char* root = std::getenv("VERADA_SAMPLES");
    return std::filesystem::path(root ? root : "../shared/samples") / relative;
}

std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::filesystem::path veradaBinary() {
    const char* binary = std::getenv("VERADA_BINARY");
    return binary ? binary : "verada";
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

TempDir::TempDir() : previousDirectory_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "verada-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code error;
    std::filesystem::current_path(previousDirectory_, error);
    std::filesystem::remove_all(path_, error);
}

}  // namespace verada::test
