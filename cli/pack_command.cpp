#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/message_printer.h"
#include "cli/subcommands.h"
#include "formats/io/printf_text.h"
#include "formats/package/archive_packer.h"

namespace verada::cli {

void addPackCommand(CLI::App& app, int& exitCode) {
    struct Arguments {
        std::string sourceDirectory;
        std::string output;
        bool compress = false;
    };
    auto arguments = std::make_shared<Arguments>();
    CLI::App* command = app.add_subcommand(
        "pack", "Pack the KL-* item files of a folder into a DBPF version 2 package");
    command->add_option("source", arguments->sourceDirectory, "Folder holding the item files")
        ->required();
    command->add_option("output", arguments->output, "Package to write (.package)")->required();
    command->add_flag("--compress", arguments->compress,
                      "QFS-compress each item that gets smaller by it");
    command->callback([arguments, &exitCode] {
        MessagePrinter printer;
        Result<PackedArchive> packed;
        {
            ProgressLine progress("Packing " + arguments->output);
            packed = packArchive(
                arguments->sourceDirectory, arguments->output,
                [&progress](std::uint64_t done, std::uint64_t total) {
                    progress.update(done, total);
                },
                arguments->compress ? ItemStorage::CompressedWhenSmaller : ItemStorage::AsIs);
        }
        if (printer.printMessages(arguments->sourceDirectory, packed)) {
            printer.printReport(printfText(
                "Packed %zu items, %llu bytes, into %s", packed->itemCount,
                static_cast<unsigned long long>(packed->bytesWritten), arguments->output.c_str()));
        }
        exitCode = printer.exitStatus();
    });
}

}  // namespace verada::cli
