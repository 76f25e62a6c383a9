// libFuzzer target for packages: the index (every form), the listing, the models read straight
// out of a package, and the unpacker, which must write nothing but whole item files into its
// own folder, whatever the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "formats/package/archive_unpacker.h"
#include "formats/package/package_file.h"
#include "formats/package/package_index.h"
#include "formats/package/package_listing.h"
#include "formats/package/package_models.h"
#include "fuzz/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// Unpacking an input that declares more than this is left out: the free-space check has tests
// of its own, and writing gigabytes per input would only slow the search down.
constexpr std::uint64_t kMaxUnpackedBytes = 64u << 20;

std::uint64_t unpackedBytes(const fs::path& package) {
    verada::Result<verada::PackageFile> file = verada::PackageFile::open(package.string());
    if (!file) {
        return 0;
    }
    std::uint64_t total = 0;
    if (verada::Result<verada::PackageIndex> index = verada::readPackageIndex(file.value())) {
        for (const verada::PackageItem& item : index->items) {
            total += item.size;
        }
    }
    return total;
}

// Beside the package only its folder, and in the folder only regular KL-* files. The folder
// is there after a success, and after a failure only when something was written into it.
void checkWrittenFiles(const fs::path& package, std::size_t packageSize, bool succeeded) {
    const fs::path folder = fs::path(package).replace_extension();
    const bool there = fs::exists(folder);
    if ((succeeded && !there) || (!succeeded && there && fs::is_empty(folder))) {
        std::abort();
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(package.parent_path())) {
        if (entry.path() != package && entry.path() != folder) {
            std::abort();
        }
    }
    if (fs::file_size(package) != packageSize) {
        std::abort();
    }
    if (!fs::exists(folder)) {
        return;
    }
    if (fs::is_symlink(folder)) {
        std::abort();
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.is_symlink() ||
            entry.path().filename().string().rfind("KL-", 0) != 0) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path package = verada::fuzz::writeInput("input.package", data, size);
    if (verada::Result<verada::PackageIndex> index = verada::readPackageIndex(package.string())) {
        verada::listPackage(index.value());
    }
    verada::readModelsAt(package.string());
    if (unpackedBytes(package) <= kMaxUnpackedBytes) {
        const verada::Result<std::string> unpacked = verada::unpackArchive(package.string());
        checkWrittenFiles(package, size, unpacked.ok());
    }
    return 0;
}
