#include "formats/package/archive_packer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>
#include <vector>

#include "formats/io/printf_text.h"

namespace verada {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kHeaderSize = 96;
constexpr std::size_t kIndexEntrySize = 28;
constexpr std::uint64_t kMaxFileSize = 0x80000000u;
constexpr std::uint64_t kMaxPackageSize = 0xFFFFFFFFu;
constexpr std::size_t kIdFieldPositions[3] = {8, 17, 26};
constexpr std::size_t kIdFieldLength = 8;

std::string searchError(const std::error_code& error, const char* call) {
    return printfText("ERR: %08X %s on %s.", static_cast<unsigned>(error.value()),
                      error.message().c_str(), call);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

void putLe32(std::uint8_t* bytes, std::uint32_t value) {
    bytes[0] = static_cast<std::uint8_t>(value);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
    bytes[2] = static_cast<std::uint8_t>(value >> 16);
    bytes[3] = static_cast<std::uint8_t>(value >> 24);
}

// The "KL-*.*" wildcard: the prefix, then any text holding a dot.
bool matchesItemPattern(const std::string& name) {
    return name.compare(0, 3, "KL-") == 0 && name.find('.', 3) != std::string::npos;
}

// Eight hexadecimal digits at a fixed position of the name.
std::optional<std::uint32_t> readIdField(const std::string& name, std::size_t position) {
    if (name.size() < position + kIdFieldLength) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (std::size_t i = position; i < position + kIdFieldLength; ++i) {
        char c = name[i];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else {
            return std::nullopt;
        }
        value = value << 4 | digit;
    }
    return value;
}

struct PackFileEntry {
    std::string name;
    bool regularFile = false;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::uint32_t memorySize = 0;
    std::uint32_t typeId = 0;
    std::uint32_t groupId = 0;
    std::uint32_t instanceId = 0;
};

class ArchivePacker {
  public:
    explicit ArchivePacker(const ProgressCallback& progress) : progress_(progress) {}

    std::optional<std::string> setPackSearchPattern(const std::string& sourceDirectory);
    std::optional<std::string> collectPackFiles();
    std::optional<std::string> writePackData(std::FILE* file);
    std::optional<std::string> writePackFile(std::FILE* file, PackFileEntry& row);
    std::optional<std::string> writePackIndex(std::FILE* file);
    std::optional<std::string> patchPackHeader(std::FILE* file);

  private:
    const ProgressCallback& progress_;
    fs::path sourceDirectory_;
    std::vector<PackFileEntry> rows_;
    std::uint64_t dataSize_ = 0;
    std::uint32_t runningOffset_ = 0;
    std::uint32_t indexOffset_ = 0;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t bufferSize_ = 0;
};

std::optional<std::string> ArchivePacker::setPackSearchPattern(const std::string& sourceDirectory) {
    // Files are opened by path in this folder; the working directory stays where it is.
    sourceDirectory_ = sourceDirectory.empty() ? fs::path(".") : fs::path(sourceDirectory);
    return std::nullopt;
}

std::optional<std::string> ArchivePacker::collectPackFiles() {
    rows_.clear();
    std::error_code error;
    fs::directory_iterator entries(sourceDirectory_, error);
    if (error) {
        return searchError(error, "FindFirstFile()");
    }
    for (; entries != fs::directory_iterator(); entries.increment(error)) {
        if (error) {
            return searchError(error, "FindNextFile()");
        }
        PackFileEntry row;
        row.name = entries->path().filename().string();
        if (!matchesItemPattern(row.name)) {
            continue;
        }
        std::error_code statusError;
        row.regularFile = entries->is_regular_file(statusError);
        std::uintmax_t size = row.regularFile ? entries->file_size(statusError) : 0;
        dataSize_ += statusError ? 0 : size;
        if (size >= kMaxFileSize) {
            // Kept out of the 32-bit field; refused below when its row comes.
            size = kMaxFileSize;
        }
        row.size = static_cast<std::uint32_t>(size);
        rows_.push_back(std::move(row));
    }
    if (error) {
        return searchError(error, "FindNextFile()");
    }
    if (rows_.empty()) {
        return searchError(std::make_error_code(std::errc::no_such_file_or_directory),
                           "FindFirstFile()");
    }
    if (rows_.size() > kPackMaxFiles) {
        return printfText(
            "ERR: Found %zu files matching KL-*.*, more than the %zu a package holds.",
            rows_.size(), kPackMaxFiles);
    }

    // Name order makes packages reproducible whatever order the folder lists them in.
    std::sort(rows_.begin(), rows_.end(),
              [](const PackFileEntry& a, const PackFileEntry& b) { return a.name < b.name; });
    for (PackFileEntry& row : rows_) {
        if (row.name.size() >= kPackNameBufferSize) {
            return printfText("ERR: Found filename length %zu exceeds %zu buffer size.",
                              row.name.size(), kPackNameBufferSize);
        }
        if (row.size >= kMaxFileSize) {
            return std::string("ERR: File length exceeds 2 GB size.");
        }
        std::optional<std::uint32_t> ids[3];
        for (int i = 0; i < 3; ++i) {
            ids[i] = readIdField(row.name, kIdFieldPositions[i]);
        }
        if (!ids[0] || !ids[1] || !ids[2]) {
            return printfText(
                "ERR: File name %s lacks hexadecimal type, group and instance ids at positions "
                "8, 17 and 26.",
                row.name.c_str());
        }
        row.typeId = *ids[0];
        row.groupId = *ids[1];
        row.instanceId = *ids[2];
    }

    // Item offsets and the index position are 32-bit fields.
    const std::uint64_t packageSize = kHeaderSize + dataSize_ + 8 + kIndexEntrySize * rows_.size();
    if (packageSize > kMaxPackageSize) {
        return printfText("ERR: Package would be %llu bytes, more than the 4 GB a DBPF file holds.",
                          static_cast<unsigned long long>(packageSize));
    }
    return std::nullopt;
}

std::optional<std::string> ArchivePacker::writePackData(std::FILE* file) {
    std::uint8_t header[kHeaderSize] = {};
    std::memcpy(header, "DBPF", 4);
    putLe32(header + 4, 2);
    putLe32(header + 36, static_cast<std::uint32_t>(rows_.size()));
    putLe32(header + 60, 3);
    if (std::fwrite(header, 1, kHeaderSize, file) != kHeaderSize) {
        return std::string("ERR: Header file write error.");
    }
    runningOffset_ = kHeaderSize;
    for (PackFileEntry& row : rows_) {
        if (std::optional<std::string> error = writePackFile(file, row)) {
            return error;
        }
        if (progress_) {
            progress_(runningOffset_ - kHeaderSize, dataSize_);
        }
    }
    indexOffset_ = runningOffset_;
    return std::nullopt;
}

std::optional<std::string> ArchivePacker::writePackFile(std::FILE* file, PackFileEntry& row) {
    FilePtr source(row.regularFile ? std::fopen((sourceDirectory_ / row.name).c_str(), "rb")
                                   : nullptr);
    if (!source) {
        return printfText("ERR: Unable to open file %s for read.", row.name.c_str());
    }
    // One buffer, grown to the largest file so far, serves every file.
    if (!buffer_ || row.size > bufferSize_) {
        const std::size_t size = row.size > 0 ? row.size : 1;
        buffer_.reset(new (std::nothrow) std::uint8_t[size]);
        bufferSize_ = buffer_ ? size : 0;
        if (!buffer_) {
            return printfText("ERR: Unable to allocate %08X memory bytes.", row.size);
        }
    }
    std::size_t got = std::fread(buffer_.get(), 1, row.size, source.get());
    if (got != row.size) {
        return printfText("ERR: Unable to read %u bytes from file %s.", row.size, row.name.c_str());
    }
    source.reset();
    row.memorySize = row.size;
    std::size_t written = std::fwrite(buffer_.get(), 1, row.size, file);
    if (written != row.size) {
        return printfText("ERR: Unable to write %u bytes to output file.", row.size);
    }
    row.offset = runningOffset_;
    runningOffset_ += static_cast<std::uint32_t>(written);
    return std::nullopt;
}

std::optional<std::string> ArchivePacker::writePackIndex(std::FILE* file) {
    std::vector<std::uint8_t> index(8 + kIndexEntrySize * rows_.size());
    putLe32(index.data(), 4);
    putLe32(index.data() + 4, 0);
    std::uint8_t* entry = index.data() + 8;
    for (const PackFileEntry& row : rows_) {
        putLe32(entry, row.typeId);
        putLe32(entry + 4, row.groupId);
        putLe32(entry + 8, row.instanceId);
        putLe32(entry + 12, row.offset);
        putLe32(entry + 16, row.size | 0x80000000u);
        putLe32(entry + 20, row.memorySize);
        const std::uint16_t compression = row.size != row.memorySize ? 0xFFFF : 0;
        entry[24] = static_cast<std::uint8_t>(compression);
        entry[25] = static_cast<std::uint8_t>(compression >> 8);
        entry[26] = 1;
        entry[27] = 0;
        entry += kIndexEntrySize;
    }
    if (std::fwrite(index.data(), 1, index.size(), file) != index.size()) {
        return std::string("ERR: Unable to write 4 bytes to output file.");
    }
    runningOffset_ += static_cast<std::uint32_t>(index.size());
    return std::nullopt;
}

std::optional<std::string> ArchivePacker::patchPackHeader(std::FILE* file) {
    std::uint8_t word[4];
    putLe32(word, runningOffset_ - indexOffset_);
    if (std::fseek(file, 44, SEEK_SET) != 0 || std::fwrite(word, 1, 4, file) != 4) {
        return std::string("ERR: Unable to write index_size to output file.");
    }
    putLe32(word, indexOffset_);
    if (std::fseek(file, 64, SEEK_SET) != 0 || std::fwrite(word, 1, 4, file) != 4) {
        return std::string("ERR: Unable to write index_offset to output file.");
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> packArchive(const std::string& sourceDirectory,
                                       const std::string& outputPath,
                                       const ProgressCallback& progress) {
    ArchivePacker packer(progress);
    if (std::optional<std::string> error = packer.setPackSearchPattern(sourceDirectory)) {
        return error;
    }
    if (std::optional<std::string> error = packer.collectPackFiles()) {
        return error;
    }

    // A hidden name beside the output, which the "KL-*.*" search never picks up.
    const fs::path output(outputPath);
    const fs::path temporary =
        output.parent_path() / ("." + output.filename().string() + ".verada-partial");
    FilePtr file(std::fopen(temporary.c_str(), "wb"));
    if (!file) {
        return printfText("ERR: Unable to open file %s for write.", outputPath.c_str());
    }
    // Unbuffered: every short write shows at once, none is left to fail silently at close.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);

    std::optional<std::string> error = packer.writePackData(file.get());
    if (!error) {
        error = packer.writePackIndex(file.get());
    }
    if (!error) {
        error = packer.patchPackHeader(file.get());
    }
    file.reset();

    std::error_code fileError;
    if (!error) {
        fs::rename(temporary, output, fileError);
        if (fileError) {
            error =
                printfText("ERR: Unable to replace %s with the new package.", outputPath.c_str());
        }
    }
    if (error) {
        fs::remove(temporary, fileError);
    }
    return error;
}

}  // namespace verada
