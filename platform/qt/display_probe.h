#pragma once

namespace verada {

// Qt aborts the process when it cannot reach the X display; ask first so the failure is clear.
bool displayReachable();

}  // namespace verada
