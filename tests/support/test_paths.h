#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace verada::test {

// A file under the shared samples folder.
std::filesystem::path samplePath(const std::string& relative);

// The names of the folder's entries.
std::set<std::string> namesIn(const std::filesystem::path& folder);

// The built verada executable.
std::filesystem::path veradaBinary();

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& content);

// A fresh folder that is removed again when the test ends; the working directory is put back.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
    std::filesystem::path previousDirectory_;
};

}  // namespace verada::test
