#pragma once

#include <cstddef>
#include <string_view>

#include "formats/config/profile.h"
#include "formats/scenefile/rts_line_index.h"

namespace verada {

// A scene file as the reader sees it, from one pass over its text: the keys through the profile
// (first matching section and key win; a section's exact name before the case-insensitive
// match) and the vertex and face runs through the line index. The run lines stay out of the
// profile: no key is ever looked up among them.
class RtsInput {
  public:
    // The text must outlive the input.
    explicit RtsInput(std::string_view text);

    std::string_view text() const { return text_; }
    const IniProfile& profile() const { return profile_; }
    const RtsLineIndex& lines() const { return lines_; }

    // Runs may overlap (a run's first line is searched for past its own section) and
    // submeshes without keys are valid, so everything built from counts draws on one
    // allowance of the file's line count: a crafted file cannot multiply its size in memory.
    bool draw(std::size_t items);

  private:
    std::string_view text_;
    IniProfile profile_;
    RtsLineIndex lines_;
    std::size_t allowance_ = 0;
};

}  // namespace verada
