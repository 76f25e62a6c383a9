#pragma once

#include <string>

namespace verada::cli {

// The engine log of a subcommand: "Ogre.log" in $XDG_CACHE_HOME/verada/ (~/.cache/verada/ when
// that is unset or not absolute), the folder made when missing, so that batch runs leave
// nothing in the folders they work in. Empty when there is no such folder: no log is kept then.
std::string subcommandEngineLog();

}  // namespace verada::cli
