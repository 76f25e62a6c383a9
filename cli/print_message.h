#pragma once

#include <cstdio>
#include <string>

namespace verada::cli {

// Prints a message text as it stands, ending the line unless the text already does.
void printMessage(std::FILE* stream, const std::string& text);

}  // namespace verada::cli
