#include "fuzz/scratch_folder.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace verada::fuzz {
namespace {

struct Scratch {
    Scratch() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "verada-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a scratch folder");
        }
        path = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

}  // namespace

const std::filesystem::path& scratchFolder() {
    static Scratch scratch;
    return scratch.path;
}

std::filesystem::path writeInput(const std::string& name, const std::uint8_t* data,
                                 std::size_t size) {
    const std::filesystem::path run = scratchFolder() / "run";
    std::filesystem::remove_all(run);
    std::filesystem::create_directory(run);
    const std::filesystem::path path = run / name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

}  // namespace verada::fuzz
