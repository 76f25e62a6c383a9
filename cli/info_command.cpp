#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/subcommands.h"
#include "formats/model/gmdc_reader.h"
#include "formats/model/imported_model.h"
#include "formats/model/model_format.h"

namespace verada::cli {
namespace {

// Floats kept as 32-bit values, so the shortest text that reads back to the same float is
// printed.
using Json = nlohmann::basic_json<std::map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

constexpr char kUnknownFormat[] =
    "ERR: Unknown model file type, expected .gmdl, .gmsh, .5gd or .simpe.";

std::vector<std::string> warningLines(const std::string& log) {
    std::vector<std::string> lines;
    std::istringstream in(log);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

Json tuples(const float* values, int count, int width) {
    Json list = Json::array();
    for (int i = 0; i < count; ++i) {
        Json tuple = Json::array();
        for (int j = 0; j < width; ++j) {
            tuple.push_back(values[i * width + j]);
        }
        list.push_back(std::move(tuple));
    }
    return list;
}

Json groupJson(const ModelGroup& group) {
    Json faces = Json::array();
    for (int f = 0; f < group.faceCount; ++f) {
        faces.push_back({group.faces[3 * f], group.faces[3 * f + 1], group.faces[3 * f + 2]});
    }
    return Json{{"name", group.name},
                {"vertexCount", group.vertexCount},
                {"faceCount", group.faceCount},
                {"boundsMin", group.boundsMin},
                {"boundsMax", group.boundsMax},
                {"positions", tuples(group.positions, group.vertexCount, 3)},
                {"normals", tuples(group.normals, group.vertexCount, 3)},
                {"uvs", tuples(group.uvs, group.vertexCount, 2)},
                {"faces", std::move(faces)}};
}

std::string boundsText(const std::array<float, 3>& corner) {
    char text[128];
    std::snprintf(text, sizeof text, "(%g, %g, %g)", corner[0], corner[1], corner[2]);
    return text;
}

// Reads one file and reports it; false when it could not be read.
bool reportFile(const std::string& file, bool json, Json& results) {
    ImportedModel model;
    std::optional<ModelFormat> format = modelFormatForPath(file);
    std::optional<std::string> error =
        format ? readModelFile(*format, model, file) : std::optional<std::string>(kUnknownFormat);
    std::vector<std::string> warnings;
    if (format == ModelFormat::Gmdc) {
        warnings = warningLines(gmdcWarningLog());
    }
    if (error) {
        std::cerr << file << ": " << *error << "\n";
    }
    if (!json) {
        for (const std::string& warning : warnings) {
            std::cerr << file << ": " << warning << "\n";
        }
    }
    if (json) {
        Json entry{{"file", file}};
        if (error) {
            entry["error"] = *error;
        } else {
            Json groups = Json::array();
            for (const ModelGroup& group : model.groups) {
                groups.push_back(groupJson(group));
            }
            entry["groups"] = std::move(groups);
            entry["warnings"] = warnings;
        }
        results.push_back(std::move(entry));
    } else if (!error) {
        std::cout << file << ": " << model.groupCount() << " groups\n";
        for (const ModelGroup& group : model.groups) {
            std::cout << "  " << group.name << ": " << group.vertexCount << " vertices, "
                      << group.faceCount << " faces, bounds " << boundsText(group.boundsMin)
                      << " - " << boundsText(group.boundsMax) << "\n";
        }
    }
    if (format == ModelFormat::Gmdc) {
        releaseGmdcBuffers();
    }
    return !error;
}

}  // namespace

void addInfoCommand(CLI::App& app, int& exitCode) {
    CLI::App* info =
        app.add_subcommand("info", "Print the groups of model files (.gmdl, .gmsh, .5gd, .simpe)");
    auto json = std::make_shared<bool>(false);
    auto files = std::make_shared<std::vector<std::string>>();
    info->add_flag("--json", *json, "Print one JSON array with the full geometry");
    info->add_option("files", *files, "Model files")->required();
    info->callback([json, files, &exitCode] {
        Json results = Json::array();
        bool allRead = true;
        for (const std::string& file : *files) {
            allRead = reportFile(file, *json, results) && allRead;
        }
        if (*json) {
            std::cout << results.dump() << "\n";
        }
        exitCode = allRead ? 0 : 1;
    });
}

}  // namespace verada::cli
