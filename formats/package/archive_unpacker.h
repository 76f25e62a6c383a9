#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "formats/io/progress_callback.h"
#include "formats/io/result.h"
#include "formats/package/package_item_names.h"

namespace verada {

// Receives the "working..." text announced once the index has been found.
using StatusCallback = std::function<void(const std::string& text)>;

// Splits a package (DBPF 1.x, 2 or 3, or DBBF) into one file per index item, named by
// itemFileName, in a folder named after the package beside it; on success the report. Each
// item is replaced whole through the atomic writer (not synced one by one: an interrupted run is
// simply run again); items written before an error stay on disk, and a folder this run made
// stays only when something was written into it. Nothing is written when the items' unpacked
// size exceeds the free space of the folder's file system.
Result<std::string> unpackArchive(const std::string& packageName,
                                  const ProgressCallback& progress = {},
                                  const StatusCallback& status = {});

}  // namespace verada
