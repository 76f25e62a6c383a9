#include "engine/export/scene_export.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include <OgreException.h>

#include "engine/export/export_texts.h"
#include "engine/export/texture_source.h"
#include "engine/scene/scene_capture.h"
#include "formats/export/gltf_writer.h"
#include "formats/export/obj_writer.h"
#include "formats/io/atomic_file.h"
#include "formats/io/path.h"
#include "formats/io/printf_text.h"
#include "platform/application_identity.h"

namespace verada {
namespace {

// A file to be written, with its bytes.
struct OutputFile {
    std::string path;
    std::string bytes;
};

Result<std::vector<OutputFile>> gltfFiles(const SceneSnapshot& scene, const std::string& path,
                                          GltfContainer container) {
    Result<std::string> written = writeGltfScene(scene, container, kVersionText, textureForExport);
    Result<std::vector<OutputFile>> files =
        written ? Result<std::vector<OutputFile>>(std::vector<OutputFile>{{path, written.value()}})
                : Result<std::vector<OutputFile>>(written.failure());
    files.takeWarnings(written);
    return files;
}

Result<std::vector<OutputFile>> objFiles(const SceneSnapshot& scene, const std::string& path) {
    const std::string mtlPath = pathWithoutExtension(path) + ".mtl";
    Result<ObjFiles> written =
        writeObjScene(scene, std::filesystem::path(mtlPath).filename().string());
    Result<std::vector<OutputFile>> files =
        written ? Result<std::vector<OutputFile>>(
                      std::vector<OutputFile>{{path, written->obj}, {mtlPath, written->mtl}})
                : Result<std::vector<OutputFile>>(written.failure());
    files.takeWarnings(written);
    return files;
}

// Every file complete in its temporary before any target is replaced.
Status writeTogether(const std::vector<OutputFile>& outputs) {
    std::vector<std::unique_ptr<AtomicFile>> files;
    for (const OutputFile& output : outputs) {
        files.push_back(std::make_unique<AtomicFile>(output.path));
        if (!files.back()->isOpen()) {
            return failWriting(output.path,
                               printfText(exporting::kUnableToCreateFile, output.path.c_str()));
        }
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const std::string& bytes = outputs[i].bytes;
        if (files[i]->write(bytes.data(), bytes.size()) != bytes.size() ||
            std::fflush(files[i]->stream()) != 0) {
            return failWriting(outputs[i].path,
                               printfText(exporting::kUnableToWriteFile, outputs[i].path.c_str()));
        }
    }
    // Backwards: a file others refer to (the .mtl of an .obj) comes after them and is in place
    // first, so a failure in between never leaves a new file naming a missing one.
    for (std::size_t i = outputs.size(); i-- > 0;) {
        if (!files[i]->commit()) {
            return failWriting(outputs[i].path,
                               printfText(exporting::kUnableToWriteFile, outputs[i].path.c_str()));
        }
    }
    return Done{};
}

}  // namespace

Status writeSceneExport(AppState& state, const std::string& path) {
    const std::string extension = lowerExtension(path);
    if (extension != ".glb" && extension != ".gltf" && extension != ".obj") {
        return fail(exporting::kUnknownExportType);
    }
    Result<std::vector<OutputFile>> files;
    try {
        const SceneSnapshot scene = captureScene(*state.sceneManager);
        if (extension == ".obj") {
            files = objFiles(scene, path);
        } else {
            files = gltfFiles(scene, path,
                              extension == ".glb" ? GltfContainer::Binary : GltfContainer::Json);
        }
    } catch (const Ogre::Exception& error) {
        return fail("ERR: " + error.getDescription());
    }
    Status written = files ? writeTogether(files.value()) : Status(files.failure());
    written.takeWarnings(files);
    return written;
}

}  // namespace verada
