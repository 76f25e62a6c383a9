#pragma once

#include <array>
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

// The operating system's services: POSIX in the program (platform/posix), a record in the
// tests.
class SystemServices {
  public:
    virtual ~SystemServices() = default;

    // Starts a program detached from this one; false when it could not be started.
    virtual bool startProgram(const std::string& commandLine) = 0;

    // Opens a file in the desktop's default viewer; false when that could not be started.
    virtual bool openWithDefaultViewer(const std::string& path) = 0;

    // Percentage of physical memory in use.
    virtual int globalMemoryLoad() = 0;
};

// Every window, dialog and operating-system service the program uses goes through this
// interface, so that commands run the same under the real implementation and the test fake.
class Platform : public Dialogs, public SystemServices {};

}  // namespace verada
