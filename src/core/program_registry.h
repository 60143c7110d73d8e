// The program's own registry values, read and written at start.
#pragma once

#include <string>

#include "core/ansi_codec.h"
#include "core/registry.h"

namespace kivo {

inline constexpr const char* kProgramKeyPath = "HKEY_CURRENT_USER\\SOFTWARE\\Kivo Launcher\\System";
inline constexpr const char* kFontKeyPath =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\GRE_Initialize";
inline constexpr const char* kDefaultInterfaceFont = "Verdana";

struct ProgramVersion {
  int major = 0;
  int minor = 0;
  int build = 0;
};

// Records where the program is and which version it is, for other programs to show:
// "APP_PATH" = the program's full path, "APP_VER" = "major.minor.build",
// "APP_BUILD" = the build number.
void WriteProgramInfo(Registry& registry, const AnsiCodec& codec, const std::string& programPath,
                      const ProgramVersion& version);

// True on the first start after an installation, which leaves "FirstRun" = "0" for the
// program: the mark is turned to "1" and the caller starts from defaults. False when the
// mark could not be turned.
bool TakeFirstRun(Registry& registry, const AnsiCodec& codec);

// The face name of the system's interface font, or "Verdana" when the system names none.
std::string ReadInterfaceFont(Registry& registry, const AnsiCodec& codec);

}  // namespace kivo
