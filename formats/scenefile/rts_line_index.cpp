#include "formats/scenefile/rts_line_index.h"

#include <algorithm>
#include <cstdint>

namespace verada {
namespace {

constexpr std::string_view kHeaderStart = "[Mesh:";
constexpr std::string_view kFirstRunIndex = "00000";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// The wanted headers as a trie walked along each candidate line, so that finding every
// header's first line costs the length of the names plus that of the candidates, however
// many names and lines a file holds.
class HeaderTrie {
  public:
    std::size_t add(std::string_view text) {
        std::size_t node = 0;
        for (char c : text) {
            auto inserted = edges_.emplace(edgeKey(node, c), firstAt_.size());
            if (inserted.second) {
                firstAt_.emplace_back();
            }
            node = inserted.first->second;
        }
        return node;
    }

    void walk(std::string_view line, std::size_t at) {
        std::size_t node = 0;
        for (char c : line) {
            auto edge = edges_.find(edgeKey(node, c));
            if (edge == edges_.end()) {
                return;
            }
            node = edge->second;
            if (!firstAt_[node]) {
                firstAt_[node] = at;
            }
        }
    }

    std::optional<std::size_t> firstAt(std::size_t node) const { return firstAt_[node]; }

  private:
    static std::uint64_t edgeKey(std::size_t node, char c) {
        return static_cast<std::uint64_t>(node) << 8 | static_cast<unsigned char>(c);
    }

    std::unordered_map<std::uint64_t, std::size_t> edges_;
    std::vector<std::optional<std::size_t>> firstAt_{1};  // by node; node 0 is the root
};

}  // namespace

void RtsLineIndex::add(std::string_view line) {
    ++lineCount_;
    std::size_t at = static_cast<std::size_t>(line.data() - text_.data());
    if (startsWith(line, kHeaderStart)) {
        headerCandidates_.push_back(line);
    }
    std::string_view prefix = runPrefix(line);
    if (!prefix.empty() && startsWith(line.substr(prefix.size()), kFirstRunIndex)) {
        runStarts_[std::string(prefix)].push_back(at);
    }
}

std::string_view RtsLineIndex::lineAt(std::size_t at, std::size_t& next) const {
    std::size_t end = text_.find('\n', at);
    next = end == std::string_view::npos ? text_.size() : end + 1;
    std::string_view line = text_.substr(at, end == std::string_view::npos ? end : end - at);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

std::vector<std::optional<std::size_t>> RtsLineIndex::meshHeaders(
    const std::vector<std::string>& meshNames) const {
    HeaderTrie trie;
    std::vector<std::size_t> nodes;
    nodes.reserve(meshNames.size());
    for (const std::string& name : meshNames) {
        nodes.push_back(trie.add(std::string(kHeaderStart) + name + "]"));
    }
    for (std::string_view line : headerCandidates_) {
        trie.walk(line, static_cast<std::size_t>(line.data() - text_.data()));
    }
    std::vector<std::optional<std::size_t>> found;
    found.reserve(nodes.size());
    for (std::size_t node : nodes) {
        found.push_back(trie.firstAt(node));
    }
    return found;
}

std::optional<std::size_t> RtsLineIndex::firstRunLine(const std::string& prefix,
                                                      std::size_t after) const {
    auto starts = runStarts_.find(prefix);
    if (starts == runStarts_.end()) {
        return std::nullopt;
    }
    auto next = std::upper_bound(starts->second.begin(), starts->second.end(), after);
    return next == starts->second.end() ? std::nullopt : std::optional<std::size_t>(*next);
}

std::string_view RtsLineIndex::runPrefix(std::string_view line) {
    std::size_t length = 0;
    if (startsWith(line, "ShV")) {
        length = 3;
    } else if (startsWith(line, "SM")) {
        std::size_t end = 2;
        while (end < line.size() && isDigit(line[end])) {
            ++end;
        }
        if (end > 2 && end < line.size() && (line[end] == 'V' || line[end] == 'F')) {
            length = end + 1;
        }
    }
    return length > 0 && length < line.size() && isDigit(line[length]) ? line.substr(0, length)
                                                                       : std::string_view();
}

}  // namespace verada
