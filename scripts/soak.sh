#!/usr/bin/env bash
# Soak run: the real program under Wine on a virtual display with a full store (1024 items,
# 256-pixel icons), driven by KIVO_SOAK_ACTIONS scripted actions (default 10000): hovers
# over ring slots, clicks on group slots, page changes in the list (wheel, PgDn, PgUp),
# closes. KIVO_SOAK_PACE scales the pauses between them (default 1, which leaves each list
# its fade-in: about 175 ms an action, so 10000 actions take about half an hour). Prints the
# GDI objects, USER objects, windows and private bytes the program reports at intervals,
# and at the end whether they stayed flat after the warm-up (GDI objects within
# KIVO_SOAK_GDI_TOLERANCE, default 5; private bytes within KIVO_SOAK_PRIVATE_TOLERANCE_MB,
# default 2) and whether the data files are byte for byte unchanged. Exit code 0 only when
# all of that holds. Not part of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${KIVO_SKIP_BUILD:-0} != 1 ]]; then
  cmake --preset win >/dev/null
  cmake --build --preset win -j2 --target KivoLauncher kivoctl
fi
exec python3 scripts/soak.py
