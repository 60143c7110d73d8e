#include "items/link_target.h"

#include <cctype>

#include "core/text.h"

namespace kivo {
namespace {

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// "X:\" or "\\server\share": the length of the root (up to and without the separator that
// follows the share), or 0 for any other start.
std::size_t RootLength(std::string_view path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\') return 2;
  if (!path.starts_with("\\\\")) return 0;
  const std::size_t serverEnd = path.find('\\', 2);
  if (serverEnd == std::string_view::npos) return 0;
  const std::string_view server = path.substr(2, serverEnd - 2);
  // "\\?\" and "\\.\" name devices and namespaces, not servers.
  if (server.empty() || server == "?" || server == ".") return 0;
  const std::size_t shareEnd = std::min(path.find('\\', serverEnd + 1), path.size());
  if (shareEnd == serverEnd + 1) return 0;
  return shareEnd;
}

// Control characters (C0, DEL, C1) and the replacement character that a broken decoding
// leaves: the marks of an item list read as nonsense.
bool HasGarbage(std::string_view path) {
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (c < 0x20 || c == 0x7F) return true;
    if (c == 0xC2 && i + 1 < path.size()) {
      const auto next = static_cast<unsigned char>(path[i + 1]);
      if (next >= 0x80 && next <= 0x9F) return true;
    }
    if (path.substr(i).starts_with("\xEF\xBF\xBD")) return true;
  }
  return false;
}

bool IsFolderPrefix(const std::string& folder, const std::string& path) {
  if (path.size() <= folder.size()) return false;
  if (folder.back() != '\\' && path[folder.size()] != '\\') return false;
  return AsciiUpper(path.substr(0, folder.size())) == AsciiUpper(folder);
}

}  // namespace

bool IsPlausibleTargetPath(std::string_view path) {
  const std::size_t root = RootLength(path);
  if (root == 0 || HasGarbage(path)) return false;
  // Past the "X:" or the "\\" of the root: the drive's colon is the only one allowed.
  return path.find_first_of("<>\"|?*:", 2) == std::string_view::npos;
}

std::string ResolveLinkRelativePath(std::string_view folder, std::string_view relative) {
  if (relative.empty() || folder.empty()) return {};
  if (RootLength(relative) != 0) return std::string(relative);
  const std::size_t root = RootLength(folder);
  if (root == 0) return {};

  std::vector<std::string_view> parts;
  auto add = [&parts](std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = start;
      while (end < text.size() && !IsSeparator(text[end])) ++end;
      const std::string_view part = text.substr(start, end - start);
      if (part == "..") {
        if (parts.empty()) return false;
        parts.pop_back();
      } else if (!part.empty() && part != ".") {
        parts.push_back(part);
      }
      start = end + 1;
    }
    return true;
  };
  if (!add(folder.substr(root))) return {};
  // "\x" starts at the root of the link's drive or share.
  if (IsSeparator(relative.front())) parts.clear();
  if (!add(relative)) return {};

  std::string path(folder.substr(0, root));
  path += '\\';
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i != 0) path += '\\';
    path += parts[i];
  }
  return path;
}

std::vector<std::string> LinkTargetCandidates(
    const LinkTargetSources& sources, std::string_view linkFile,
    const std::function<std::string(std::string_view)>& expand) {
  auto prepared = [&expand](std::string_view path) {
    std::string clean = CleanText(path);
    if (clean.find('%') != std::string::npos) clean = CleanText(expand(clean));
    return clean;
  };
  const std::size_t slash = linkFile.rfind('\\');
  const std::string_view folder =
      slash == std::string_view::npos ? std::string_view() : linkFile.substr(0, slash + 1);
  const std::string relative = prepared(sources.relativePath);
  return {
      prepared(sources.shellPath),
      prepared(sources.rawPath),
      prepared(sources.linkInfoPath),
      relative.empty() ? std::string() : ResolveLinkRelativePath(folder, relative),
      prepared(sources.environmentPath),
  };
}

std::string ChooseLinkTarget(const std::vector<std::string>& candidates,
                             const std::function<bool(const std::string&)>& exists) {
  std::vector<const std::string*> plausible;
  for (const std::string& candidate : candidates) {
    if (IsPlausibleTargetPath(candidate)) plausible.push_back(&candidate);
  }
  std::vector<const std::string*> whole;
  for (const std::string* candidate : plausible) {
    bool cut = false;
    for (const std::string* other : plausible) cut = cut || IsFolderPrefix(*candidate, *other);
    if (!cut) whole.push_back(candidate);
  }
  if (whole.empty()) return {};
  for (const std::string* candidate : whole) {
    if (exists(*candidate)) return *candidate;
  }
  return *whole.front();
}

}  // namespace kivo
