#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/message_printer.h"
#include "cli/subcommands.h"
#include "formats/hash/name_hash.h"

namespace verada::cli {
namespace {

void printHash(const std::string& text) {
    std::printf("0x%08X\t%s\n", nameHash(text), text.c_str());
}

}  // namespace

void addHashCommand(CLI::App& app, int& exitCode) {
    CLI::App* command = app.add_subcommand(
        "hash", "Print the name hash of each TEXT, or of each line of standard input");
    auto texts = std::make_shared<std::vector<std::string>>();
    command->add_option("text", *texts, "Names to hash (their bytes as given)");
    command->callback([texts, &exitCode]() {
        MessagePrinter printer;
        if (!texts->empty()) {
            for (const std::string& text : *texts) {
                printHash(text);
            }
        } else {
            std::string line;
            while (std::getline(std::cin, line)) {
                // Lists written on Windows end their lines in "\r\n"; the "\r" is no part of
                // the name.
                if (!line.empty() && line.back() == '\r') {
                    line.pop_back();
                }
                printHash(line);
            }
            if (std::cin.bad()) {
                std::fflush(stdout);
                printer.printMessage("-", "ERR: Standard input could not be read.");
            }
        }
        exitCode = printer.exitStatus();
    });
}

}  // namespace verada::cli
