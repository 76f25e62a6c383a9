#include "formats/package/package_models.h"

#include <optional>

#include "formats/io/path.h"
#include "formats/model/model_format.h"
#include "formats/package/package_file.h"
#include "formats/package/package_index.h"
#include "formats/package/package_item_data.h"

namespace verada {
bool isPackagePath(const std::string& path) {
    return lowerExtension(path) == ".package";
}

Result<std::vector<ModelRead>> readPackageModels(const std::string& packagePath) {
    Result<PackageFile> package = PackageFile::open(packagePath);
    if (!package) {
        return package.failure();
    }
    Result<PackageIndex> index = readPackageIndex(package.value());
    if (!index) {
        return index.failure();
    }
    if (index->cutShort) {
        return fail(*index->cutShort);
    }
    std::vector<ModelRead> models;
    for (const PackageItem& item : index->items) {
        // The item's unpacked name carries the extension of its model format, if any.
        const std::string name = itemFileName(item);
        std::optional<ModelFormat> format = modelFormatForPath(name);
        if (!format) {
            continue;
        }
        ModelRead read{packagePath + ":" + name, name, ImportedModel{}};
        Result<std::vector<std::uint8_t>> bytes = readPackageItem(package.value(), item);
        read.model = bytes ? readModelData(*format, name, bytes.value())
                           : Result<ImportedModel>(bytes.failure());
        models.push_back(std::move(read));
    }
    if (models.empty()) {
        return fail("ERR: Package holds no GMDL, GMSH or GMDC item.");
    }
    return models;
}

std::vector<ModelRead> readModelsAt(const std::string& path) {
    if (!isPackagePath(path)) {
        return {ModelRead{path, path, readModelFile(path)}};
    }
    Result<std::vector<ModelRead>> models = readPackageModels(path);
    if (!models) {
        return {ModelRead{path, path, models.failure()}};
    }
    return std::move(models.value());
}

}  // namespace verada
