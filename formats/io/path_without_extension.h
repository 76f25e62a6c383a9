#pragma once

#include <string>

namespace verada {

// The path with the extension of its last component removed ("dir/tree.rast" -> "dir/tree").
std::string pathWithoutExtension(const std::string& path);

}  // namespace verada
