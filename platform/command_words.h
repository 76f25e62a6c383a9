#pragma once

#include <string>
#include <vector>

namespace verada {

// A configured command line cut into the words of a program's argument list, as a POSIX shell
// cuts a simple command, but with nothing expanded and no shell ever involved: blanks (space,
// tab, newline) separate words; '...' keeps everything inside as it stands; "..." keeps blanks
// and lets a backslash escape only $ ` " \ and a newline; elsewhere a backslash makes the next
// character plain. Quotes that meet other text join it into one word (a"b c" is "ab c"); ""
// alone is an empty word. A quote left open runs to the end of the line.
std::vector<std::string> splitCommandWords(const std::string& commandLine);

}  // namespace verada
