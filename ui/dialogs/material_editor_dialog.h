#pragma once

#include <array>

#include <QDialog>

#include "engine/app_state.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace verada {

// "Create or Edit Materials": one layer (pass) of one material at a time, through the record
// state.materialEditor.settings, written back into the live material by Apply, OK and the
// colour chooser. The record, the selected material's index and the last names given to Add
// Material and Load New live in AppState, so the next opening starts where this one ended.
// Controls carry their ids as object names: materials 1000, Add 1001, Delete 1008, Save 1041,
// layer count 1037, layer index 1032, layer spin 1033 (a vertical scroll bar: its upper arrow
// steps to the next layer), Add Layer 1034, Delete Layer 1035, Shininess 1030 / 1029, the
// colours (check box; alpha; R, G, B; "P") ambient 1009; -; 1003-1005; 1048, specular 1014;
// 1010; 1011-1013; 1049, diffuse 1019; 1015; 1016-1018; 1050, self-illumination 1024; -;
// 1021-1023; 1051, textures 1006, Alpha Layer 1007, Load New 1039, texture Delete 1040, OK 1,
// Apply 1036, Cancel 2.
class MaterialEditorDialog : public QDialog {
    Q_OBJECT

  public:
    enum Colour { kAmbient, kSpecular, kDiffuse, kSelfIllumination, kColourCount };

    MaterialEditorDialog(QWidget* owner, AppState& state);

    void reject() override { done(kMessageCancel); }

  private:
    struct ColourRow {
        QCheckBox* set = nullptr;
        QLineEdit* alpha = nullptr;  // ambient and self-illumination have none
        std::array<QLineEdit*, 3> rgb{};
    };

    void showLayer(int layer);
    void readDialog();
    void apply();
    void fillMaterialList();
    void fillTextureList();

    void addMaterial();
    void deleteMaterial();
    void stepLayer(int sliderAction);
    void loadNewTexture();
    void deleteTexture();
    void pickColour(Colour colour);
    void renderFrame();

    AppState& state_;
    MaterialEditorState& editor_;
    QComboBox* materials_;
    QLabel* layerCount_;
    QLineEdit* layerIndex_;
    QScrollBar* layerSpin_;
    QCheckBox* shininessSet_;
    QLineEdit* shininess_;
    std::array<ColourRow, kColourCount> colours_;
    QComboBox* textures_;
    QCheckBox* alphaLayer_;
};

// Runs the editor modally with owner as its parent; 1 after "OK", 2 after "Cancel".
int runMaterialEditorDialog(QWidget* owner, AppState& state);

}  // namespace verada
