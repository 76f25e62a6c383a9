#include "formats/package/archive_unpacker.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "formats/io/atomic_file.h"
#include "formats/io/printf_text.h"
#include "formats/package/package_file.h"
#include "formats/package/package_index.h"
#include "formats/package/package_item_data.h"

namespace verada {
namespace {

constexpr const char* kBanner = "Vazuvu V0.21 - by Dudoda";

Status writeItem(const std::filesystem::path& folder, const PackageItem& item,
                 const std::vector<std::uint8_t>& bytes) {
    const std::string name = itemFileName(item);
    const std::string path = (folder / name).string();
    // Thousands of items per run: each is replaced whole, but not synced one by one.
    AtomicFile file(path, Durability::Bulk);
    if (!file.isOpen()) {
        return failWriting(path, printfText("ERR: Unable to open %s for writing.", name.c_str()));
    }
    std::size_t written = file.write(bytes.data(), bytes.size());
    if (written != bytes.size()) {
        return failWriting(
            path, printfText("ERR: ChopItem write error at %08llX, write %zu of %zu bytes",
                             static_cast<unsigned long long>(item.offset), written, bytes.size()));
    }
    if (!file.commit()) {
        return failWriting(path, printfText("ERR: Unable to open %s for writing.", name.c_str()));
    }
    return {};
}

// An item of stored size 0 gives no file.
Status extractItem(const PackageFile& package, const std::filesystem::path& folder,
                   const PackageItem& item) {
    if (item.storedSize == 0) {
        return {};
    }
    Result<std::vector<std::uint8_t>> bytes = readPackageItem(package, item);
    if (!bytes) {
        return bytes.failure();
    }
    return writeItem(folder, item, bytes.value());
}

}  // namespace

Result<std::string> unpackArchive(const std::string& packageName, const ProgressCallback& progress,
                                  const StatusCallback& status) {
    Result<PackageFile> package = PackageFile::open(packageName);
    if (!package) {
        return package.failure();
    }
    // Items go into a folder named after the package, beside it; an existing one is reused.
    const std::filesystem::path folder = std::filesystem::path(packageName).replace_extension();
    std::error_code error;
    std::filesystem::create_directory(folder, error);

    Result<PackageIndex> index =
        readPackageIndex(package.value(), [&status](std::uint32_t entryCount) {
            if (status) {
                status(printfText("%s\r\nEntry count = %u\r\nworking...", kBanner, entryCount));
            }
        });
    if (!index) {
        return index.failure();
    }
    const std::vector<PackageItem>& items = index->items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (Status extracted = extractItem(package.value(), folder, items[i]); !extracted) {
            return extracted.failure();
        }
        if (progress) {
            progress(i + 1, index->entryCount);
        }
    }
    if (index->cutShort) {
        return fail(*index->cutShort);
    }
    return printfText("%s unpacked\r\nNo errors.\r\n%u index items found", packageName.c_str(),
                      index->entryCount);
}

}  // namespace verada
