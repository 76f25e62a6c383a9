#include <cstdio>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/subcommands.h"
#include "cli/terminal_output.h"
#include "formats/package/archive_unpacker.h"

namespace verada::cli {

void addUnpackCommand(CLI::App& app, int& exitCode) {
    auto packages = std::make_shared<std::vector<std::string>>();
    CLI::App* command = app.add_subcommand(
        "unpack", "Unpack DBPF/DBBF packages, each into a folder beside it named after it");
    command->add_option("packages", *packages, "Package files")->required();
    command->callback([packages, &exitCode] {
        for (const std::string& package : *packages) {
            UnpackResult result;
            {
                ProgressLine progress("Unpacking " + package);
                result = unpackArchive(
                    package,
                    [&progress](std::uint64_t done, std::uint64_t total) {
                        progress.update(done, total);
                    },
                    [](const std::string& text) { printText(stdout, text); });
            }
            printText(result.succeeded ? stdout : stderr, result.text);
            if (!result.succeeded) {
                exitCode = 1;
            }
        }
    });
}

}  // namespace verada::cli
