#!/usr/bin/env bash
# Builds build/macos/macos/Routelle.app on a Mac (Xcode's command-line tools, CMake,
# Ninja and ICU, e.g. Homebrew's icu4c). Sparkle is used when its framework is in
# macos/Frameworks, ~/Library/Frameworks or /Library/Frameworks; otherwise the
# program's own updater (-DROUTELLE_SPARKLE=OFF forces that).
#
#   bash scripts/build-macos.sh [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(uname -s)" = Darwin ] || { echo "build-macos.sh builds on macOS; here run scripts/check-macos.sh" >&2; exit 1; }
if command -v brew >/dev/null && [ -d "$(brew --prefix icu4c 2>/dev/null)" ]; then
  export PKG_CONFIG_PATH="$(brew --prefix icu4c)/lib/pkgconfig${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}"
fi
cmake -S . -B build/macos -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build build/macos --target Routelle
echo "Built build/macos/macos/Routelle.app"
