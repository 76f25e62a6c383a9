#include "ui/dialogs/material_editor_dialog.h"

#include <clocale>
#include <cstdio>
#include <sstream>

#include <OgreMaterial.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>
#include <OgreTextureManager.h>
#include <OgreTextureUnitState.h>
#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>

#include "engine/materials/material_listing.h"
#include "tests/ui/dialogs/material_dialog_fixture.h"

namespace verada {
namespace {

using namespace test;

Ogre::Technique& techniqueOf(const std::string& material) {
    return *Ogre::MaterialManager::getSingleton()
                .getByName(material, Ogre::RGN_AUTODETECT)
                ->getTechnique(0);
}

Ogre::Pass& passOf(const std::string& material, unsigned short pass = 0) {
    return *techniqueOf(material).getPass(pass);
}

// A material of `passes` passes, each with Ogre's defaults.
Ogre::Pass& makeMaterial(const std::string& name, int passes = 1) {
    Ogre::Technique& technique =
        *Ogre::MaterialManager::getSingleton().create(name, "MTL")->getTechnique(0);
    for (int p = 1; p < passes; ++p) {
        technique.createPass();
    }
    return *technique.getPass(0);
}

void makeTexture(const std::string& name) {
    Ogre::TextureManager::getSingleton().create(name, "TexFiles");
}

std::vector<float> shininessOfPasses(const std::string& material) {
    std::vector<float> values;
    for (const Ogre::Pass* pass : techniqueOf(material).getPasses()) {
        values.push_back(pass->getShininess());
    }
    return values;
}

int listIndexOf(const std::string& material) {
    NameList names;
    for (int i = 0, count = listMaterialNames(names); i < count; ++i) {
        if (names[i] == material) {
            return i;
        }
    }
    return -1;
}

class MaterialEditorTest : public test::MaterialDialogTest {
  protected:
    // Opens the editor, as the menu does, on the material of that name.
    std::unique_ptr<MaterialEditorDialog> openOn(const std::string& material) {
        state.materialEditor.editorMaterialIndex = listIndexOf(material);
        auto dialog = std::make_unique<MaterialEditorDialog>(nullptr, state);
        dialog->show();
        return dialog;
    }

