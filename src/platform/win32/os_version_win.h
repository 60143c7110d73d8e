// The version of the running Windows, as the kernel reports it.
#pragma once

#include <optional>

#include "core/os_version.h"

namespace kivo::win {

// The true version from RtlGetVersion: GetVersionEx reports an older Windows to programs
// whose manifest does not name the running one. Nothing when the call is unavailable.
std::optional<OsVersion> ReadOsVersion();

}  // namespace kivo::win
