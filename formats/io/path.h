#pragma once

#include <string>

namespace verada {

// The path with the extension of its last component removed ("dir/tree.rast" -> "dir/tree").
std::string pathWithoutExtension(const std::string& path);

// The file name without folder and last extension ("/a/b/foo.5gd" -> "foo"); "\" separates
// folders too, as in names written on Windows.
std::string baseName(const std::string& path);

// The extension of the last component with its dot, in lower case ("a/Tree.GMDL" -> ".gmdl");
// empty when it has none. File kinds are told apart by it case-insensitively.
std::string lowerExtension(const std::string& path);

// folder + "/" + name, without doubling a "/" the folder already ends in.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace verada
