#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace verada {

// The lines of a scene file as far as the vertex and face runs need them, noted in the pass
// that parses the keys: the lines that may be mesh headers and the lines that may start a run.
// Lines are found by where they start in the text, which must outlive the index.
class RtsLineIndex {
  public:
    explicit RtsLineIndex(std::string_view text) : text_(text) {}

    // The next line of the text, without its "\n".
    void add(std::string_view line);

    std::size_t lineCount() const { return lineCount_; }
    // The line that starts at `at`, without its line end ("\r\n" or "\n"); `next` becomes where
    // the following line starts, the text's size after the last.
    std::string_view lineAt(std::size_t at, std::size_t& next) const;

    // For each mesh name, where the first line that begins with "[Mesh:name]" starts.
    std::vector<std::optional<std::size_t>> meshHeaders(
        const std::vector<std::string>& meshNames) const;
    // Where the first line after `after` starts that begins with the prefix ("ShV", "SM03V",
    // "SM03F") followed by "00000".
    std::optional<std::size_t> firstRunLine(const std::string& prefix, std::size_t after) const;

    // The prefix a run line begins with: "ShV" or "SM", digits, and "V" or "F", followed by a
    // digit; empty for any other line. Such lines hold no key the reader looks up.
    static std::string_view runPrefix(std::string_view line);

  private:
    std::string_view text_;
    std::size_t lineCount_ = 0;
    std::vector<std::string_view> headerCandidates_;
    std::unordered_map<std::string, std::vector<std::size_t>> runStarts_;  // by prefix
};

}  // namespace verada
