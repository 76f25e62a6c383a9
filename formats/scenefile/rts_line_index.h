#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace verada {

// The lines of a scene file, noted in the pass that parses its keys, with what the vertex and
// face runs are found by: the lines that may be mesh headers and the lines that may start a run.
// Views into the text, which must outlive the index.
class RtsLineIndex {
  public:
    // The next line, without its "\n"; a "\r" before it is dropped.
    void add(std::string_view line);

    std::size_t lineCount() const { return lines_.size(); }
    std::string_view line(std::size_t number) const { return lines_[number]; }

    // For each mesh name, the first line that begins with "[Mesh:name]".
    std::vector<std::optional<std::size_t>> meshHeaderLines(
        const std::vector<std::string>& meshNames) const;
    // The first line after `after` that begins with the prefix ("ShV", "SM03V", "SM03F")
    // followed by "00000".
    std::optional<std::size_t> firstRunLine(const std::string& prefix, std::size_t after) const;

    // The prefix a run line begins with: "ShV" or "SM", digits, and "V" or "F", followed by a
    // digit; empty for any other line. Such lines hold no key the reader looks up.
    static std::string_view runPrefix(std::string_view line);

  private:
    std::vector<std::string_view> lines_;
    std::vector<std::size_t> headerCandidates_;
    std::unordered_map<std::string, std::vector<std::size_t>> runStarts_;  // by prefix
};

}  // namespace verada
