#pragma once

#include <string>
#include <vector>

#include "formats/io/result.h"
#include "formats/model/imported_model.h"

namespace verada {

// One model read from a user's file.
struct ModelRead {
    std::string file;  // the path, or "PACKAGE:ITEM" for an item of a package
    std::string name;  // what it is read and named as: the path, or the item's unpacked name
    Result<ImportedModel> model;
};

// By extension, case-insensitively: .package.
bool isPackagePath(const std::string& path);

// Every GMDL, GMSH and GMDC item of the package, in index order, each read from memory as the
// model file it unpacks to; an item that does not read carries its failure and the others
// still come. Fails when the index cannot be read or the package holds no model.
Result<std::vector<ModelRead>> readPackageModels(const std::string& packagePath);

// The models a file the user names holds: a package its model items, any other file the one
// model its extension says. A package that cannot be read gives one failed entry.
std::vector<ModelRead> readModelsAt(const std::string& path);

}  // namespace verada
