// libFuzzer target for the material script loader, on the headless engine: a script either
// adds its materials or fails leaving the library as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <OgreMaterialManager.h>
#include <OgreResourceGroupManager.h>

#include "engine/engine.h"
#include "engine/engine_setup.h"
#include "engine/materials/material_script_loader.h"
#include "fuzz/scratch_folder.h"

namespace {

std::size_t materialCount() {
    std::size_t count = 0;
    auto materials = Ogre::MaterialManager::getSingleton().getResourceIterator();
    while (materials.hasMoreElements()) {
        materials.getNext();
        ++count;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::unique_ptr<verada::Engine> engine = verada::Engine::startHeadless("");
    const std::size_t before = materialCount();
    const std::filesystem::path script = verada::fuzz::writeInput("input.material", data, size);
    const verada::Result<std::vector<std::string>> loaded =
        verada::loadMaterialScriptFile(script.string());
    if (!loaded) {
        if (materialCount() != before) {
            std::abort();
        }
        return 0;
    }
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    for (const std::string& name : loaded.value()) {
        materials.remove(name, verada::kMaterialGroup);
    }
    Ogre::ResourceGroupManager::getSingleton().removeResourceLocation(
        std::filesystem::absolute(script.parent_path()).string(), verada::kMaterialGroup);
    if (materialCount() != before) {
        std::abort();
    }
    return 0;
}
