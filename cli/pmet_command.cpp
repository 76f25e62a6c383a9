#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/message_printer.h"
#include "cli/subcommands.h"
#include "formats/io/printf_text.h"
#include "formats/pmet/pmet_report.h"
#include "platform/posix/posix_system_services.h"

namespace verada::cli {

void addPmetCommand(CLI::App& app, int& exitCode) {
    CLI::App* command = app.add_subcommand(
        "pmet", "Write the header report of Spore PMET files beside them (NAME.txt) and print it");
    auto files = std::make_shared<std::vector<std::string>>();
    auto open = std::make_shared<bool>(false);
    command->add_flag("--open", *open, "Also open each report in the desktop's default viewer");
    command->add_option("files", *files, "PMET files")->required();
    command->callback([files, open, &exitCode]() {
        MessagePrinter printer;
        PosixSystemServices system;
        for (const std::string& file : *files) {
            Result<PmetReportFile> written = writePmetReportFile(file);
            if (!printer.printMessages(file, written)) {
                continue;
            }
            const PmetReportFile& report = written.value();
            if (printer.printMessages(file, report.report)) {
                printer.printReport(report.report.value());
            }
            if (*open && !system.openWithDefaultViewer(report.path)) {
                printer.printMessage(file, printfText(kPmetViewerFailed, report.path.c_str()));
            }
        }
        exitCode = printer.exitStatus();
    });
}

}  // namespace verada::cli
