#include "formats/package/package_file.h"

#include <filesystem>
#include <system_error>

#include "formats/io/printf_text.h"

namespace verada {

static_assert(sizeof(long) >= 8, "package offsets beyond 2 GiB need a 64-bit fseek");

Result<PackageFile> PackageFile::open(const std::string& path) {
    PackageFile package;
    package.file_ = File::open(path, "rb");
    if (!package.file_) {
        return fail(printfText("Failed to open input file %s\r\n", path.c_str()));
    }
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    package.size_ = error ? 0 : size;
    return package;
}

std::size_t PackageFile::readAt(std::uint64_t position, void* bytes, std::size_t count) const {
    if (count == 0 || std::fseek(file_.get(), static_cast<long>(position), SEEK_SET) != 0) {
        return 0;
    }
    return std::fread(bytes, 1, count, file_.get());
}

}  // namespace verada
