#pragma once

#include <string>

namespace verada {

// The working directory moves with every file dialog; commands put it back when they are done.
struct SessionDirectories {
    std::string startupDirectory;
    std::string lastUsedDirectory;  // where the next file dialog starts
};

// Records the current directory as the last used one, then returns to the start-up directory.
void restoreDirectories(SessionDirectories& directories);

// The current directory, or empty when it cannot be read.
std::string currentDirectory();

}  // namespace verada
