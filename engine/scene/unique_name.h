#pragma once

#include <string>

namespace verada {

// The name itself when it is free, else the first free of "%s%d" counting from 0, as meshes
// and nodes are named.
template <typename IsTaken>
std::string uniqueName(const std::string& base, IsTaken isTaken) {
    if (!isTaken(base)) {
        return base;
    }
    for (unsigned counter = 0;; ++counter) {
        std::string candidate = base + std::to_string(counter);
        if (!isTaken(candidate)) {
            return candidate;
        }
    }
}

}  // namespace verada
