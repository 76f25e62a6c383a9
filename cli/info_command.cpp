#include <strings.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/message_printer.h"
#include "cli/subcommands.h"
#include "engine/engine.h"
#include "engine/mesh/ogre_mesh_import.h"
#include "formats/io/utf8_text.h"
#include "formats/model/imported_model.h"
#include "formats/model/model_format.h"
#include "formats/package/package_models.h"

namespace verada::cli {
namespace {

// Floats kept as 32-bit values, so the shortest text that reads back to the same float is
// printed.
using Json = nlohmann::basic_json<std::map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

constexpr char kUnknownInfoFile[] =
    "ERR: Unknown model file type, expected .gmdl, .gmsh, .5gd, .simpe, .mesh or .package.";

// A warning as one line of JSON text: without its "\r\n".
std::string withoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

template <typename T>
Json tuples(const std::vector<T>& values, std::size_t width) {
    Json list = Json::array();
    for (std::size_t i = 0; i + width <= values.size(); i += width) {
        list.push_back(std::vector<T>(values.begin() + i, values.begin() + i + width));
    }
    return list;
}

Json groupJson(const ModelGroup& group) {
    return Json{{"name", asUtf8(group.name)},          {"vertexCount", group.vertexCount()},
                {"faceCount", group.faceCount()},      {"boundsMin", group.boundsMin},
                {"boundsMax", group.boundsMax},        {"positions", tuples(group.positions, 3)},
                {"normals", tuples(group.normals, 3)}, {"uvs", tuples(group.uvs, 2)},
                {"faces", tuples(group.faces, 3)}};
}

std::string boundsText(const std::array<float, 3>& corner) {
    char text[128];
    std::snprintf(text, sizeof text, "(%g, %g, %g)", corner[0], corner[1], corner[2]);
    return text;
}

// The whole geometry of one file, or its error, as one JSON entry.
Json fileJson(const std::string& file, const Result<ImportedModel>& read) {
    Json entry{{"file", asUtf8(file)}};
    if (!read) {
        entry["error"] = asUtf8(read.error());
        return entry;
    }
    Json groups = Json::array();
    for (const ModelGroup& group : read->groups) {
        groups.push_back(groupJson(group));
    }
    entry["groups"] = std::move(groups);
    Json warnings = Json::array();
    for (const std::string& warning : read.warnings()) {
        warnings.push_back(asUtf8(withoutLineEnd(warning)));
    }
    entry["warnings"] = std::move(warnings);
    return entry;
}

std::string groupsText(const std::string& file, const ImportedModel& model) {
    std::string text = printableText(file) + ": " + std::to_string(model.groupCount()) + " groups";
    for (const ModelGroup& group : model.groups) {
        text += "\n  " + printableText(group.name) + ": " + std::to_string(group.vertexCount()) +
                " vertices, " + std::to_string(group.faceCount()) + " faces, bounds " +
                boundsText(group.boundsMin) + " - " + boundsText(group.boundsMax);
    }
    return text;
}

bool isOgreMesh(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    return extension.size() == 5 && strcasecmp(extension.c_str(), ".mesh") == 0;
}

std::string submeshesText(const std::string& file, const std::vector<SubmeshSummary>& submeshes) {
    std::string text = printableText(file) + ": " + std::to_string(submeshes.size()) +
                       (submeshes.size() == 1 ? " submesh" : " submeshes");
    for (const SubmeshSummary& submesh : submeshes) {
        text += "\n  " + printableText(submesh.label) + ": " + std::to_string(submesh.vertexCount) +
                " vertices, " + std::to_string(submesh.faceCount) + " faces, material \"" +
                printableText(submesh.material) + "\"";
    }
    return text;
}

Json submeshesJson(const std::string& file, const Result<std::vector<SubmeshSummary>>& read) {
    Json entry{{"file", asUtf8(file)}};
    if (!read) {
        entry["error"] = asUtf8(read.error());
        return entry;
    }
    Json submeshes = Json::array();
    for (const SubmeshSummary& submesh : read.value()) {
        submeshes.push_back(Json{{"label", asUtf8(submesh.label)},
                                 {"material", asUtf8(submesh.material)},
                                 {"vertexCount", submesh.vertexCount},
                                 {"faceCount", submesh.faceCount},
                                 {"sharedVertices", submesh.sharedVertices}});
    }
    entry["submeshes"] = std::move(submeshes);
    return entry;
}

// A .mesh file through the headless engine, started for the first one.
void listOgreMesh(const std::string& file, bool json, std::unique_ptr<Engine>& engine,
                  MessagePrinter& printer, Json& results) {
    if (!engine) {
        engine = Engine::startHeadless("");
    }
    Result<std::vector<SubmeshSummary>> read = describeOgreMeshFile(file);
    if (json) {
        if (!read) {
            printer.printMessage(file, read.error());
        }
        results.push_back(submeshesJson(file, read));
    } else if (printer.printMessages(file, read)) {
        printer.printReport(submeshesText(file, read.value()));
    }
}

// A model file, or every model item of a package as "PACKAGE:ITEM".
void listModels(const std::string& path, bool json, MessagePrinter& printer, Json& results) {
    std::vector<ModelRead> reads;
    if (isPackagePath(path) || modelFormatForPath(path)) {
        reads = readModelsAt(path);
    } else {
        reads.push_back({path, path, fail(kUnknownInfoFile)});
    }
    for (const ModelRead& read : reads) {
        if (json) {
            // The warnings travel inside the JSON; only failures go to stderr.
            if (!read.model) {
                printer.printMessage(read.file, read.model.error());
            }
            results.push_back(fileJson(read.file, read.model));
        } else if (printer.printMessages(read.file, read.model)) {
            printer.printReport(groupsText(read.file, read.model.value()));
        }
    }
}

}  // namespace

void addInfoCommand(CLI::App& app, int& exitCode) {
    CLI::App* info = app.add_subcommand(
        "info",
        "Print the groups of model files (.gmdl, .gmsh, .5gd, .simpe, .mesh) and of the model "
        "items of packages");
    auto json = std::make_shared<bool>(false);
    auto files = std::make_shared<std::vector<std::string>>();
    info->add_flag("--json", *json, "Print one JSON array with the full geometry");
    info->add_option("files", *files, "Model files and packages")->required();
    info->callback([json, files, &exitCode] {
        MessagePrinter printer;
        Json results = Json::array();
        std::unique_ptr<Engine> engine;
        for (const std::string& file : *files) {
            if (isOgreMesh(file)) {
                listOgreMesh(file, *json, engine, printer, results);
            } else {
                listModels(file, *json, printer, results);
            }
        }
        if (*json) {
            printer.printReport(results.dump());
        }
        exitCode = printer.exitStatus();
    });
}

}  // namespace verada::cli
