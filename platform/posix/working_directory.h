#pragma once

#include <string>

namespace verada {

// The working directory moves with every file dialog (see pickFile); commands go back to the
// start-up directory when they are done.
struct SessionDirectories {
    std::string startupDirectory;
    std::string lastUsedDirectory;  // where the next file dialog starts
};

// The current directory, or empty when it cannot be read.
std::string currentDirectory();

// Both directories set to the current one, as at program start.
SessionDirectories sessionDirectoriesHere();

// Returns to the start-up directory when the command that opened a file dialog ends.
class WorkingDirectoryGuard {
  public:
    explicit WorkingDirectoryGuard(const SessionDirectories& directories)
        : startupDirectory_(directories.startupDirectory) {}
    ~WorkingDirectoryGuard();
    WorkingDirectoryGuard(const WorkingDirectoryGuard&) = delete;
    WorkingDirectoryGuard& operator=(const WorkingDirectoryGuard&) = delete;

    // Stays in the chosen file's folder, as the model commands do after a failed read.
    void stayHere() { stay_ = true; }

  private:
    std::string startupDirectory_;
    bool stay_ = false;
};

}  // namespace verada
