#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/print_message.h"
#include "cli/subcommands.h"
#include "formats/raster/raster_converter.h"

namespace verada::cli {

void addRast2ddsCommand(CLI::App& app, int& exitCode) {
    CLI::App* command = app.add_subcommand(
        "rast2dds",
        "Convert Spore rasters (.rast) to DDS files written beside them (NAME-mm00.dds)");
    auto files = std::make_shared<std::vector<std::string>>();
    command->add_option("files", *files, "Raster files")->required();
    command->callback([files, &exitCode]() {
        exitCode = 0;
        for (const std::string& file : *files) {
            if (std::optional<std::string> error = writeDdsFromRaster(file)) {
                printMessage(stderr, *error);
                exitCode = 1;
            } else {
                printMessage(stdout, rasterConvertedText(file));
            }
        }
    });
}

}  // namespace verada::cli
