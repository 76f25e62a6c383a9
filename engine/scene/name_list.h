#pragma once

#include <string>
#include <vector>

namespace verada {

// The one listing buffer: every listing overwrites it from entry 0; at most 128 names of at
// most 255 characters, further names are skipped without notice.
class NameList {
  public:
    static constexpr int kCapacity = 128;
    static constexpr std::size_t kMaxNameLength = 255;

    void clear() { names_.clear(); }
    // False when the list is full and the name was skipped.
    bool add(const std::string& name) {
        if (full()) {
            return false;
        }
        names_.push_back(name.substr(0, kMaxNameLength));
        return true;
    }
    bool full() const { return static_cast<int>(names_.size()) >= kCapacity; }
    int size() const { return static_cast<int>(names_.size()); }
    const std::string& operator[](int index) const { return names_[index]; }

  private:
    std::vector<std::string> names_;
};

}  // namespace verada
