#pragma once

#include <string>

namespace verada {

// A reader message with its numbers filled in as printf would.
std::string formatMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace verada
