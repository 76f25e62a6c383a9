#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace verada {

// A native window handed through to the implementation; null means "no owner".
using WindowHandle = void*;

enum class MessageButtons { Ok, OkCancel };
enum class MessageIcon { None, Information, Warning };

constexpr int kMessageOk = 1;
constexpr int kMessageCancel = 2;

struct FileFilter {
    std::string text;     // "Spore GMDL Files (*.gmdl)"
    std::string pattern;  // "*.gmdl" or "*.simpe;*.5gd"
};

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string initialDirectory;
    std::string defaultExtension;  // without the dot
    std::vector<FileFilter> filters;
};

// Feedback for a long run; shown only once the run has lasted about half a second.
class Progress {
  public:
    virtual ~Progress() = default;
    virtual void update(std::uint64_t done, std::uint64_t total) = 0;
};

// The windows and dialogs the program opens: Qt in the viewer, a script in the tests.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // Returns kMessageOk or kMessageCancel.
    virtual int messageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                           MessageButtons buttons, MessageIcon icon) = 0;

    // The full path of the chosen file, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> fileDialog(const FileDialogRequest& request) = 0;

    // The chosen colour as 0x00BBGGRR, or nothing on cancel; the 16 custom colours (each
    // 0x00BBGGRR) go in and out.
    virtual std::optional<std::uint32_t> chooseColor(
        WindowHandle owner, std::uint32_t initial, std::array<std::uint32_t, 16>& customColors) = 0;

    // Feedback for a long run; ends when the returned object is destroyed.
    virtual std::unique_ptr<Progress> startProgress(WindowHandle owner,
                                                    const std::string& label) = 0;
};

// How starting a program went.
struct ProgramRun {
    bool started = false;
    std::string error;   // why it could not be started (the system's text); empty when it started
    int exitStatus = 0;  // when waited for: its exit status, 128 + the signal that ended it
};

// The operating system's services: POSIX in the program (platform/posix), a record in the
// tests.
class SystemServices {
  public:
    virtual ~SystemServices() = default;

    // Starts the program arguments[0], looked up on PATH, with the other words as its
    // arguments, in the current directory and environment; no shell sees them. With wait, returns
    // once it has ended, with its status; else it runs on, detached from this process.
    virtual ProgramRun startProgram(const std::vector<std::string>& arguments, bool wait) = 0;

    // Opens a file in the desktop's default viewer; false when that could not be started.
    virtual bool openWithDefaultViewer(const std::string& path) = 0;

    // Percentage of physical memory in use.
    virtual int globalMemoryLoad() = 0;

    // The system time.
    virtual std::chrono::system_clock::time_point currentTime() = 0;
};

// Every window, dialog and operating-system service the program uses goes through this
// interface, so that commands run the same under the real implementation and the test fake.
class Platform : public Dialogs, public SystemServices {};

}  // namespace verada
