#include "engine/export/texture_source.h"
#include "formats/io/path.h"

#include <filesystem>

#include <OgreDataStream.h>
#include <OgreException.h>
#include <OgreImage.h>
#include <OgreResourceGroupManager.h>
#include <OgreRoot.h>
#include <OgreTextureManager.h>

namespace verada {
namespace {

bool startsWith(const std::string& bytes, const std::string& signature) {
    return bytes.compare(0, signature.size(), signature) == 0;
}

// The file's stream, or null when the engine knows no such file.
Ogre::DataStreamPtr openTextureFile(const std::string& textureName) {
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    if (groups.resourceExistsInAnyGroup(textureName)) {
        return groups.openResource(textureName, groups.findGroupContainingResource(textureName));
    }
    Ogre::TexturePtr texture =
        Ogre::TextureManager::getSingleton().getByName(textureName, Ogre::RGN_AUTODETECT);
    if (texture && !texture->getOrigin().empty() &&
        std::filesystem::is_regular_file(texture->getOrigin())) {
        return Ogre::Root::openFileStream(texture->getOrigin());
    }
    return nullptr;
}

EmbeddedImage embedded(const char* mimeType, const std::string& bytes) {
    return EmbeddedImage{mimeType, std::vector<unsigned char>(bytes.begin(), bytes.end())};
}

}  // namespace

std::optional<EmbeddedImage> textureForExport(const std::string& textureName) {
    try {
        Ogre::DataStreamPtr stream = openTextureFile(textureName);
        if (!stream) {
            return std::nullopt;
        }
        const std::string bytes = stream->getAsString();
        if (startsWith(bytes, "\x89PNG\r\n\x1a\n")) {
            return embedded("image/png", bytes);
        }
        if (startsWith(bytes, "\xff\xd8\xff")) {
            return embedded("image/jpeg", bytes);
        }
        std::string extension = lowerExtension(textureName);
        if (!extension.empty()) {
            extension.erase(0, 1);
        }
        Ogre::Image image;
        auto memory = std::make_shared<Ogre::MemoryDataStream>(const_cast<char*>(bytes.data()),
                                                               bytes.size(), false, true);
        image.load(memory, extension);
        return embedded("image/png", image.encode("png")->getAsString());
    } catch (const Ogre::Exception&) {
        // Unreadable or undecodable: the writer leaves the texture out with a warning.
        return std::nullopt;
    }
}

}  // namespace verada
