#pragma once

#include <optional>
#include <string>

#include "formats/io/result.h"

namespace verada::test {

// The failure text of a step, or nothing when it succeeded.
template <typename T>
std::optional<std::string> errorOf(const Result<T>& result) {
    return result ? std::nullopt : std::optional<std::string>(result.error());
}

// What the user reads after a step that reports a text: its report, or its failure.
inline std::string shown(const Result<std::string>& result) {
    return result ? result.value() : result.error();
}

}  // namespace verada::test
