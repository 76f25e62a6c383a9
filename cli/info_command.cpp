#include <cstdio>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/message_printer.h"
#include "cli/subcommands.h"
#include "formats/model/imported_model.h"
#include "formats/package/package_models.h"

namespace verada::cli {
namespace {

// Floats kept as 32-bit values, so the shortest text that reads back to the same float is
// printed.
using Json = nlohmann::basic_json<std::map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

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
    return Json{{"name", group.name},
                {"vertexCount", group.vertexCount()},
                {"faceCount", group.faceCount()},
                {"boundsMin", group.boundsMin},
                {"boundsMax", group.boundsMax},
                {"positions", tuples(group.positions, 3)},
                {"normals", tuples(group.normals, 3)},
                {"uvs", tuples(group.uvs, 2)},
                {"faces", tuples(group.faces, 3)}};
}

std::string boundsText(const std::array<float, 3>& corner) {
    char text[128];
    std::snprintf(text, sizeof text, "(%g, %g, %g)", corner[0], corner[1], corner[2]);
    return text;
}

// The whole geometry of one file, or its error, as one JSON entry.
Json fileJson(const std::string& file, const Result<ImportedModel>& read) {
    Json entry{{"file", file}};
    if (!read) {
        entry["error"] = read.error();
        return entry;
    }
    Json groups = Json::array();
    for (const ModelGroup& group : read->groups) {
        groups.push_back(groupJson(group));
    }
    entry["groups"] = std::move(groups);
    Json warnings = Json::array();
    for (const std::string& warning : read.warnings()) {
        warnings.push_back(withoutLineEnd(warning));
    }
    entry["warnings"] = std::move(warnings);
    return entry;
}

std::string groupsText(const std::string& file, const ImportedModel& model) {
    std::string text = file + ": " + std::to_string(model.groupCount()) + " groups";
    for (const ModelGroup& group : model.groups) {
        text += "\n  " + group.name + ": " + std::to_string(group.vertexCount()) + " vertices, " +
                std::to_string(group.faceCount()) + " faces, bounds " +
                boundsText(group.boundsMin) + " - " + boundsText(group.boundsMax);
    }
    return text;
}

}  // namespace

void addInfoCommand(CLI::App& app, int& exitCode) {
    CLI::App* info =
        app.add_subcommand("info",
                           "Print the groups of model files (.gmdl, .gmsh, .5gd, .simpe) and of "
                           "the model items of packages");
    auto json = std::make_shared<bool>(false);
    auto files = std::make_shared<std::vector<std::string>>();
    info->add_flag("--json", *json, "Print one JSON array with the full geometry");
    info->add_option("files", *files, "Model files and packages")->required();
    info->callback([json, files, &exitCode] {
        MessagePrinter printer;
        Json results = Json::array();
        for (const std::string& path : *files) {
            for (const ModelRead& read : readModelsAt(path)) {
                const std::string& file = read.file;
                if (*json) {
                    // The warnings travel inside the JSON; only failures go to stderr.
                    if (!read.model) {
                        printer.printMessage(file, read.model.error());
                    }
                    results.push_back(fileJson(file, read.model));
                } else if (printer.printMessages(file, read.model)) {
                    printer.printReport(groupsText(file, read.model.value()));
                }
            }
        }
        if (*json) {
            printer.printReport(results.dump());
        }
        exitCode = printer.exitStatus();
    });
}

}  // namespace verada::cli
