#pragma once

#include <functional>

namespace verada {

// Runs work in a copy of this process first, for library code that crashes on some hostile
// input instead of reporting it: false when the copy died on the way (a signal, an abort, a
// sanitizer's report), true when it ran work to its end, or when no copy could be made (the
// caller then goes on unchecked, as it would without this). Nothing the copy does reaches this
// process.
bool survivesTrialRun(const std::function<void()>& work);

}  // namespace verada
