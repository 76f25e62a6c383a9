#include "engine/mesh/model_loader.h"

#include <vector>

#include <OgreEntity.h>
#include <OgreException.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "formats/model/gmdc_reader.h"
#include "engine/mesh/mesh_builder.h"
#include "platform/application_identity.h"
#include "platform/pick_file.h"

namespace verada {
namespace {

struct FormatDialog {
    const char* defaultExtension;
    std::vector<FileFilter> filters;
};

FormatDialog dialogFor(ModelFormat format) {
    switch (format) {
        case ModelFormat::Gmdl:
            return {"gmdl", {{"Spore GMDL Files (*.gmdl)", "*.gmdl"}, {"All Files (*.*)", "*.*"}}};
        case ModelFormat::Gmsh:
            return {"gmsh", {{"Spore GMSH Files (*.gmsh)", "*.gmsh"}, {"All Files (*.*)", "*.*"}}};
        case ModelFormat::Gmdc:
            break;
    }
    return {"simpe",
            {{"SimPE Files (*.simpe;*.5gd)", "*.simpe;*.5gd"},
             {"SimPE (*.simpe)", "*.simpe"},
             {"GMDC (*.5gd)", "*.5gd"},
             {"All Files (*.*)", "*.*"}}};
}

void releaseModel(ModelFormat format, ImportedModel& model) {
    if (format == ModelFormat::Gmdc) {
        releaseGmdcBuffers();
    } else {
        releaseModelArrays(model);
    }
}

// A name no scene node has: the name itself, else the first free of "%s%d".
std::string uniqueNodeName(const AppState& state, const std::string& base) {
    if (!state.sceneManager->hasSceneNode(base)) {
        return base;
    }
    for (unsigned counter = 0;; ++counter) {
        std::string candidate = base + std::to_string(counter);
        if (!state.sceneManager->hasSceneNode(candidate)) {
            return candidate;
        }
    }
}

Ogre::SceneNode* rootChildNamed(const AppState& state, const std::string& name) {
    for (Ogre::Node* child : state.sceneManager->getRootSceneNode()->getChildren()) {
        if (child->getName() == name) {
            return static_cast<Ogre::SceneNode*>(child);
        }
    }
    return nullptr;
}

void showOnNewNode(AppState& state, const std::string& meshName) {
    std::string nodeName = uniqueNodeName(state, baseNameOf(meshName));
    Ogre::Entity* entity = state.sceneManager->createEntity(meshName, meshName);
    Ogre::SceneNode* node = state.sceneManager->getRootSceneNode()->createChildSceneNode(
        nodeName, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);
    node->attachObject(entity);
    node->setScale(1.0f, 1.0f, 1.0f);
}

// Engine failures end the command with their description instead of ending the program.
void reportEngineError(AppState& state, const Ogre::Exception& error) {
    state.platform->messageBox(state.mainWindow, "ERR: " + error.getDescription(),
                               kApplicationCaption, MessageButtons::Ok, MessageIcon::None);
}

}  // namespace

int loadModelForFormat(AppState& state, ModelFormat format, ImportedModel& model,
                       std::string& meshNameOut) {
    if (format == ModelFormat::Gmdl) {
        model = ImportedModel{};
    }
    FormatDialog dialog = dialogFor(format);
    std::optional<PickedFile> picked = pickFile(*state.platform, state.directories,
                                                dialog.defaultExtension, dialog.filters, false);
    if (!picked) {
        return 0;
    }
    if (std::optional<std::string> error = readModelFile(format, model, picked->fileTitle)) {
        state.platform->messageBox(nullptr, *error, kApplicationCaption, MessageButtons::Ok,
                                   MessageIcon::Warning);
        return 0;
    }
    restoreDirectories(state.directories);
    model.fullPath = picked->fullPath;
    meshNameOut = buildMeshFromModel(state, model, picked->fileTitle);
    return 1;
}

int addModelAsNewNode(AppState& state, ModelFormat format) {
    try {
        ImportedModel model;
        std::string meshName;
        if (loadModelForFormat(state, format, model, meshName) == 0) {
            return 0;
        }
        releaseModel(format, model);
        showOnNewNode(state, meshName);
        return 1;
    } catch (const Ogre::Exception& error) {
        reportEngineError(state, error);
        return 0;
    }
}

int addModelToExistingNode(AppState& state, ModelFormat format, const std::string& nodeName) {
    try {
        ImportedModel model;
        std::string meshName;
        if (loadModelForFormat(state, format, model, meshName) == 0) {
            return 0;
        }
        releaseModel(format, model);
        if (nodeName.empty()) {
            return 1;
        }
        Ogre::SceneNode* node = rootChildNamed(state, nodeName);
        if (node == nullptr) {
            state.platform->messageBox(state.mainWindow,
                                       "WARN: No scene node named \"" + nodeName + "\"; mesh " +
                                           meshName + " was built but not attached.",
                                       kApplicationCaption, MessageButtons::Ok,
                                       MessageIcon::Warning);
            return 0;
        }
        node->attachObject(state.sceneManager->createEntity(meshName, meshName));
        return 1;
    } catch (const Ogre::Exception& error) {
        reportEngineError(state, error);
        return 0;
    }
}

std::optional<std::string> addModelFileAsNewNode(AppState& state, const std::string& path) {
    std::optional<ModelFormat> format = modelFormatForPath(path);
    if (!format) {
        return "ERR: Not a model file (.gmdl, .gmsh, .5gd, .simpe): " + path;
    }
    try {
        ImportedModel model;
        if (std::optional<std::string> error = readModelFile(*format, model, path)) {
            return error;
        }
        model.fullPath = path;
        std::string meshName = buildMeshFromModel(state, model, path);
        releaseModel(*format, model);
        showOnNewNode(state, meshName);
        return std::nullopt;
    } catch (const Ogre::Exception& error) {
        return "ERR: " + error.getDescription();
    }
}

int addModelFilesAsNewNodes(AppState& state, const std::vector<std::string>& paths) {
    int added = 0;
    for (const std::string& path : paths) {
        if (std::optional<std::string> error = addModelFileAsNewNode(state, path)) {
            state.platform->messageBox(nullptr, *error, kApplicationCaption, MessageButtons::Ok,
                                       MessageIcon::Warning);
        } else {
            ++added;
        }
    }
    return added;
}

}  // namespace verada
