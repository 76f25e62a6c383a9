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
// item is replaced whole through the atomic writer; items written before an error stay on disk.
Result<std::string> unpackArchive(const std::string& packageName,
                                  const ProgressCallback& progress = {},
                                  const StatusCallback& status = {});

}  // namespace verada