    static std::string shown(QWidget& d) {
        auto box = [&d](int id) { return control<QCheckBox>(d, id).isChecked() ? "+" : "-"; };
        auto edits = [&d](std::initializer_list<int> ids) {
            std::string values;
            for (int id : ids) {
                values += " " + text(d, id).toStdString();
            }
            return values;
        };
        std::ostringstream line;
        line << control<QLabel>(d, 1037).text().toStdString() << " [" << edits({1032}) << " ]"
             << " shininess " << box(1030) << edits({1029}) << " ambient " << box(1009)
             << edits({1003, 1004, 1005}) << " specular " << box(1014)
             << edits({1010, 1011, 1012, 1013}) << " diffuse " << box(1019)
             << edits({1015, 1016, 1017, 1018}) << " self " << box(1024)
             << edits({1021, 1022, 1023}) << " texture '"
             << list(d, 1006).currentText().toStdString() << "' alpha " << box(1007);
        return line.str();
    }
};

TEST_F(MaterialEditorTest, NumbersStayInTheCFormUnderACommaLocale) {
    if (std::string(std::setlocale(LC_MONETARY, nullptr)) != "de_DE.UTF-8") {
        GTEST_SKIP() << "no comma locale could be built here (localedef)";
    }
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    char text[32];
    std::snprintf(text, sizeof text, "%f", 0.5);
    EXPECT_STREQ(text, "0.500000");
}

TEST_F(MaterialEditorTest, ShowLayerFillsEveryBoxFromTheLayer) {
    makeTexture("skin.png.old");
    makeTexture("skin.png");
    makeMaterial("Plain");
    Ogre::Pass& shiny = makeMaterial("Shiny", 2);
    shiny.setShininess(40);
    shiny.setAmbient(0, 0, 0);
    shiny.setSpecular(0.25f, 0.5f, 0.75f, 0.5f);
    shiny.setDiffuse(0, 0, 0, 0.5f);  // black: not set, whatever its alpha
    shiny.setSelfIllumination(0, 0.5f, 0);
    shiny.createTextureUnitState("skin.png");
    shiny.setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
    makeMaterial("Cased").createTextureUnitState("SKIN");
    // A texture the layer names but Ogre no longer holds.
    Ogre::TextureManager::getSingleton().remove("SKIN");

    const std::pair<const char*, const char*> cases[] = {
        {"Shiny",
         "Layer Count: 2 [ 0 ] shininess + 40.000000 ambient - 0.0 0.0 0.0 specular + 0.500000 "
         "0.250000 0.500000 0.750000 diffuse - 0.0 0.0 0.0 0.0 self + 0.000000 0.500000 "
         "0.000000 texture 'skin.png' alpha +"},
        {"Plain",
         "Layer Count: 1 [ 0 ] shininess - 0.0 ambient + 1.000000 1.000000 1.000000 specular - "
         "0.0 0.0 0.0 0.0 diffuse + 1.000000 1.000000 1.000000 1.000000 self - 0.0 0.0 0.0 "
         "texture '' alpha -"},
        // No exact match: the first entry that begins with the name, whatever its case.
        {"Cased",
         "Layer Count: 1 [ 0 ] shininess - 0.0 ambient + 1.000000 1.000000 1.000000 specular - "
         "0.0 0.0 0.0 0.0 diffuse + 1.000000 1.000000 1.000000 1.000000 self - 0.0 0.0 0.0 "
         "texture 'skin.png.old' alpha -"},
    };
    auto dialog = openOn("Plain");
    EXPECT_EQ(list(*dialog, 1000).currentText(), "Plain");
    for (const auto& [material, expected] : cases) {
        choose(list(*dialog, 1000), listIndexOf(material));
        EXPECT_EQ(shown(*dialog), expected) << material;
    }
    EXPECT_EQ(entries(list(*dialog, 1006)), std::vector<std::string>({"skin.png.old", "skin.png"}));

    // The next opening starts on the material last chosen.
    dialog->reject();
    EXPECT_EQ(dialog->result(), kMessageCancel);
    MaterialEditorDialog again(nullptr, state);
    EXPECT_EQ(again.findChild<QComboBox*>("id1000")->currentText(), "Cased");
}

TEST_F(MaterialEditorTest, ApplyWritesExactlyWhatTheBoxesSay) {
    makeTexture("rock.png");
    makeMaterial("Stone");
    auto dialog = openOn("Stone");
    QWidget& d = *dialog;
    control<QCheckBox>(d, 1030).setChecked(true);
    type(d, 1029, "40");
    control<QCheckBox>(d, 1009).setChecked(false);
    type(d, 1003, "0.3");  // unchecked: not set, whatever it says
    control<QCheckBox>(d, 1014).setChecked(true);
    type(d, 1010, "0.5");
    type(d, 1011, "abc");
    type(d, 1012, "1e0x");
    type(d, 1013, "  0.25");
    type(d, 1016, "0.75");
    control<QCheckBox>(d, 1024).setChecked(true);
    type(d, 1021, "0.1");
    type(d, 1022, "0.2");
    type(d, 1023, "0.3");
    choose(list(d, 1006), 0);
    control<QCheckBox>(d, 1007).setChecked(true);
    click(d, 1036);

    Ogre::Pass& pass = passOf("Stone");
    EXPECT_EQ(pass.getShininess(), 40.0f);
    EXPECT_EQ(pass.getAmbient(), Ogre::ColourValue(0, 0, 0, 1));
    EXPECT_EQ(pass.getSpecular(), Ogre::ColourValue(0, 1, 0.25f, 0.5f));
    EXPECT_EQ(pass.getDiffuse(), Ogre::ColourValue(0.75f, 1, 1, 1));
    EXPECT_EQ(pass.getSelfIllumination(), Ogre::ColourValue(0.1f, 0.2f, 0.3f, 1));
    ASSERT_EQ(pass.getNumTextureUnitStates(), 1u);
    EXPECT_EQ(pass.getTextureUnitState(0)->getTextureName(), "rock.png");
    EXPECT_EQ(pass.getSourceBlendFactor(), Ogre::SBF_SOURCE_ALPHA);
    EXPECT_EQ(framesRendered, 1);

    // Unchecked, the same text applies as no shininess.
    control<QCheckBox>(d, 1030).setChecked(false);
    click(d, 1036);
    EXPECT_EQ(pass.getShininess(), 0.0f);
    EXPECT_EQ(text(d, 1029), "40");

    control<QCheckBox>(d, 1007).setChecked(false);
    click(d, kMessageOk);
    EXPECT_EQ(dialog->result(), kMessageOk);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(pass.getSourceBlendFactor(), Ogre::SBF_ONE);  // replace
    EXPECT_EQ(framesRendered, 3);
}

TEST_F(MaterialEditorTest, TheSpinStepsThroughTheLayersAndDropsEdits) {
    makeMaterial("Layers", 3);
    for (unsigned short p = 0; p < 3; ++p) {
        passOf("Layers", p).setShininess(10.0f * (p + 1));
    }
    auto dialog = openOn("Layers");
    QWidget& d = *dialog;
    auto& spin = control<QScrollBar>(d, 1033);
    auto layerShown = [&d] {
        return text(d, 1032).toStdString() + " " + text(d, 1029).toStdString();
    };
    EXPECT_EQ(layerShown(), "0 10.000000");

    // The upper arrow, at the top of the bar, is "line up": the next layer.
    QTest::mouseClick(&spin, Qt::LeftButton, {}, QPoint(spin.width() / 2, 2));
    EXPECT_EQ(layerShown(), "1 20.000000");

    type(d, 1029, "99");
    spin.triggerAction(QScrollBar::SliderSingleStepSub);
    EXPECT_EQ(layerShown(), "2 30.000000");
    EXPECT_EQ(shininessOfPasses("Layers"), std::vector<float>({10, 20, 30}));
    spin.triggerAction(QScrollBar::SliderSingleStepSub);
    EXPECT_EQ(layerShown(), "0 10.000000");
    spin.triggerAction(QScrollBar::SliderSingleStepAdd);
    EXPECT_EQ(layerShown(), "2 30.000000");
    for (auto action : {QScrollBar::SliderPageStepAdd, QScrollBar::SliderPageStepSub,
                        QScrollBar::SliderToMinimum, QScrollBar::SliderMove}) {
        type(d, 1029, "77");
        spin.triggerAction(action);
        EXPECT_EQ(layerShown(), "2 30.000000") << action;
    }
    EXPECT_EQ(list(d, 1000).currentText(), "Layers");
    EXPECT_EQ(state.materialEditor.editorMaterialIndex, listIndexOf("Layers"));

    click(d, 1034);  // Add Layer keeps the layer shown
    EXPECT_EQ(control<QLabel>(d, 1037).text(), "Layer Count: 4");
    EXPECT_EQ(layerShown(), "2 30.000000");
    // Delete Layer always drops the last pass, whichever is shown.
    click(d, 1035);
    spin.triggerAction(QScrollBar::SliderSingleStepSub);
    EXPECT_EQ(layerShown(), "0 10.000000");
    click(d, 1035);
    EXPECT_EQ(shininessOfPasses("Layers"), std::vector<float>({10, 20}));
    EXPECT_EQ(control<QLabel>(d, 1037).text(), "Layer Count: 2");
    EXPECT_EQ(layerShown(), "0 10.000000");
    spin.triggerAction(QScrollBar::SliderSingleStepAdd);
    click(d, 1035);
    EXPECT_EQ(layerShown(), "0 10.000000");  // the shown layer went: the last one left
    click(d, 1035);
    EXPECT_EQ(shininessOfPasses("Layers"), std::vector<float>({10}));
    EXPECT_EQ(framesRendered, 5);
}

TEST_F(MaterialEditorTest, AddMaterialClonesAndReselectsByTheLastConfirmedName) {
    makeMaterial("Stone").setShininess(25);
    auto dialog = openOn("Stone");
    QComboBox& materials = list(*dialog, 1000);

    // Nothing confirmed yet: the empty name selects the first material.
    onNextModal([](QDialog& add) { click(add, kMessageCancel); });
    click(*dialog, 1001);
    EXPECT_EQ(materials.currentIndex(), 0);

    onNextModal([this, &materials](QDialog& add) {
        EXPECT_EQ(entries(list(add, 1043)), entries(materials));
        EXPECT_EQ(list(add, 1043).currentIndex(), 0);
        type(add, 1042, "Stone");
        click(add, kMessageOk);
        list(add, 1043).setCurrentIndex(-1);
        type(add, 1042, "Gravel");
        click(add, kMessageOk);
        ASSERT_EQ(platform.messages.size(), 2u);
        const char* texts[] = {"Material name must be unique.",
                               "Clone From Material name not found."};
        for (int m = 0; m < 2; ++m) {
            EXPECT_EQ(platform.messages[m].text, texts[m]);
            EXPECT_EQ(platform.messages[m].caption, "Add Material Failure");
            EXPECT_TRUE(platform.messages[m].hasOwner);
            EXPECT_EQ(platform.messages[m].buttons, MessageButtons::Ok);
        }
        EXPECT_TRUE(add.isVisible());
        choose(list(add, 1043), listIndexOf("Stone"));
        click(add, kMessageOk);
        EXPECT_FALSE(add.isVisible());
    });
    click(*dialog, 1001);
    EXPECT_EQ(materials.currentText(), "Gravel");
    EXPECT_EQ(materials.count(), listIndexOf("Gravel") + 1);
    EXPECT_EQ(text(*dialog, 1029), "25.000000");

    // Cancelled, Add still selects the name of the last OK, cloned or refused.
    choose(materials, 0);
    onNextModal([](QDialog& add) {
        type(add, 1042, "Ignored");
        click(add, kMessageCancel);
    });
    click(*dialog, 1001);
    EXPECT_EQ(materials.currentText(), "Gravel");
    onNextModal([](QDialog& add) {
        type(add, 1042, "Stone");
        click(add, kMessageOk);
        click(add, kMessageCancel);
    });
    click(*dialog, 1001);
    EXPECT_EQ(materials.currentText(), "Stone");
    EXPECT_EQ(state.materialEditor.lastAddedMaterialName, "Stone");
    EXPECT_FALSE(materialLoaded("Ignored"));
}

TEST_F(MaterialEditorTest, DeleteTakesTheShownMaterialButNotTheEnginesOwn) {
    makeMaterial("Stone", 2);
    makeMaterial("Last");
    auto dialog = openOn("BaseWhite");
    QComboBox& materials = list(*dialog, 1000);

    click(*dialog, 1008);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "WARN: \"BaseWhite\" is one of the engine's own materials and cannot be deleted.");
    EXPECT_TRUE(platform.messages[0].hasOwner);
    EXPECT_TRUE(materialLoaded("BaseWhite"));
    EXPECT_EQ(materials.currentText(), "BaseWhite");

