#include "formats/model/model_format.h"


#include "formats/io/file.h"
#include "formats/io/path.h"
#include "formats/model/gmdc_reader.h"
#include "formats/model/gmdl_reader.h"
#include "formats/model/gmsh_reader.h"

namespace verada {

std::optional<ModelFormat> modelFormatForPath(const std::string& path) {
    const std::string extension = lowerExtension(path);
    if (extension == ".gmdl") {
        return ModelFormat::Gmdl;
    }
    if (extension == ".gmsh") {
        return ModelFormat::Gmsh;
    }
    if (extension == ".5gd" || extension == ".simpe") {
        return ModelFormat::Gmdc;
    }
    return std::nullopt;
}

Result<ImportedModel> readModelData(ModelFormat format, const std::string& fileName,
                                    const std::vector<std::uint8_t>& bytes) {
    switch (format) {
        case ModelFormat::Gmdl:
            return readGmdlData(fileName, bytes);
        case ModelFormat::Gmsh:
            return readGmshData(fileName, bytes);
        case ModelFormat::Gmdc:
            break;
    }
    return readGmdcData(fileName, bytes);
}

Result<ImportedModel> readModelFile(ModelFormat format, const std::string& fileName) {
    std::optional<std::vector<std::uint8_t>> bytes = readWholeFile(fileName);
    if (!bytes) {
        return fail(kFileMissingError);
    }
    return readModelData(format, fileName, *bytes);
}

Result<ImportedModel> readModelFile(const std::string& path) {
    std::optional<ModelFormat> format = modelFormatForPath(path);
    if (!format) {
        return fail(kUnknownModelFormat);
    }
    return readModelFile(*format, path);
}

}  // namespace verada
