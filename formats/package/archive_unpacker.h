#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "formats/io/progress_callback.h"
#include "formats/io/result.h"

namespace verada {

struct TypeIdName {
    const char* name;       // four characters
    const char* extension;  // at most four characters
};

// The item type name and file extension for a type id; unknown ids give "UNKN" and "bnry".
TypeIdName typeIdToName(std::uint32_t typeId);

// "KL-<type name>-<A>-<B>-<C>.<extension>", the name under which an item is unpacked.
std::string itemFileName(std::uint32_t typeId, std::uint32_t groupId, std::uint32_t instanceId);

// Receives the "working..." text announced once the index has been found.
using StatusCallback = std::function<void(const std::string& text)>;

// Splits a DBPF or DBBF package into one file per index item, in a folder named after the
// package beside it; on success the report. Each item is replaced whole through the atomic
// writer; items written before an error stay on disk.
Result<std::string> unpackArchive(const std::string& packageName,
                                  const ProgressCallback& progress = {},
                                  const StatusCallback& status = {});

}  // namespace verada
