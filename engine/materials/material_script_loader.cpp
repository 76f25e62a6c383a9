#include "engine/materials/material_script_loader.h"

#include <filesystem>
#include <map>
#include <set>
#include <vector>

#include <OgreException.h>
#include <OgreGpuProgramManager.h>
#include <OgreHighLevelGpuProgramManager.h>
#include <OgreMaterial.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreResourceGroupManager.h>
#include <OgreRoot.h>
#include <OgreScriptCompiler.h>
#include <OgreTechnique.h>
#include <OgreTextureManager.h>

#include "engine/engine_setup.h"
#include "engine/materials/material_messages.h"
#include "engine/materials/texture_library.h"
#include "engine/materials/unpaired_braces.h"
#include "formats/io/path.h"
#include "formats/io/printf_text.h"
#include "platform/posix/trial_run.h"

namespace verada {
namespace {

// The compiler's complaints as "WARN: " texts, and a parsed script the compiler would crash on
// emptied before it is converted, for as long as it is installed.
class CompilerWatch : public Ogre::ScriptCompilerListener {
  public:
    CompilerWatch() : previous_(Ogre::ScriptCompilerManager::getSingleton().getListener()) {
        Ogre::ScriptCompilerManager::getSingleton().setListener(this);
    }
    ~CompilerWatch() override {
        Ogre::ScriptCompilerManager::getSingleton().setListener(previous_);
    }
    CompilerWatch(const CompilerWatch&) = delete;
    CompilerWatch& operator=(const CompilerWatch&) = delete;

    void preConversion(Ogre::ScriptCompiler*, Ogre::ConcreteNodeListPtr nodes) override {
        if (usesVariableWithUnpairedBraces(*nodes)) {
            nodes->clear();
            refused = true;
        }
    }

    void handleError(Ogre::ScriptCompiler*, Ogre::uint32, const Ogre::String& file, int line,
                     const Ogre::String& message) override {
        texts.push_back(printfText(kScriptCompileWarning, file.c_str(), line, message.c_str()));
    }

    std::vector<std::string> texts;
    bool refused = false;

  private:
    Ogre::ScriptCompilerListener* previous_;
};

// What a script may add: materials, the textures they name and the GPU programs it declares.
// Taken before parsing, so that a failed script's additions can be removed again.
class AddedResources {
  public:
    AddedResources() {
        managers_.push_back(&Ogre::MaterialManager::getSingleton());
        managers_.push_back(&Ogre::TextureManager::getSingleton());
        if (Ogre::GpuProgramManager* programs = Ogre::GpuProgramManager::getSingletonPtr()) {
            managers_.push_back(programs);
        }
        managers_.push_back(&Ogre::HighLevelGpuProgramManager::getSingleton());
        for (Ogre::ResourceManager* manager : managers_) {
            auto resources = manager->getResourceIterator();
            while (resources.hasMoreElements()) {
                before_[manager].insert(resources.getNext()->getHandle());
            }
        }
    }

    // In order of creation.
    std::vector<Ogre::ResourcePtr> of(Ogre::ResourceManager& manager) {
        std::vector<Ogre::ResourcePtr> added;
        const std::set<Ogre::ResourceHandle>& before = before_[&manager];
        auto resources = manager.getResourceIterator();
        while (resources.hasMoreElements()) {
            Ogre::ResourcePtr resource = resources.getNext();
            if (before.count(resource->getHandle()) == 0) {
                added.push_back(resource);
            }
        }
        return added;
    }

    void removeAll() {
        for (Ogre::ResourceManager* manager : managers_) {
            for (const Ogre::ResourcePtr& resource : of(*manager)) {
                manager->remove(resource);
            }
        }
    }

  private:
    std::vector<Ogre::ResourceManager*> managers_;
    // Each manager counts its own handles.
    std::map<Ogre::ResourceManager*, std::set<Ogre::ResourceHandle>> before_;
};

// The folder as a location of "MTL" for as long as the load runs, and after it if kept.
class ScriptFolderLocation {
  public:
    explicit ScriptFolderLocation(std::string folder) : folder_(std::move(folder)) {
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        if (!groups.resourceLocationExists(folder_, kMaterialGroup)) {
            groups.addResourceLocation(folder_, "FileSystem", kMaterialGroup, false);
            added_ = true;
        }
    }
    ~ScriptFolderLocation() {
        if (added_ && !kept_) {
            Ogre::ResourceGroupManager::getSingleton().removeResourceLocation(folder_,
                                                                              kMaterialGroup);
        }
    }
    ScriptFolderLocation(const ScriptFolderLocation&) = delete;
    ScriptFolderLocation& operator=(const ScriptFolderLocation&) = delete;

    void keep() { kept_ = true; }

  private:
    std::string folder_;
    bool added_ = false;
    bool kept_ = false;
};

// Loading a material one by one, unlike loading the group, survives a missing texture: Ogre
// leaves that layer blank and flags it.
void loadMaterial(Ogre::Material& material, std::vector<std::string>& warnings) {
    material.load();
    for (Ogre::Technique* technique : material.getTechniques()) {
        for (Ogre::Pass* pass : technique->getPasses()) {
            for (Ogre::TextureUnitState* unit : pass->getTextureUnitStates()) {
                if (unit->isTextureLoadFailing()) {
                    warnings.push_back(printfText(kTextureNotLoaded, unit->getTextureName().c_str(),
                                                  material.getName().c_str()));
                }
            }
        }
    }
}

}  // namespace

Result<std::vector<std::string>> loadMaterialScriptFile(const std::string& path) {
    std::string base = baseName(path);
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    if (materials.resourceExists(base, Ogre::RGN_AUTODETECT)) {
        return fail(printfText(kMaterialAlreadyLoaded, base.c_str()));
    }
    std::filesystem::path file = std::filesystem::absolute(path);
    AddedResources added;
    CompilerWatch compiler;
    std::vector<std::string> textureWarnings;
    Result<std::vector<std::string>> loaded;
    try {
        ScriptFolderLocation location(file.parent_path().string());
        const auto parse = [&] {
            Ogre::DataStreamPtr stream = Ogre::Root::openFileStream(file.string());
            materials.parseScript(stream, kMaterialGroup);
            stream->close();
        };
        // Ogre's translators follow null pointers on some malformed properties.
        if (!survivesTrialRun(parse)) {
            return fail(printfText(kScriptCompilerCrashes, file.filename().string().c_str()));
        }
        parse();
        for (const Ogre::ResourcePtr& material : added.of(materials)) {
            if (texturesLoadable()) {
                loadMaterial(static_cast<Ogre::Material&>(*material), textureWarnings);
            }
            loaded->push_back(material->getName());
        }
        if (compiler.refused) {
            loaded =
                fail(printfText(kScriptVariableUnpairedBraces, file.filename().string().c_str()));
        } else if (loaded->empty()) {
            // Ogre only logs what its lexer cannot read, so an unreadable script adds nothing.
            loaded = fail(printfText(kScriptDefinesNoMaterial, file.filename().string().c_str()));
        } else {
            location.keep();
        }
    } catch (const Ogre::Exception& error) {
        loaded = fail("ERR: " + error.getDescription());
    }
    if (!loaded) {
        added.removeAll();
    }
    for (const std::vector<std::string>* texts : {&compiler.texts, &textureWarnings}) {
        for (const std::string& text : *texts) {
            loaded.addWarning(text);
        }
    }
    return loaded;
}

}  // namespace verada
