// Which of the places a shell link keeps its target in is believed. Under Wine the shell
// reads links that Windows wrote badly: text with control characters, a base folder without
// its suffix, shell-namespace paths ("::{GUID}\..."); the other places are read from the
// file itself (shell_link_format.h). Only a plausible absolute file-system path is taken.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kivo {

// The places a link names its target in, as read; empty when a place holds nothing.
struct LinkTargetSources {
  std::string shellPath;        // the shell's path for the link (its item list)
  std::string rawPath;          // the shell's raw path (GetPath with SLGP_RAWPATH)
  std::string linkInfoPath;     // the location block: base path and common path suffix
  std::string relativePath;     // the relative path, as stored
  std::string environmentPath;  // the environment block's target, as stored ("%windir%\x")
};

// True for an absolute file-system path: a drive ("X:\...") or a network share
// ("\\server\share..."), without control characters, replacement characters, characters no
// file name may hold ('<', '>', '"', '|', '?', '*', or ':' after the drive), and not a
// shell-namespace path.
bool IsPlausibleTargetPath(std::string_view path);

// `relative` (".\x", "..\..\x", "x") taken from `folder` (with or without its "\"), with
// "." and ".." folded away; an absolute `relative` stays as it is. "" when ".." climbs
// above the root or either part is empty.
std::string ResolveLinkRelativePath(std::string_view folder, std::string_view relative);

// The sources as candidates in the order they are believed: the shell's path, the raw
// path, the location block, the relative path resolved against the link's own folder, the
// environment block expanded. Paths holding "%" are expanded with `expand` as the shell
// would; blanks around each are trimmed.
std::vector<std::string> LinkTargetCandidates(
    const LinkTargetSources& sources, std::string_view linkFile,
    const std::function<std::string(std::string_view)>& expand);

// The target a link is given, "" when no candidate is plausible. Implausible candidates are
// dropped, and so is one that is only a leading folder of another plausible candidate (a
// base path cut from its suffix). Of the rest, the first that `exists` wins; when none
// exists, the first of them.
std::string ChooseLinkTarget(const std::vector<std::string>& candidates,
                             const std::function<bool(const std::string&)>& exists);

}  // namespace kivo