    choose(materials, listIndexOf("Last"));
    click(*dialog, 1008);
    EXPECT_FALSE(materialLoaded("Last"));
    EXPECT_EQ(materials.currentIndex(), -1);
    EXPECT_EQ(materials.count(), listIndexOf("Stone") + 1);
    // Without a selection the buttons name no material: nothing changes, nothing opens.
    for (int button : {1034, 1035, 1036, 1040, 1041, 1008}) {
        click(*dialog, button);
    }
    EXPECT_EQ(techniqueOf("Stone").getNumPasses(), 2u);
    EXPECT_TRUE(materialLoaded("Stone"));
    EXPECT_TRUE(platform.fileRequests.empty());
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(MaterialEditorTest, PickColourStartsFromTheShownColourAndApplies) {
    Ogre::Pass& tint = makeMaterial("Tint");
    tint.setAmbient(0.5f, 1.2f, -0.5f);
    auto dialog = openOn("Tint");
    CustomColors before = state.customColors;
    CustomColors stored = before;
    stored[3] = 0x00123456;
    platform.colorAnswers.push_back({0x00FF007F, stored});
    click(*dialog, 1048);

    ASSERT_EQ(platform.colorRequests.size(), 1u);
    EXPECT_EQ(platform.colorRequests[0].owner, dialog.get());
    // 0.5 -> 127 (truncated), 1.2 -> 306 -> 50, -0.5 -> -127 -> 129 (the low 8 bits).
    EXPECT_EQ(platform.colorRequests[0].initial, 127u | 50u << 8 | 129u << 16);
    EXPECT_EQ(platform.colorRequests[0].customColors, before);
    EXPECT_EQ(state.customColors, stored);
    EXPECT_EQ(text(*dialog, 1003), "0.498039");
    EXPECT_EQ(text(*dialog, 1004), "0.000000");
    EXPECT_EQ(text(*dialog, 1005), "1.000000");
    EXPECT_EQ(tint.getAmbient(), Ogre::ColourValue(0.498039f, 0, 1, 1));
    EXPECT_EQ(framesRendered, 1);

    // Specular is unchecked: the chosen colour lands in its boxes but applies as not set.
    platform.colorAnswers.push_back({0x000000FF, std::nullopt});
    click(*dialog, 1049);
    EXPECT_EQ(platform.colorRequests[1].initial, 0u);
    EXPECT_EQ(platform.colorRequests[1].customColors, stored);
    EXPECT_EQ(text(*dialog, 1011), "1.000000");
    EXPECT_EQ(tint.getSpecular(), Ogre::ColourValue(0, 0, 0, 0));
    EXPECT_EQ(framesRendered, 2);

    platform.colorAnswers.push_back({std::nullopt, std::nullopt});
    type(*dialog, 1016, "0.2");
    click(*dialog, 1050);
    EXPECT_EQ(platform.colorRequests[2].initial, 0x00FFFFFFu);
    EXPECT_EQ(text(*dialog, 1016), "0.2");
    EXPECT_EQ(tint.getDiffuse(), Ogre::ColourValue(1, 1, 1, 1));
    EXPECT_EQ(framesRendered, 2);
}

}  // namespace
}  // namespace verada
