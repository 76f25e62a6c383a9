#include "formats/package/archive_packer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <system_error>
#include <vector>

#include "formats/io/atomic_file.h"
#include "formats/io/byte_writer.h"
#include "formats/io/file.h"
#include "formats/io/printf_text.h"
#include "formats/package/qfs_compressor.h"

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
    ArchivePacker(const std::string& sourceDirectory, std::string outputPath,
                  const ProgressCallback& progress, ItemStorage storage)
        : progress_(progress),
          storage_(storage),
          outputPath_(std::move(outputPath)),
          // Files are opened by path in this folder; the working directory stays where it is.
          sourceDirectory_(sourceDirectory.empty() ? fs::path(".") : fs::path(sourceDirectory)) {}

    Status collectPackFiles();
    Status writePackData(std::FILE* file);
    Status writePackIndex(std::FILE* file);
    Status patchPackHeader(std::FILE* file);
    // After the last step: what the package holds.
    PackedArchive packed() const { return {rows_.size(), runningOffset_}; }

  private:
    Status listItemFiles();
    Status checkPackFile(PackFileEntry& row) const;
    Status writePackFile(std::FILE* file, PackFileEntry& row);

    Failure failWritingOutput(std::string text) const {
        return failWriting(outputPath_, std::move(text));
    }

    const ProgressCallback& progress_;
    ItemStorage storage_;
    std::string outputPath_;
    fs::path sourceDirectory_;
    std::vector<PackFileEntry> rows_;
    std::uint64_t dataSize_ = 0;
    std::uint64_t dataRead_ = 0;
    std::uint32_t runningOffset_ = 0;
    std::uint32_t indexOffset_ = 0;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t bufferSize_ = 0;
    QfsCompressor compressor_;
};

