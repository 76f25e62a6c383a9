#pragma once

#include <cstdint>
#include <functional>

namespace verada {

// Reports how far a long run has got; an empty callback means nobody is watching.
using ProgressCallback = std::function<void(std::uint64_t done, std::uint64_t total)>;

}  // namespace verada
