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
constexpr const char* kNoRoom =
    "ERR: The items unpack to %llu bytes, but only %llu bytes are free for %s.";

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

// The bytes the items unpack to, expanded where compressed, against the space left on the
// folder's file system (its parent's while it does not exist): a small package can declare
// gigabytes, and nothing is written when they cannot fit. Where the file system does not tell,
// the writes themselves find out.
Status checkFreeSpace(const std::filesystem::path& folder, const std::vector<PackageItem>& items) {
    std::uint64_t needed = 0;
    for (const PackageItem& item : items) {
        if (item.storedSize != 0) {
            needed += item.size;
        }
    }
    std::error_code error;
    std::filesystem::path probe = folder;
    if (!std::filesystem::exists(folder, error)) {
        probe = folder.has_parent_path() ? folder.parent_path() : ".";
    }
    const std::filesystem::space_info space = std::filesystem::space(probe, error);
    if (!error && needed > space.available) {
        return fail(printfText(kNoRoom, static_cast<unsigned long long>(needed),
                               static_cast<unsigned long long>(space.available),
                               folder.string().c_str()));
    }
    return {};
}

Status extractItems(const PackageFile& package, const std::filesystem::path& folder,
                    const PackageIndex& index, const ProgressCallback& progress) {
    for (std::size_t i = 0; i < index.items.size(); ++i) {
        if (Status extracted = extractItem(package, folder, index.items[i]); !extracted) {
            return extracted;
        }
        if (progress) {
            progress(i + 1, index.entryCount);
        }
    }
    return {};
}

}  // namespace

Result<std::string> unpackArchive(const std::string& packageName, const ProgressCallback& progress,
                                  const StatusCallback& status) {
    Result<PackageFile> package = PackageFile::open(packageName);
    if (!package) {
        return package.failure();
    }
    Result<PackageIndex> index =
        readPackageIndex(package.value(), [&status](std::uint32_t entryCount) {
            if (status) {
                status(printfText("%s\r\nEntry count = %u\r\nworking...", kBanner, entryCount));
            }
        });
    if (!index) {
        return index.failure();
    }
    // Items go into a folder named after the package, beside it; an existing one is reused.
    const std::filesystem::path folder = std::filesystem::path(packageName).replace_extension();
    if (Status room = checkFreeSpace(folder, index->items); !room) {
        return room.failure();
    }
    std::error_code error;
    const bool created = std::filesystem::create_directory(folder, error);
    Status extracted = extractItems(package.value(), folder, index.value(), progress);
    if (extracted && index->cutShort) {
        extracted = fail(*index->cutShort);
    }
    if (!extracted) {
        // Removes only a folder left empty: the items written before the error stay.
        if (created) {
            std::filesystem::remove(folder, error);
        }
        return extracted.failure();
    }
    return printfText("%s unpacked\r\nNo errors.\r\n%u index items found", packageName.c_str(),
                      index->entryCount);
}

}  // namespace verada