// The "KL-*.*" files of the folder with their sizes, in the order the folder lists them.
Status ArchivePacker::listItemFiles() {
    std::error_code error;
    fs::directory_iterator entries(sourceDirectory_, error);
    if (error) {
        return fail(searchError(error, "FindFirstFile()"));
    }
    for (; entries != fs::directory_iterator(); entries.increment(error)) {
        if (error) {
            return fail(searchError(error, "FindNextFile()"));
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
        // Kept out of the 32-bit field; refused when its row is checked.
        row.size = static_cast<std::uint32_t>(std::min<std::uintmax_t>(size, kMaxFileSize));
        rows_.push_back(std::move(row));
    }
    if (error) {
        return fail(searchError(error, "FindNextFile()"));
    }
    if (rows_.empty()) {
        return fail(searchError(std::make_error_code(std::errc::no_such_file_or_directory),
                                "FindFirstFile()"));
    }
    return {};
}

// The name's length and ids, and the file's size.
Status ArchivePacker::checkPackFile(PackFileEntry& row) const {
    if (row.name.size() >= kPackNameBufferSize) {
        return fail(printfText("ERR: Found filename length %zu exceeds %zu buffer size.",
                               row.name.size(), kPackNameBufferSize));
    }
    if (row.size >= kMaxFileSize) {
        return fail("ERR: File length exceeds 2 GB size.");
    }
    std::optional<std::uint32_t> ids[3];
    for (int i = 0; i < 3; ++i) {
        ids[i] = readIdField(row.name, kIdFieldPositions[i]);
    }
    if (!ids[0] || !ids[1] || !ids[2]) {
        return fail(printfText(
            "ERR: File name %s lacks hexadecimal type, group and instance ids at positions "
            "8, 17 and 26.",
            row.name.c_str()));
    }
    row.typeId = *ids[0];
    row.groupId = *ids[1];
    row.instanceId = *ids[2];
    return {};
}

Status ArchivePacker::collectPackFiles() {
    rows_.clear();
    if (Status listed = listItemFiles(); !listed) {
        return listed;
    }
    if (rows_.size() > kPackMaxFiles) {
        return fail(
            printfText("ERR: Found %zu files matching KL-*.*, more than the %zu a package holds.",
                       rows_.size(), kPackMaxFiles));
    }
    // Name order makes packages reproducible whatever order the folder lists them in.
    std::sort(rows_.begin(), rows_.end(),
              [](const PackFileEntry& a, const PackFileEntry& b) { return a.name < b.name; });
    for (PackFileEntry& row : rows_) {
        if (Status checked = checkPackFile(row); !checked) {
            return checked;
        }
    }
    // Item offsets and the index position are 32-bit fields.
    const std::uint64_t packageSize = kHeaderSize + dataSize_ + 8 + kIndexEntrySize * rows_.size();
    if (packageSize > kMaxPackageSize) {
        return fail(
            printfText("ERR: Package would be %llu bytes, more than the 4 GB a DBPF file holds.",
                       static_cast<unsigned long long>(packageSize)));
    }
    return {};
}

Status ArchivePacker::writePackData(std::FILE* file) {
    ByteWriter header;
    header.text("DBPF").u32(2).zeros(28).u32(static_cast<std::uint32_t>(rows_.size()));
    header.zeros(20).u32(3).zeros(kHeaderSize - 64);
    if (std::fwrite(header.data(), 1, header.size(), file) != header.size()) {
        return failWritingOutput("ERR: Header file write error.");
    }
    runningOffset_ = kHeaderSize;
    for (PackFileEntry& row : rows_) {
        if (Status written = writePackFile(file, row); !written) {
            return written;
        }
        if (progress_) {
            progress_(dataRead_, dataSize_);
        }
    }
    indexOffset_ = runningOffset_;
    return {};
}

Status ArchivePacker::writePackFile(std::FILE* file, PackFileEntry& row) {
    File source =
        row.regularFile ? File::open((sourceDirectory_ / row.name).string(), "rb") : File();
    if (!source) {
        return fail(printfText("ERR: Unable to open file %s for read.", row.name.c_str()));
    }
    // One buffer, grown to the largest file so far, serves every file.
    if (!buffer_ || row.size > bufferSize_) {
        const std::size_t size = row.size > 0 ? row.size : 1;
        buffer_.reset(new (std::nothrow) std::uint8_t[size]);
        bufferSize_ = buffer_ ? size : 0;
        if (!buffer_) {
            return fail(printfText("ERR: Unable to allocate %08X memory bytes.", row.size));
        }
    }
    std::size_t got = std::fread(buffer_.get(), 1, row.size, source.get());
    if (got != row.size) {
        return fail(
            printfText("ERR: Unable to read %u bytes from file %s.", row.size, row.name.c_str()));
    }
    source.close();
    dataRead_ += got;
    row.memorySize = row.size;
    const std::uint8_t* bytes = buffer_.get();
    std::optional<std::vector<std::uint8_t>> stream;
    if (storage_ == ItemStorage::CompressedWhenSmaller) {
        stream = compressor_.compress(bytes, row.size);
        if (stream && stream->size() < row.size) {
            // The index then tells the item apart by its sizes.
            bytes = stream->data();
            row.size = static_cast<std::uint32_t>(stream->size());
        }
    }
    std::size_t written = std::fwrite(bytes, 1, row.size, file);
    if (written != row.size) {
        return failWritingOutput(
            printfText("ERR: Unable to write %u bytes to output file.", row.size));
    }
    row.offset = runningOffset_;
    runningOffset_ += static_cast<std::uint32_t>(written);
    return {};
}

Status ArchivePacker::writePackIndex(std::FILE* file) {
    ByteWriter index;
    index.u32(4).u32(0);
    for (const PackFileEntry& row : rows_) {
        index.u32(row.typeId).u32(row.groupId).u32(row.instanceId).u32(row.offset);
        index.u32(row.size | 0x80000000u).u32(row.memorySize);
        index.u16(row.size != row.memorySize ? 0xFFFF : 0).u8(1).u8(0);
    }
    if (std::fwrite(index.data(), 1, index.size(), file) != index.size()) {
        return failWritingOutput("ERR: Unable to write 4 bytes to output file.");
    }
    runningOffset_ += static_cast<std::uint32_t>(index.size());
    return {};
}

Status ArchivePacker::patchPackHeader(std::FILE* file) {
    ByteWriter word;
    word.u32(runningOffset_ - indexOffset_);
    if (std::fseek(file, 44, SEEK_SET) != 0 || std::fwrite(word.data(), 1, 4, file) != 4) {
        return failWritingOutput("ERR: Unable to write index_size to output file.");
    }
    ByteWriter offset;
    offset.u32(indexOffset_);
    if (std::fseek(file, 64, SEEK_SET) != 0 || std::fwrite(offset.data(), 1, 4, file) != 4) {
        return failWritingOutput("ERR: Unable to write index_offset to output file.");
    }
    return {};
}

}  // namespace

Result<PackedArchive> packArchive(const std::string& sourceDirectory, const std::string& outputPath,
                                  const ProgressCallback& progress, ItemStorage storage) {
    ArchivePacker packer(sourceDirectory, outputPath, progress, storage);
    if (Status collected = packer.collectPackFiles(); !collected) {
        return collected.failure();
    }
    AtomicFile output(outputPath);
    if (!output.isOpen()) {
        return failWriting(
            outputPath, printfText("ERR: Unable to open file %s for write.", outputPath.c_str()));
    }
    // Unbuffered: every short write shows at once, none is left to fail silently at the end.
    std::setvbuf(output.stream(), nullptr, _IONBF, 0);
    for (Status (ArchivePacker::*step)(std::FILE*) :
         {&ArchivePacker::writePackData, &ArchivePacker::writePackIndex,
          &ArchivePacker::patchPackHeader}) {
        if (Status written = (packer.*step)(output.stream()); !written) {
            return written.failure();
        }
    }
    if (!output.commit()) {
        return failWriting(outputPath, printfText("ERR: Unable to replace %s with the new package.",
                                                  outputPath.c_str()));
    }
    return packer.packed();
}

}  // namespace verada
