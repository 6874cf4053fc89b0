#!/usr/bin/env bash
# Runs one Windows program under Wine with the project's quiet, headless-safe settings.
# CTest uses it as the cross-compiling emulator; WINEPREFIX must name the build's prefix.
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix of the build tree (see tools/wine-session.sh)}"
export WINEPREFIX
source "$(dirname "$0")/wine-env.sh"
exec wine "$@"
