#include "ui/dialogs/material_editor_dialog.h"

#include <cmath>
#include <cstdint>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "engine/materials/material_edits.h"
#include "engine/materials/material_layer.h"
#include "engine/materials/material_listing.h"
#include "engine/materials/texture_library.h"
#include "platform/application_identity.h"
#include "ui/commands/material_save_command.h"
#include "ui/commands/texture_load_command.h"
#include "ui/dialogs/add_material_dialog.h"
#include "ui/dialogs/dialog_controls.h"

namespace verada {
namespace {

struct ColourControls {
    const char* label;
    int set;
    int alpha;  // 0: none
    std::array<int, 3> rgb;
    int pick;
};

constexpr ColourControls kColourControls[MaterialEditorDialog::kColourCount] = {
    {"Ambient", 1009, 0, {1003, 1004, 1005}, 1048},
    {"Specular", 1014, 1010, {1011, 1012, 1013}, 1049},
    {"Diffuse", 1019, 1015, {1016, 1017, 1018}, 1050},
    {"Self Illumination", 1024, 0, {1021, 1022, 1023}, 1051},
};

// One colour of the record: its flag, its alpha (ambient and self-illumination have none) and
// its red, green and blue in a row.
struct ColourValues {
    bool& set;
    float* alpha;
    float* rgb;
};

ColourValues valuesOf(MaterialLayerSettings& settings, MaterialEditorDialog::Colour colour) {
    switch (colour) {
        case MaterialEditorDialog::kAmbient:
            return {settings.hasAmbient, nullptr, settings.ambient.data()};
        case MaterialEditorDialog::kSpecular:
            return {settings.hasSpecular, &settings.specular[0], &settings.specular[1]};
        case MaterialEditorDialog::kDiffuse:
            return {settings.hasDiffuse, &settings.diffuse[0], &settings.diffuse[1]};
        default:
            return {settings.hasSelfIllumination, nullptr, settings.selfIllumination.data()};
    }
}

QString idName(int id) {
    return QString("id%1").arg(id);
}

QLineEdit* idEdit(QWidget* parent, int id) {
    auto* edit = new QLineEdit("0.0", parent);
    edit->setObjectName(idName(id));
    return edit;
}

QCheckBox* idCheckBox(QWidget* parent, const char* text, int id) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(idName(id));
    return box;
}

QComboBox* idList(QWidget* parent, int id) {
    auto* list = new QComboBox(parent);
    list->setObjectName(idName(id));
    return list;
}

float numberIn(const QLineEdit& edit) {
    return scanNumber(edit.text().toStdString()).value_or(0.0f);
}

// A component as the colour chooser's start colour byte: times 255, truncated toward zero, the
// low 8 bits of that (so 1.2 gives 50 and -0.5 gives 129). Text that read as no finite number
// starts at 0 rather than overflowing the conversion.
std::uint32_t startByte(float component) {
    double scaled = std::trunc(static_cast<double>(component) * 255.0);
    if (!std::isfinite(scaled)) {
        return 0;
    }
    double low = std::fmod(scaled, 256.0);
    return static_cast<std::uint32_t>(low < 0 ? low + 256.0 : low);
}

}  // namespace

