#include "ui/menu_table.h"

namespace verada {

const std::vector<Menu>& mainMenu() {
    static const std::vector<Menu> menu = {
        {"&File",
         {{"Save As .RTS", kCmdSaveRts},
          {"Load .RTS", kCmdLoadRts},
          {"Save Scene as glTF/OBJ...", kCmdSaveSceneExport},
          {"Open Recent", kCmdRecentFile0, nullptr, ItemKind::RecentFiles},
          {"E&xit", kCmdExit}}},
        {"SceneNodes",
         {{"Toggle Node Visibility", kCmdToggleVisibility},
          {"Dynamic Rendering", kCmdDynamicRendering, nullptr, ItemKind::Check},
          {"Selected Properties", kCmdSelectedProperties},
          {"Remove All", kCmdRemoveAll}}},
        {"Meshes",
         {{"Add New Node (Sims 2)", kCmdAddSims2},
          {"Add New Node (Spore GMDL)", kCmdAddGmdl},
          {"Add New Node (Spore GMSH)", kCmdAddGmsh},
          {"Add New Node (Ogre)", kCmdAddOgre},
          {"Add To Existing Node", kCmdAddToExisting},
          {"Save Mesh as .mesh", kCmdSaveMesh},
          {"Add Models From Package...", kCmdAddPackageModels}}},
        {"Materials",
         {{"Create or Edit Materials", kCmdEditMaterials},
          {"Assign Materials", kCmdAssignMaterials},
          {"Load Ogre Material", kCmdLoadMaterial}}},
        {"Tools",
         {{"Convert .rast to .dds", kCmdConvertRaster},
          {"Unpack DBPF|DBBF (V2)", kCmdUnpackArchive},
          {"View PMET file", kCmdViewPmet},
          {"Spawn POV-Ray", kCmdSpawnPovRay},
          {"Pack DBPF (V2)", kCmdPackArchive},
          {"Hash Function", kCmdHashFunction},
          {"List Package Contents...", kCmdListPackage},
          {"Pack DBPF (V2), Compressed...", kCmdPackArchiveCompressed}}},
        {"View",
         {{"Frame", kCmdFrame, "Home"},
          {"Save Screenshot...", kCmdSaveScreenshot, "F12"},
          {"Status Bar", kCmdStatusBar, nullptr, ItemKind::Check}}},
        {"&Help", {{"Keys and Mouse", kCmdKeysAndMouse}, {"&About ...", kCmdAbout}}},
    };
    return menu;
}

}  // namespace verada
