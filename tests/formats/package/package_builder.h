#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace verada::test {

// Builds DBPF and DBBF packages in every index form, with fields that tests can spoil.
struct TestItem {
    std::uint32_t typeId = 0;
    std::uint32_t groupId = 0;
    std::uint32_t instanceId = 0;
    std::string bytes;  // as stored
    std::uint32_t decompressedSize = 0;
    std::uint32_t flags = 0;
    std::uint32_t storedSizeHighBits = 0;                    // ORed into the stored size field
    std::optional<std::uint32_t> storedSize = std::nullopt;  // instead of bytes.size()
};

struct TestPackage {
    std::string magic = "DBPF";
    std::uint32_t version = 2;
    std::uint32_t indexType = 4;
    std::uint32_t constant1 = 0;  // index types 5, 6 and 7
    std::uint32_t constant2 = 0;  // index type 7
    std::uint32_t nullWord = 0;
    std::optional<std::uint32_t> entryCount;
    std::optional<std::uint32_t> indexSize;
    std::uint32_t indexSizeHigh = 0;    // DBBF
    std::uint32_t indexOffsetHigh = 0;  // DBBF
    std::vector<TestItem> items;
};

inline void appendLe32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>(value >> (8 * i)));
    }
}

inline void putLe32At(std::string& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<char>(value >> (8 * i));
    }
}

inline std::string buildPackage(const TestPackage& package) {
    const bool dbbf = package.magic == "DBBF";
    std::string out(128, '\0');
    out.replace(0, 4, package.magic);
    putLe32At(out, 4, package.version);
    putLe32At(out, 36,
              package.entryCount.value_or(static_cast<std::uint32_t>(package.items.size())));

    std::vector<std::uint32_t> offsets;
    for (const TestItem& item : package.items) {
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        out += item.bytes;
    }

    const std::uint32_t indexOffset = static_cast<std::uint32_t>(out.size());
    std::string index;
    appendLe32(index, package.indexType);
    if (package.indexType == 5 || package.indexType == 6 || package.indexType == 7) {
        appendLe32(index, package.constant1);
    }
    if (package.indexType == 7) {
        appendLe32(index, package.constant2);
    }
    appendLe32(index, package.nullWord);
    for (std::size_t i = 0; i < package.items.size(); ++i) {
        const TestItem& item = package.items[i];
        if (package.indexType != 5 && package.indexType != 6 && package.indexType != 7) {
            appendLe32(index, item.typeId);
        }
        if (package.indexType != 7) {
            appendLe32(index, item.groupId);
        }
        appendLe32(index, item.instanceId);
        appendLe32(index, offsets[i]);
        if (dbbf) {
            appendLe32(index, 0);
        }
        appendLe32(index, item.storedSize.value_or(static_cast<std::uint32_t>(item.bytes.size())) |
                              item.storedSizeHighBits);
        appendLe32(index, item.decompressedSize);
        appendLe32(index, item.flags);
    }
    out += index;

    const std::uint32_t indexSize =
        package.indexSize.value_or(static_cast<std::uint32_t>(index.size()));
    if (dbbf) {
        putLe32At(out, 40, indexSize);
        putLe32At(out, 44, package.indexSizeHigh);
        putLe32At(out, 56, indexOffset);
        putLe32At(out, 60, package.indexOffsetHigh);
    } else {
        putLe32At(out, 44, indexSize);
        putLe32At(out, 64, indexOffset);
    }
    return out;
}

// Builds Sims 2 style packages (DBPF 1.1, index 7.x): the entries alone at the header's index
// offset, compressed items listed in a compression directory.
struct Sims2Item {
    std::uint32_t typeId = 0;
    std::uint32_t groupId = 0;
    std::uint32_t instanceId = 0;
    std::uint32_t resourceId = 0;  // written with index minor version 2 only
    std::string bytes;             // as stored: a compressed item's size word and stream
    std::optional<std::uint32_t> storedSize = std::nullopt;  // instead of bytes.size()
};

// One compression directory entry: type, group, instance, resource (minor 2), size.
struct Sims2DirectoryEntry {
    std::uint32_t ids[4] = {};
    std::uint32_t size = 0;
};

struct Sims2Package {
    std::uint32_t version = 1;
    std::uint32_t indexMajor = 7;
    std::uint32_t indexMinor = 2;
    std::optional<std::uint32_t> entryCount;
    std::optional<std::uint32_t> indexSize;
    std::optional<std::uint32_t> indexOffset;
    std::vector<Sims2Item> items;
    // Appended as the last item when not empty.
    std::vector<Sims2DirectoryEntry> directory;
};

// The stored form of a compressed Sims 2 item: its stored size, then the stream.
inline std::string sims2Compressed(const std::string& stream) {
    std::string stored;
    appendLe32(stored, static_cast<std::uint32_t>(stream.size() + 4));
    return stored + stream;
}

inline std::string buildSims2Package(Sims2Package package) {
    const bool resourceIds = package.indexMinor == 2;
    if (!package.directory.empty()) {
        Sims2Item directory{0xE86B1EEF, 0xE86B1EEF, 0x286B1F03, 0, ""};
        for (const Sims2DirectoryEntry& entry : package.directory) {
            for (int i = 0; i < (resourceIds ? 4 : 3); ++i) {
                appendLe32(directory.bytes, entry.ids[i]);
            }
            appendLe32(directory.bytes, entry.size);
        }
        package.items.push_back(directory);
    }
    std::string out(96, '\0');
    out.replace(0, 4, "DBPF");
    putLe32At(out, 4, package.version);
    putLe32At(out, 8, 1);
    putLe32At(out, 32, package.indexMajor);
    putLe32At(out, 36,
              package.entryCount.value_or(static_cast<std::uint32_t>(package.items.size())));
    putLe32At(out, 60, package.indexMinor);
    std::string index;
    for (const Sims2Item& item : package.items) {
        appendLe32(index, item.typeId);
        appendLe32(index, item.groupId);
        appendLe32(index, item.instanceId);
        if (resourceIds) {
            appendLe32(index, item.resourceId);
        }
        appendLe32(index, static_cast<std::uint32_t>(out.size()));
        appendLe32(index, item.storedSize.value_or(static_cast<std::uint32_t>(item.bytes.size())));
        out += item.bytes;
    }
    putLe32At(out, 40, package.indexOffset.value_or(static_cast<std::uint32_t>(out.size())));
    putLe32At(out, 44, package.indexSize.value_or(static_cast<std::uint32_t>(index.size())));
    return out + index;
}

}  // namespace verada::test
