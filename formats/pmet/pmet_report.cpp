#include "formats/pmet/pmet_report.h"

#include <algorithm>
#include <vector>

#include "formats/io/atomic_file.h"
#include "formats/io/file.h"
#include "formats/io/path.h"
#include "formats/io/printf_text.h"

namespace verada {
namespace {

constexpr std::uint32_t kVersion8 = 8;
constexpr std::uint32_t kVersion10 = 10;

// The longest record a file can hold; nothing after it is ever read.
constexpr std::size_t kMaxRecordBytes = 4 + 8 + 3 * 4 + 3 * 4 + 2 * 4 + 2 * 4 + 2 * 4 + 3 * 4 +
                                        3 * (4 + 2 * kPmetMaxStringUnits) + 4 +
                                        kPmetMaxTags * (4 + kPmetMaxTagLength) + 3 * 4;

constexpr const char* kCreateFailed = "Unable to create .txt file.";
constexpr const char* kOpenFailed = "ERR: File %s not able to be opened.";
constexpr const char* kBadVersion = "ERR: Version %d not known (only 8 and 10).";
constexpr const char* kShortGuid =
    "ERR: File read error on GUID data. %d bytes requested, %d read.";
constexpr const char* kLongString = "ERR: Max string len exceeded. %d bytes requested, %d maximum.";
constexpr const char* kTooManyTags =
    "ERR: Max tag string count exceeded. %d specified, %d maximum.";
constexpr const char* kLongTag = "ERR: Max tag string length exceeded. %d specified, %d maximum.";
constexpr const char* kShortTag =
    "ERR: File read error on Tag string. %d bytes requested, %d read.";

struct StringField {
    std::uint32_t PmetRecord::*length;
    std::array<unsigned char, 2 * kPmetMaxStringUnits> PmetRecord::*units;
    const char* shortReadMessage;
    const char* reportLabel;
};

constexpr StringField kStringFields[] = {
    {&PmetRecord::userNameLength, &PmetRecord::userName,
     "ERR: File read error on User Unicode string. %d bytes requested, %d read.",
     "User Name:     %s\r\n"},
    {&PmetRecord::creatureNameLength, &PmetRecord::creatureName,
     "ERR: File read error on Char Unicode string. %d bytes requested, %d read.",
     "Creature Name: %s\r\n"},
    {&PmetRecord::commentsLength, &PmetRecord::comments,
     "ERR: File read error on Com Unicode string. %d bytes requested, %d read.",
     "Comments:      %s\r\n"},
};

// Counts and lengths are printed with "%d" as read.
int asPrinted(std::uint32_t value) {
    return static_cast<int>(value);
}

template <std::size_t N>
bool readU32s(ByteReader& file, std::array<std::uint32_t, N>& values) {
    for (std::uint32_t& value : values) {
        if (!file.readU32Be(value)) {
            return false;
        }
    }
    return true;
}

// Text up to its first zero byte, as "%s" would print it.
std::string printable(const unsigned char* bytes, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count && bytes[i] != 0; ++i) {
        text += static_cast<char>(bytes[i]);
    }
    return text;
}

// The first byte of each 16-bit unit up to the first zero, so big-endian text prints empty.
std::string narrowed(const unsigned char* units, std::uint32_t count) {
    std::string text;
    for (std::uint32_t i = 0; i < count && units[2 * i] != 0; ++i) {
        text += static_cast<char>(units[2 * i]);
    }
    return text;
}

}  // namespace

