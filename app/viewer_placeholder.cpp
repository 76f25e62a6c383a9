#include <cstdio>

#include "app/viewer.h"

namespace verada {

int runViewer(int, char**, const std::vector<std::string>&) {
    std::fprintf(stderr, "verada: the viewer is not built yet\n");
    return 1;
}

}  // namespace verada
