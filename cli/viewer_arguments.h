#pragma once

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace verada::cli {

// A command line without a subcommand opens the viewer with its files, unless the first of
// them is neither a subcommand nor a file the viewer opens: then it is most likely a mistyped
// subcommand, which must not open a window. Returns that usage error as one line naming the
// argument and the subcommands, or nothing when the line is fine.
std::optional<std::string> viewerArgumentError(const CLI::App& app,
                                               const std::vector<std::string>& files);

}  // namespace verada::cli
