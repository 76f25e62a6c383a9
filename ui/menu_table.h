#pragma once

#include <vector>

namespace verada {

// Command identifiers of the main window's menu.
enum CommandId {
    kCmdSaveRts = 32811,
    kCmdLoadRts = 32812,
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
};

struct MenuItem {
    const char* text;
    int id;
};

struct Menu {
    const char* title;
    std::vector<MenuItem> items;
};

// The menu bar, menus and items in order.
const std::vector<Menu>& mainMenu();

}  // namespace verada
