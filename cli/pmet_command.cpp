#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/print_message.h"
#include "cli/subcommands.h"
#include "formats/io/printf_text.h"
#include "formats/pmet/pmet_report.h"
#include "platform/qt/qt_platform.h"

namespace verada::cli {
namespace {

constexpr const char* kCreateFailed = "Unable to create .txt file.";
constexpr const char* kOpenFailed = "ERR: Unable to open %s with the default viewer.";

}  // namespace

void addPmetCommand(CLI::App& app, int& exitCode) {
    CLI::App* command = app.add_subcommand(
        "pmet", "Write the header report of Spore PMET files beside them (NAME.txt) and print it");
    auto files = std::make_shared<std::vector<std::string>>();
    auto open = std::make_shared<bool>(false);
    command->add_flag("--open", *open, "Also open each report in the desktop's default viewer");
    command->add_option("files", *files, "PMET files")->required();
    command->callback([files, open, &exitCode]() {
        exitCode = 0;
        QtPlatform platform;
        for (const std::string& file : *files) {
            PmetRecord record;
            std::optional<std::string> error = loadPmetFile(file, record);
            std::string text = error ? *error : formatPmetReport(record);
            std::string outputName = pmetReportName(file);
            if (!writePmetReport(outputName, text)) {
                printMessage(stderr, kCreateFailed);
                exitCode = 1;
                continue;
            }
            printMessage(error ? stderr : stdout, text);
            if (error) {
                exitCode = 1;
            }
            if (*open && !platform.openWithDefaultViewer(outputName)) {
                printMessage(stderr, printfText(kOpenFailed, outputName.c_str()));
                exitCode = 1;
            }
        }
    });
}

}  // namespace verada::cli
