#include "engine/materials/material_listing.h"

#include <OgreMaterialManager.h>

#include <gtest/gtest.h>

#include "tests/support/headless_ogre.h"

namespace verada {
namespace {

TEST(MaterialListing, CreationOrderCappedAt128) {
    test::HeadlessOgre ogre;
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    NameList names;
    int builtIn = listMaterialNames(names);
    ASSERT_GT(builtIn, 0);
    EXPECT_EQ(names[0], "DefaultSettings");

    for (int i = 0; i < 130; ++i) {
        materials.create("m" + std::to_string(129 - i), "General");
    }
    EXPECT_EQ(listMaterialNames(names), 128);
    EXPECT_EQ(names[builtIn], "m129");
    EXPECT_EQ(names[127], "m" + std::to_string(129 - (127 - builtIn)));
}

}  // namespace
}  // namespace verada
