#include "render/app_state.h"
