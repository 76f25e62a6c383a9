#pragma once

#include <vector>

namespace verada {

// Command identifiers of the main window's menu.
enum CommandId {
    kCmdSaveRts = 32811,
    kCmdLoadRts = 32812,
    kCmdSaveSceneExport = 32820,
    kCmdExit = 105,
    kCmdToggleVisibility = 32786,
    kCmdDynamicRendering = 32788,
    kCmdSelectedProperties = 32795,
    kCmdRemoveAll = 32808,
    kCmdAddSims2 = 32776,
    kCmdAddGmdl = 32798,
    kCmdAddGmsh = 32800,
    kCmdAddOgre = 32797,
    kCmdAddToExisting = 32777,
    kCmdSaveMesh = 32783,
    kCmdEditMaterials = 111,
    kCmdAssignMaterials = 32780,
    kCmdLoadMaterial = 32791,
    kCmdConvertRaster = 32801,
    kCmdUnpackArchive = 32802,
    kCmdViewPmet = 32804,
    kCmdSpawnPovRay = 32806,
    kCmdPackArchive = 32814,
    kCmdHashFunction = 32816,
    kCmdAbout = 104,
    kCmdListPackage = 32821,
    kCmdAddPackageModels = 32822,
    kCmdPackArchiveCompressed = 32823,
    kCmdFrame = 32830,
    kCmdSaveScreenshot = 32831,
    kCmdStatusBar = 32832,
    kCmdKeysAndMouse = 32833,
    kCmdRecentFile0 = 32840,  // File > "Open Recent": one id per entry, up to 32847
};

enum class ItemKind {
    Command,
    Check,        // shows a check mark
    RecentFiles,  // the "Open Recent" submenu; its entries take the ids from the item's own
};

struct MenuItem {
    const char* text;
    int id;
    const char* shortcut = nullptr;  // a key sequence such as "Home"
    ItemKind kind = ItemKind::Command;
};

struct Menu {
    const char* title;
    std::vector<MenuItem> items;
};

// The menu bar, menus and items in order.
const std::vector<Menu>& mainMenu();

}  // namespace verada
