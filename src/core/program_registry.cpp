#include "core/program_registry.h"

namespace kivo {

void WriteProgramInfo(Registry& registry, const AnsiCodec& codec, const std::string& programPath,
                      const ProgramVersion& version) {
  const std::string versionText = std::to_string(version.major) + "." +
                                  std::to_string(version.minor) + "." +
                                  std::to_string(version.build);
  WriteRegistryValue(registry, codec, kProgramKeyPath, "APP_PATH", programPath, kRegSz);
  WriteRegistryValue(registry, codec, kProgramKeyPath, "APP_VER", versionText, kRegSz);
  WriteRegistryValue(registry, codec, kProgramKeyPath, "APP_BUILD", std::to_string(version.build),
                     kRegSz);
}

bool TakeFirstRun(Registry& registry, const AnsiCodec& codec) {
  // An installer may store the mark as a number; 0 counts the same as "0".
  const RegistryValue mark = ReadRegistryValue(registry, codec, kProgramKeyPath, "FirstRun");
  if (RegistryValueText(mark) != "0") return false;
  // When the mark cannot be turned, every later start would again wipe the user's data;
  // better to keep the files of an installation that is not new.
  return WriteRegistryValue(registry, codec, kProgramKeyPath, "FirstRun", "1", kRegSz);
}

std::string ReadInterfaceFont(Registry& registry, const AnsiCodec& codec) {
  std::string face =
      RegistryValueText(ReadRegistryValue(registry, codec, kFontKeyPath, "GUIFont.Facename"));
  return face.empty() ? kDefaultInterfaceFont : face;
}

}  // namespace kivo
