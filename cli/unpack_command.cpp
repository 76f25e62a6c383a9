#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/message_printer.h"
#include "cli/subcommands.h"
#include "formats/package/archive_unpacker.h"

namespace verada::cli {

void addUnpackCommand(CLI::App& app, int& exitCode) {
    auto packages = std::make_shared<std::vector<std::string>>();
    CLI::App* command = app.add_subcommand(
        "unpack",
        "Unpack packages (Spore DBPF/DBBF, Sims 2 DBPF 1.x), each into a folder beside it named "
        "after it");
    command->add_option("packages", *packages, "Package files")->required();
    command->callback([packages, &exitCode] {
        MessagePrinter printer;
        for (const std::string& package : *packages) {
            Result<std::string> unpacked;
            {
                ProgressLine progress("Unpacking " + package);
                unpacked = unpackArchive(
                    package,
                    [&progress](std::uint64_t done, std::uint64_t total) {
                        progress.update(done, total);
                    },
                    [&printer](const std::string& text) { printer.printReport(text); });
            }
            if (printer.printMessages(package, unpacked)) {
                printer.printReport(unpacked.value());
            }
        }
        exitCode = printer.exitStatus();
    });
}

}  // namespace verada::cli
