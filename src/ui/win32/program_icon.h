// The program's icon in its own resources (the tray icon, the executable's picture).
#pragma once

#define KIVO_PROGRAM_ICON 1
