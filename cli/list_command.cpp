#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/message_printer.h"
#include "cli/subcommands.h"
#include "formats/io/utf8_text.h"
#include "formats/package/package_index.h"
#include "formats/package/package_item_names.h"
#include "formats/package/package_listing.h"

namespace verada::cli {
namespace {

using Json = nlohmann::ordered_json;

Json itemJson(const PackageItem& item) {
    Json entry{{"type", item.typeId},
               {"typeName", typeIdToName(item.typeId).name},
               {"group", item.groupId},
               {"instance", item.instanceId}};
    if (item.resourceId) {
        entry["resource"] = *item.resourceId;
    }
    entry["offset"] = item.offset;
    entry["storedSize"] = item.storedSize;
    entry["size"] = item.size;
    entry["compressed"] = item.compressed;
    return entry;
}

Json packageJson(const std::string& file, const Result<PackageIndex>& index) {
    Json entry{{"file", asUtf8(file)}};
    if (!index) {
        entry["error"] = asUtf8(index.error());
        return entry;
    }
    entry["version"] =
        std::to_string(index->majorVersion) + "." + std::to_string(index->minorVersion);
    Json items = Json::array();
    for (const PackageItem& item : index->items) {
        items.push_back(itemJson(item));
    }
    entry["items"] = std::move(items);
    return entry;
}

// The summary line, then the table with its columns lined up.
std::string listingText(const std::string& file, const PackageListing& listing) {
    std::vector<ListingRow> lines = {listingColumns()};
    lines.insert(lines.end(), listing.rows.begin(), listing.rows.end());
    std::size_t widths[kListingColumnCount] = {};
    for (const ListingRow& line : lines) {
        for (std::size_t column = 0; column < kListingColumnCount; ++column) {
            widths[column] = std::max(widths[column], line[column].size());
        }
    }
    std::string text = printableText(file) + ": " + listing.summary;
    for (const ListingRow& line : lines) {
        std::string row = " ";
        for (std::size_t column = 0; column < kListingColumnCount; ++column) {
            const std::string padding(widths[column] - line[column].size(), ' ');
            row += ' ';
            row += isNumberColumn(column) ? padding + line[column] : line[column] + padding;
        }
        row.erase(row.find_last_not_of(' ') + 1);
        text += "\n" + row;
    }
    return text;
}

}  // namespace

void addListCommand(CLI::App& app, int& exitCode) {
    auto json = std::make_shared<bool>(false);
    auto packages = std::make_shared<std::vector<std::string>>();
    CLI::App* command = app.add_subcommand(
        "list",
        "Print the index of packages (DBPF 1.x, 2, 3, DBBF) without unpacking or decompressing "
        "anything");
    command->add_flag("--json", *json, "Print one JSON array of the packages");
    command->add_option("packages", *packages, "Package files")->required();
    command->callback([json, packages, &exitCode] {
        MessagePrinter printer;
        Json results = Json::array();
        for (const std::string& package : *packages) {
            Result<PackageIndex> index = readPackageIndex(package);
            if (*json) {
                if (!index) {
                    printer.printMessage(package, index.error());
                }
                results.push_back(packageJson(package, index));
            } else if (printer.printMessages(package, index)) {
                printer.printReport(listingText(package, listPackage(index.value())));
            }
        }
        if (*json) {
            printer.printReport(results.dump());
        }
        exitCode = printer.exitStatus();
    });
}

}  // namespace verada::cli
