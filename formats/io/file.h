#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace verada {

// An open C stream, closed when it goes out of scope.
class File {
  public:
    File() = default;
    explicit File(std::FILE* stream) : stream_(stream) {}
    // Nothing open when the file cannot be opened; errno says why.
    static File open(const std::string& path, const char* mode) {
        return File(std::fopen(path.c_str(), mode));
    }

    std::FILE* get() const { return stream_.get(); }
    explicit operator bool() const { return stream_ != nullptr; }
    // False when the last buffered bytes could not be written.
    bool close() { return stream_ ? std::fclose(stream_.release()) == 0 : true; }

  private:
    struct Closer {
        void operator()(std::FILE* stream) const { std::fclose(stream); }
    };
    std::unique_ptr<std::FILE, Closer> stream_;
};

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path);

}  // namespace verada
