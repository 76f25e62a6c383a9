#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace verada {

// The whole text of a scene file. A regular file is mapped rather than copied, so a scene of
// millions of lines is read once, straight from the page cache; anything else is read.
class RtsFileText {
  public:
    // Empty when the file cannot be read.
    static RtsFileText read(const std::string& path);

    std::string_view text() const {
        return mapped_ ? std::string_view(mapped_.get(), mapped_.get_deleter().size) : read_;
    }

  private:
    struct Unmap {
        std::size_t size;
        void operator()(const char* data) const;
    };

    std::unique_ptr<const char, Unmap> mapped_;
    std::string read_;
};

}  // namespace verada
