#include "engine/scenefile/rts_save.h"

#include <OgreException.h>

#include "engine/scene/scene_capture.h"
#include "formats/io/atomic_file.h"
#include "formats/io/printf_text.h"
#include "formats/scenefile/rts_texts.h"
#include "formats/scenefile/rts_writer.h"

namespace verada {

Status writeRtsFile(AppState& state, const std::string& path) {
    AtomicFile file(path);
    if (!file.isOpen()) {
        return failWriting(path, printfText(rts::kUnableToCreateFile, path.c_str()));
    }
    try {
        SceneSnapshot scene = captureScene(*state.sceneManager);
        if (!writeRtsText(file.stream(), state.viewSettings, scene) || !file.commit()) {
            return failWriting(path, printfText(rts::kUnableToWriteFile, path.c_str()));
        }
    } catch (const Ogre::Exception& error) {
        return fail("ERR: " + error.getDescription());
    }
    return Done{};
}

}  // namespace verada