MaterialEditorDialog::MaterialEditorDialog(QWidget* owner, AppState& state)
    : QDialog(owner), state_(state), editor_(state.materialEditor) {
    setWindowTitle("Create or Edit Materials");

    auto* select = new QGroupBox("Material Select", this);
    materials_ = idList(select, 1000);
    QPushButton* add = addDialogButton(this, "Add", 1001, false);
    QPushButton* remove = addDialogButton(this, "Delete", 1008, false);
    QPushButton* save = addDialogButton(this, "Save", 1041, false);
    auto* selectRow = new QHBoxLayout(select);
    selectRow->addWidget(materials_, 1);
    selectRow->addWidget(add);
    selectRow->addWidget(remove);
    selectRow->addWidget(save);

    layerCount_ = new QLabel("No layers", this);
    layerCount_->setObjectName(idName(1037));
    layerIndex_ = new QLineEdit(this);
    layerIndex_->setObjectName(idName(1032));
    layerIndex_->setReadOnly(true);
    layerIndex_->setMaximumWidth(48);
    // The handle stays in the middle, so that both arrows always step.
    layerSpin_ = new QScrollBar(Qt::Vertical, this);
    layerSpin_->setObjectName(idName(1033));
    layerSpin_->setRange(0, 2);
    layerSpin_->setValue(1);
    layerSpin_->setFixedHeight(48);
    QPushButton* addLayer = addDialogButton(this, "Add Layer", 1034, false);
    QPushButton* removeLayer = addDialogButton(this, "Delete Layer", 1035, false);
    auto* layerRow = new QHBoxLayout;
    layerRow->addWidget(layerCount_);
    layerRow->addWidget(layerIndex_);
    layerRow->addWidget(layerSpin_);
    layerRow->addStretch(1);
    layerRow->addWidget(addLayer);
    layerRow->addWidget(removeLayer);

    auto* data = new QGroupBox("Layer Data", this);
    auto* grid = new QGridLayout(data);
    grid->addWidget(new QLabel("Alpha", data), 0, 1);
    grid->addWidget(new QLabel("RGB", data), 0, 2, 1, 3, Qt::AlignHCenter);
    shininessSet_ = idCheckBox(data, "Shininess", 1030);
    shininess_ = idEdit(data, 1029);
    grid->addWidget(shininessSet_, 1, 0);
    grid->addWidget(shininess_, 1, 1);
    for (int c = 0; c < kColourCount; ++c) {
        const ColourControls& ids = kColourControls[c];
        ColourRow& row = colours_[c];
        row.set = idCheckBox(data, ids.label, ids.set);
        grid->addWidget(row.set, c + 2, 0);
        if (ids.alpha != 0) {
            row.alpha = idEdit(data, ids.alpha);
            grid->addWidget(row.alpha, c + 2, 1);
        }
        for (int k = 0; k < 3; ++k) {
            row.rgb[k] = idEdit(data, ids.rgb[k]);
            grid->addWidget(row.rgb[k], c + 2, 2 + k);
        }
        QPushButton* pick = addDialogButton(this, "P", ids.pick, false);
        grid->addWidget(pick, c + 2, 5);
        auto colour = static_cast<Colour>(c);
        connect(pick, &QPushButton::clicked, this, [this, colour] { pickColour(colour); });
    }

    auto* textureData = new QGroupBox("Texture File Data", this);
    textures_ = idList(textureData, 1006);
    alphaLayer_ = idCheckBox(textureData, "Alpha Layer", 1007);
    QPushButton* loadTexture = addDialogButton(this, "Load New", 1039, false);
    QPushButton* removeTexture = addDialogButton(this, "Delete", 1040, false);
    auto* textureGrid = new QGridLayout(textureData);
    textureGrid->addWidget(new QLabel("Texture Name:", textureData), 0, 0);
    textureGrid->addWidget(textures_, 0, 1, 1, 3);
    textureGrid->addWidget(alphaLayer_, 1, 1);
    textureGrid->addWidget(loadTexture, 1, 2);
    textureGrid->addWidget(removeTexture, 1, 3);
    textureGrid->setColumnStretch(1, 1);

    QPushButton* ok = addDialogButton(this, "OK", kMessageOk, true);
    QPushButton* applyButton = addDialogButton(this, "Apply", 1036, false);
    QPushButton* cancel = addDialogButton(this, "Cancel", kMessageCancel, false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(select);
    layout->addLayout(layerRow);
    layout->addWidget(data);
    layout->addWidget(textureData);
    layout->addLayout(buttonRow({ok, applyButton, cancel}));

    // activated: only the user's choice counts, not the selection the dialog makes itself.
    connect(materials_, &QComboBox::activated, this, [this](int index) {
        editor_.settings.currentLayer = 0;
        editor_.editorMaterialIndex = index;
        showLayer(0);
    });
    connect(add, &QPushButton::clicked, this, [this] { addMaterial(); });
    connect(remove, &QPushButton::clicked, this, [this] { deleteMaterial(); });
    connect(save, &QPushButton::clicked, this,
            [this] { saveMaterialScriptCommand(state_, this, editor_.settings.materialName); });
    connect(layerSpin_, &QScrollBar::actionTriggered, this,
            [this](int action) { stepLayer(action); });
    connect(addLayer, &QPushButton::clicked, this, [this] {
        addMaterialLayer(editor_.settings);
        showLayer(editor_.settings.currentLayer);
        renderFrame();
    });
    connect(removeLayer, &QPushButton::clicked, this, [this] {
        removeLastMaterialLayer(editor_.settings);
        showLayer(editor_.settings.currentLayer);
        renderFrame();
    });
    connect(loadTexture, &QPushButton::clicked, this, [this] { loadNewTexture(); });
    connect(removeTexture, &QPushButton::clicked, this, [this] { deleteTexture(); });
    connect(ok, &QPushButton::clicked, this, [this] {
        apply();
        done(kMessageOk);
    });
    connect(applyButton, &QPushButton::clicked, this, [this] { apply(); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(kMessageCancel); });

    fillMaterialList();
    showLayer(0);
}

void MaterialEditorDialog::showLayer(int layer) {
    MaterialLayerSettings& settings = editor_.settings;
    settings = MaterialLayerSettings();
    if (materials_->currentIndex() < 0) {
        return;
    }
    editor_.editorMaterialIndex = materials_->currentIndex();
    settings.materialName = chosenName(*materials_);
    if (!readMaterialLayer(settings, layer)) {
        return;
    }
    layerCount_->setText(QString("Layer Count: %1").arg(settings.layerCount));
    layerIndex_->setText(QString::number(static_cast<unsigned>(settings.currentLayer)));

    shininessSet_->setChecked(settings.hasShininess);
    shininess_->setText(settings.shininess == 0.0f ? "0.0" : sixDecimals(settings.shininess));
    for (int c = 0; c < kColourCount; ++c) {
        ColourValues values = valuesOf(settings, static_cast<Colour>(c));
        ColourRow& row = colours_[c];
        row.set->setChecked(values.set);
        if (row.alpha != nullptr) {
            row.alpha->setText(values.set ? sixDecimals(*values.alpha) : "0.0");
        }
        for (int k = 0; k < 3; ++k) {
            row.rgb[k]->setText(values.set ? sixDecimals(values.rgb[k]) : "0.0");
        }
    }

    fillTextureList();
    if (settings.hasTexture) {
        selectByName(*textures_, settings.textureName);
        alphaLayer_->setChecked(settings.alphaLayer);
    } else {
        textures_->setCurrentIndex(-1);
        alphaLayer_->setChecked(false);
    }
}

void MaterialEditorDialog::readDialog() {
    MaterialLayerSettings& settings = editor_.settings;
    settings.hasShininess = shininessSet_->isChecked();
    settings.shininess = settings.hasShininess ? numberIn(*shininess_) : 0.0f;
    for (int c = 0; c < kColourCount; ++c) {
        ColourValues values = valuesOf(settings, static_cast<Colour>(c));
        const ColourRow& row = colours_[c];
        values.set = row.set->isChecked();
        if (row.alpha != nullptr) {
            *values.alpha = values.set ? numberIn(*row.alpha) : 0.0f;
        }
        for (int k = 0; k < 3; ++k) {
            values.rgb[k] = values.set ? numberIn(*row.rgb[k]) : 0.0f;
        }
    }
    settings.hasTexture = textures_->currentIndex() >= 0;
    settings.textureName = chosenName(*textures_);
    settings.alphaLayer = settings.hasTexture && alphaLayer_->isChecked();
}

void MaterialEditorDialog::apply() {
    readDialog();
    applyMaterialLayer(editor_.settings, editor_.settings.currentLayer);
    renderFrame();
}

void MaterialEditorDialog::fillMaterialList() {
    NameList names;
    listMaterialNames(names);
    fillWithNames(*materials_, names);
    int index = editor_.editorMaterialIndex;
    materials_->setCurrentIndex(index >= 0 && index < names.size() ? index : -1);
}

void MaterialEditorDialog::fillTextureList() {
    NameList names;
    listTextureNames(names);
    fillWithNames(*textures_, names);
}

void MaterialEditorDialog::addMaterial() {
    int layer = editor_.settings.currentLayer;
    runAddMaterialDialog(this, state_);
    fillMaterialList();
    selectByName(*materials_, editor_.lastAddedMaterialName);
    showLayer(layer);
}

void MaterialEditorDialog::deleteMaterial() {
    // Without asking: the library itself refuses the engine's own materials.
    Status deleted = verada::deleteMaterial(editor_.settings.materialName);
    if (!deleted) {
        state_.platform->messageBox(this, deleted.error(), kApplicationCaption, MessageButtons::Ok,
                                    MessageIcon::None);
    }
    fillMaterialList();
    showLayer(0);
}

void MaterialEditorDialog::stepLayer(int sliderAction) {
    int layer = editor_.settings.currentLayer;
    int last = editor_.settings.layerCount > 0 ? editor_.settings.layerCount - 1 : 0;
    // A vertical scroll bar's upper arrow steps down its value: "line up", the next layer.
    if (sliderAction == QScrollBar::SliderSingleStepSub) {
        layer = layer + 1 > last ? 0 : layer + 1;
    } else if (sliderAction == QScrollBar::SliderSingleStepAdd) {
        layer = layer - 1 < 0 ? last : layer - 1;
    }
    layerSpin_->setSliderPosition(1);
    editor_.editorMaterialIndex = materials_->currentIndex();
    showLayer(layer);
}

void MaterialEditorDialog::loadNewTexture() {
    if (loadTextureCommand(state_, editor_.lastLoadedTextureName)) {
        fillTextureList();
        selectByName(*textures_, editor_.lastLoadedTextureName);
    }
}

void MaterialEditorDialog::deleteTexture() {
    verada::deleteTexture(editor_.settings);
    showLayer(editor_.settings.currentLayer);
    renderFrame();
}

void MaterialEditorDialog::pickColour(Colour colour) {
    ColourValues values = valuesOf(editor_.settings, colour);
    std::uint32_t start =
        startByte(values.rgb[0]) | startByte(values.rgb[1]) << 8 | startByte(values.rgb[2]) << 16;
    std::optional<std::uint32_t> chosen =
        state_.platform->chooseColor(this, start, state_.customColors);
    if (!chosen) {
        return;
    }
    for (int k = 0; k < 3; ++k) {
        colours_[colour].rgb[k]->setText(sixDecimals((*chosen >> (8 * k) & 0xFF) / 255.0));
    }
    apply();
}

void MaterialEditorDialog::renderFrame() {
    if (state_.renderFrame) {
        state_.renderFrame();
    }
}

int runMaterialEditorDialog(QWidget* owner, AppState& state) {
    MaterialEditorDialog dialog(owner, state);
    return dialog.exec();
}

}  // namespace verada