Status readPmetRecord(ByteReader& file, PmetRecord& record) {
    record = PmetRecord{};
    if (!file.readU32Be(record.version)) {
        return fail(kBigEndianU32ReadError);
    }
    if (record.version != kVersion8 && record.version != kVersion10) {
        return fail(printfText(kBadVersion, asPrinted(record.version)));
    }
    record.guidLength = 8;
    std::size_t got = file.readBytes(record.guid.data(), record.guid.size());
    if (got < record.guid.size()) {
        return fail(
            printfText(kShortGuid, static_cast<int>(record.guid.size()), static_cast<int>(got)));
    }
    bool isVersion10 = record.version == kVersion10;
    if (!readU32s(file, record.creatureId1) || !readU32s(file, record.creatureId2) ||
        (isVersion10 && !readU32s(file, record.v10Quad)) || !readU32s(file, record.tid) ||
        (isVersion10 && !readU32s(file, record.tid2)) || !readU32s(file, record.userId)) {
        return fail(kBigEndianU32ReadError);
    }

    for (const StringField& field : kStringFields) {
        std::uint32_t& count = record.*field.length;
        if (!file.readU32Be(count)) {
            return fail(kBigEndianU32ReadError);
        }
        if (count > kPmetMaxStringUnits) {
            return fail(printfText(kLongString, asPrinted(count), asPrinted(kPmetMaxStringUnits)));
        }
        std::size_t wanted = 2 * static_cast<std::size_t>(count);
        got = file.readBytes((record.*field.units).data(), wanted);
        if (got < wanted) {
            return fail(printfText(field.shortReadMessage, static_cast<int>(wanted),
                                   static_cast<int>(got)));
        }
    }

    if (!file.readU32Be(record.tagCount)) {
        return fail(kBigEndianU32ReadError);
    }
    if (record.tagCount > kPmetMaxTags) {
        return fail(printfText(kTooManyTags, asPrinted(record.tagCount), asPrinted(kPmetMaxTags)));
    }
    for (std::uint32_t tag = 0; tag < record.tagCount; ++tag) {
        std::uint32_t& length = record.tagLength[tag];
        if (!file.readU32Be(length)) {
            return fail(kBigEndianU32ReadError);
        }
        if (length > kPmetMaxTagLength) {
            return fail(printfText(kLongTag, asPrinted(length), asPrinted(kPmetMaxTagLength)));
        }
        got = file.readBytes(record.tagText[tag].data(), length);
        if (got < length) {
            return fail(printfText(kShortTag, asPrinted(length), static_cast<int>(got)));
        }
    }

    if (!readU32s(file, record.tgi)) {
        return fail(kBigEndianU32ReadError);
    }
    return {};
}

namespace {

Result<PmetRecord> loadPmetFile(const std::string& fileName) {
    File file = File::open(fileName, "rb");
    if (!file) {
        return fail(printfText(kOpenFailed, fileName.c_str()));
    }
    std::vector<std::uint8_t> bytes(kMaxRecordBytes);
    std::size_t size = std::fread(bytes.data(), 1, bytes.size(), file.get());
    ByteReader input(bytes.data(), size);
    PmetRecord record;
    if (Status read = readPmetRecord(input, record); !read) {
        return fail(read.error());
    }
    return record;
}

}  // namespace

std::string formatPmetReport(const PmetRecord& record) {
    std::string report =
        "Alpha PMET contents parser\r\nYou should expect this to change in the future\r\n\r\n";
    report += printfText("Version =      %d\r\nGUID =         ", asPrinted(record.version));
    for (std::uint32_t i = 0; i < record.guidLength && i < record.guid.size(); ++i) {
        report += printfText("%02X ", record.guid[i]);
    }
    report += "\r\n";
    auto triple = [&report](const char* format, const std::array<std::uint32_t, 3>& values) {
        report += printfText(format, values[0], values[1], values[2]);
    };
    auto pair = [&report](const char* format, const std::array<std::uint32_t, 2>& values) {
        report += printfText(format, values[0], values[1]);
    };
    bool isVersion10 = record.version == kVersion10;
    triple("Creature ID 1: %08X %08X %08X\r\n", record.creatureId1);
    triple("Creature ID 2: %08X %08X %08X\r\n", record.creatureId2);
    if (isVersion10) {
        pair("v10quad:       %08X %08X\r\n", record.v10Quad);
    }
    pair("tid:           %08X %08X\r\n", record.tid);
    if (isVersion10) {
        pair("tid2:          %08X %08X\r\n", record.tid2);
    }
    triple("User ID:       %08X %08X %08X\r\n", record.userId);
    for (const StringField& field : kStringFields) {
        std::uint32_t count = std::min(record.*field.length, kPmetMaxStringUnits);
        report +=
            printfText(field.reportLabel, narrowed((record.*field.units).data(), count).c_str());
    }
    std::uint32_t tagCount = std::min(record.tagCount, kPmetMaxTags);
    report += printfText("Tag count:     %d\r\n", asPrinted(tagCount));
    for (std::uint32_t tag = 0; tag < tagCount; ++tag) {
        std::uint32_t length = std::min(record.tagLength[tag], kPmetMaxTagLength);
        report += printfText("Tag%02d:         %s\r\n", asPrinted(tag + 1),
                             printable(record.tagText[tag].data(), length).c_str());
    }
    triple("TGI 04:        %08X %08X %08X\r\n", record.tgi);
    return report;
}

std::string pmetReportName(const std::string& fileName) {
    return pathWithoutExtension(fileName) + ".txt";
}

Result<PmetReportFile> writePmetReportFile(const std::string& fileName) {
    PmetReportFile written{pmetReportName(fileName), fail("")};
    Result<PmetRecord> record = loadPmetFile(fileName);
    written.report =
        record ? Result<std::string>(formatPmetReport(record.value())) : fail(record.error());
    const std::string& text = record ? written.report.value() : written.report.error();
    AtomicFile file(written.path);
    if (file.write(text.data(), text.size()) != text.size() || !file.commit()) {
        return failWriting(written.path, kCreateFailed);
    }
    return written;
}

}  // namespace verada
