#pragma once

#include <string>
#include <vector>

namespace verada {

// Opens the main window and runs until the user quits; returns the process exit status.
int runViewer(int argc, char** argv, const std::vector<std::string>& files);

}  // namespace verada
