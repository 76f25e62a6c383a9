#include "formats/config/config.h"

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace verada {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(Config, FirstRunWritesDefaults) {
    TempDir dir;
    std::string path = (dir / "Verada.cfg").string();
    ViewSettings view;
    PovSettings pov;
    CustomColors colors = defaultCustomColors();
    IniProfile profile = IniProfile::load(path);
    loadCustomColors(profile, colors);
    loadViewSettings(profile, view, pov);
    EXPECT_EQ(view.lightPosition, (std::array<float, 3>{0.0f, 15.0f, 25.0f}));
    EXPECT_EQ(view.lightDiffuseColor, (std::array<float, 3>{1.0f, 0.6f, 0.4f}));
    EXPECT_EQ(view.lightSpecularColor, (std::array<float, 3>{1.0f, 0.4f, 0.6f}));

    IniProfile atExit = IniProfile::load(path);
    saveViewSettings(atExit, view);
    saveCustomColors(atExit, colors);
    ASSERT_TRUE(atExit.save());
    EXPECT_EQ(readFile(path),
              "[SceneParms]\r\n"
              "LightPosition=0.000000 15.000000 25.000000\r\n"
              "LightDiffuseColor=1.000000 0.600000 0.400000\r\n"
              "LightSpecularColor=1.000000 0.400000 0.600000\r\n"
              "SaveFinalView=0\r\n"
              "CameraXPos=0.000000\r\nCameraYPos=1.000000\r\nCameraDist=2.000000\r\n"
              "CameraLookX=0.000000\r\nCameraLookY=0.700000\r\nCameraNearClip=1.000000\r\n"
              "CameraFovY=60.000000\r\nBackgroundShift=8.000000\r\nBgndRed=0.100000\r\n"
              "BgndGreen=0.100000\r\nBgndBlue=0.450000\r\nBgndAlpha=1.000000\r\n"
              "[CustomColors]\r\n"
              "ColorSet00=31 31 31\r\nColorSet01=63 63 63\r\nColorSet02=95 95 95\r\n"
              "ColorSet03=127 127 127\r\nColorSet04=255 63 63\r\nColorSet05=63 255 63\r\n"
              "ColorSet06=63 127 63\r\nColorSet07=127 63 63\r\nColorSet08=63 127 63\r\n"
              "ColorSet09=63 63 127\r\nColorSet10=127 127 63\r\nColorSet11=127 63 127\r\n"
              "ColorSet12=63 127 127\r\nColorSet13=127 31 63\r\nColorSet14=31 127 63\r\n"
              "ColorSet15=31 63 127\r\n");
}

TEST(Config, SaveFinalViewDecidesWhetherTheCameraIsKept) {
    for (int keep : {0, 1}) {
        TempDir dir;
        std::string path = (dir / "Verada.cfg").string();
        writeFile(path, "[SceneParms]\r\nSaveFinalView=" + std::to_string(keep) + "\r\n");
        ViewSettings view;
        view.cameraXPos = 3.5f;
        view.cameraDist = 9.0f;
        view.cameraFovY = 45.0f;
        view.bgndRed = 0.5f;
        IniProfile profile = IniProfile::load(path);
        saveViewSettings(profile, view);
        ASSERT_TRUE(profile.save());

        ViewSettings next;
        PovSettings pov;
        loadViewSettings(IniProfile::load(path), next, pov);
        EXPECT_FLOAT_EQ(next.cameraXPos, keep ? 3.5f : 0.0f);
        EXPECT_FLOAT_EQ(next.cameraDist, keep ? 9.0f : 2.0f);
        EXPECT_FLOAT_EQ(next.cameraFovY, keep ? 45.0f : 60.0f);
        EXPECT_FLOAT_EQ(next.bgndRed, 0.5f);  // never reset
        EXPECT_EQ(IniProfile::load(path).readInt("SceneParms", "SaveFinalView", -1), keep);
    }
}

TEST(Config, MalformedValuesStopAtTheFirstBadComponent) {
    TempDir dir;
    std::string path = (dir / "Verada.cfg").string();
    writeFile(path,
              "[SceneParms]\nLightPosition=5abc 7 8\nLightDiffuseColor=0.5 0.25 x\n"
              "CameraDist=oops\nCameraFovY=  75.5  \n"
              "[Commands]\nPOVCommand=\"/usr/bin/povray +W640\"\nPOVTexPath=\"tex\n"
              "[CustomColors]\nColorSet03=10 20\nColorSet04=300 0 0\nColorSet05=-1 256 7\n");
    IniProfile profile = IniProfile::load(path);
    ViewSettings view;
    PovSettings pov;
    CustomColors colors = defaultCustomColors();
    loadViewSettings(profile, view, pov);
    loadCustomColors(profile, colors);
    EXPECT_EQ(view.lightPosition, (std::array<float, 3>{5.0f, 0.0f, 0.0f}));
    EXPECT_EQ(view.lightDiffuseColor, (std::array<float, 3>{0.5f, 0.25f, 0.0f}));
    EXPECT_FLOAT_EQ(view.cameraDist, 2.0f);
    EXPECT_FLOAT_EQ(view.cameraFovY, 75.5f);
    EXPECT_EQ(pov.povCommand, "/usr/bin/povray +W640");
    EXPECT_EQ(pov.povTexturePath, "tex");
    EXPECT_EQ(colors[3], 0x00FFFFFFu);
    EXPECT_EQ(colors[4], 44u);
    EXPECT_EQ(colors[5], 0x0700FFu);
    EXPECT_EQ(colors[6], defaultCustomColors()[6]);
}

}  // namespace
}  // namespace verada
