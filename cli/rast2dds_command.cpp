#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/message_printer.h"
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
        MessagePrinter printer;
        for (const std::string& file : *files) {
            Result<std::string> converted = convertRasterFile(file);
            if (printer.printMessages(file, converted)) {
                printer.printReport(converted.value());
            }
        }
        exitCode = printer.exitStatus();
    });
}

}  // namespace verada::cli
