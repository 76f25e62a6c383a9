#include "engine/export/pov_export.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <vector>

#include <OgreException.h>

#include "engine/export/export_texts.h"
#include "engine/scene/scene_capture.h"
#include "formats/export/pov_writer.h"
#include "formats/io/atomic_file.h"
#include "formats/io/printf_text.h"
#include "platform/application_identity.h"
#include "platform/command_words.h"

namespace verada {
namespace {

std::string automaticPovFileName(std::chrono::system_clock::time_point time) {
    using std::chrono::milliseconds;
    const auto sinceEpoch =
        std::chrono::duration_cast<milliseconds>(time.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(sinceEpoch / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    return printfText("Verada-%04d-%02d-%02d-%02d-%02d-%02d-%03d.pov", utc.tm_year + 1900,
                      utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                      static_cast<int>(sinceEpoch % 1000));
}

// Creates the file under the name of the time, reading the time again while the name is
// taken, so that nobody's file is replaced; the empty file holds the name until the scene is
// written over it.
Result<std::string> reserveAutomaticName(SystemServices& services) {
    for (;;) {
        std::string name = automaticPovFileName(services.currentTime());
        if (std::FILE* reserved = std::fopen(name.c_str(), "wx")) {
            std::fclose(reserved);
            return name;
        }
        if (errno != EEXIST) {
            return failWriting(name, printfText(exporting::kUnableToCreateFile, name.c_str()));
        }
    }
}

}  // namespace

Status writePovFile(AppState& state, const std::string& path) {
    AtomicFile file(path);
    if (!file.isOpen()) {
        return failWriting(path, printfText(exporting::kUnableToCreateFile, path.c_str()));
    }
    Status written;
    try {
        written = writePovScene(file.stream(), captureScene(*state.sceneManager),
                                state.viewSettings, state.povSettings, kApplicationCaption);
    } catch (const Ogre::Exception& error) {
        return fail("ERR: " + error.getDescription());
    }
    if (written && !file.commit()) {
        Status failed = failWriting(path, printfText(exporting::kUnableToWriteFile, path.c_str()));
        failed.takeWarnings(written);
        return failed;
    }
    return written;
}

Status runPovCommand(SystemServices& services, const std::string& povCommand,
                     const std::string& fileName, bool wait) {
    std::vector<std::string> arguments = splitCommandWords(povCommand);
    if (arguments.empty()) {
        return Done{};
    }
    arguments.push_back(fileName);
    const ProgramRun run = services.startProgram(arguments, wait);
    if (!run.started) {
        return fail(
            printfText(exporting::kUnableToStartProgram, arguments[0].c_str(), run.error.c_str()));
    }
    if (wait && run.exitStatus != 0) {
        return fail(printfText(exporting::kProgramFailed, arguments[0].c_str(), run.exitStatus));
    }
    return Done{};
}

Result<std::string> exportPovFile(AppState& state) {
    Result<std::string> name = reserveAutomaticName(*state.platform);
    if (!name) {
        return name;
    }
    Status written = writePovFile(state, name.value());
    name.takeWarnings(written);
    if (!written) {
        std::remove(name->c_str());
        Result<std::string> failed = written.failure();
        failed.takeWarnings(written);
        return failed;
    }
    Status started =
        runPovCommand(*state.platform, state.povSettings.povCommand, name.value(), false);
    if (!started) {
        Result<std::string> failed = started.failure();
        failed.takeWarnings(name);
        return failed;
    }
    return name;
}

}  // namespace verada
