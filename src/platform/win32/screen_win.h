// The screen quantities the defaults are derived from.
#pragma once

#include "core/settings.h"

namespace kivo::win {

ScreenInfo ReadScreenInfo();

}  // namespace kivo::win
