#pragma once

#include <string>

namespace verada {

// The path with the extension of its last component removed ("dir/tree.rast" -> "dir/tree").
std::string pathWithoutExtension(const std::string& path);

// The file name without folder and last extension ("/a/b/foo.5gd" -> "foo"); "\" separates
// folders too, as in names written on Windows.
std::string baseName(const std::string& path);

// folder + "/" + name, without doubling a "/" the folder already ends in.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace verada
