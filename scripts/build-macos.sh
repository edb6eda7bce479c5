#!/usr/bin/env bash
# Builds build/macos/macos/Routelle.app on a Mac, then checks what only a Mac can:
# the signatures (the Share extension keeps its sandbox) and that nothing is linked
# from outside the system and the bundle.
#
# Needs full Xcode (its ibtool compiles the Share extension's interface; the
# command-line tools alone lack it), CMake, Ninja, and librsvg's rsvg-convert to
# render the images (e.g. `brew install cmake ninja librsvg`: build time only, the
# app uses nothing from Homebrew). Sparkle is used when its framework is in
# macos/Frameworks, ~/Library/Frameworks or /Library/Frameworks; otherwise the
# program's own updater (-DROUTELLE_SPARKLE=OFF forces that).
#
#   bash scripts/build-macos.sh [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(uname -s)" = Darwin ] || { echo "build-macos.sh builds on macOS; here run scripts/check-macos.sh" >&2; exit 1; }
xcrun --find ibtool >/dev/null 2>&1 ||
  { echo "ibtool not found: install Xcode and run: sudo xcode-select -s /Applications/Xcode.app" >&2; exit 1; }
command -v rsvg-convert >/dev/null || { echo "rsvg-convert not found: brew install librsvg" >&2; exit 1; }

cmake -S . -B build/macos -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build build/macos --target Routelle
app=build/macos/macos/Routelle.app
extension=$app/Contents/PlugIns/OpenWithRoutelle.appex

failed=0
fail() { echo "FAIL  $*" >&2; failed=1; }

# Signatures: valid all the way in, and the extension still sandboxed.
codesign --verify --strict --deep "$app" || fail "$app: signature does not verify"
if [ -d "$extension" ]; then
  codesign -d --entitlements - "$extension" 2>/dev/null | grep -q "com.apple.security.app-sandbox" ||
    fail "$extension: signed without its entitlements (no com.apple.security.app-sandbox)"
fi

# Libraries: the system's, or inside the bundle.
for binary in "$app/Contents/MacOS/Routelle" "$extension/Contents/MacOS/OpenWithRoutelle"; do
  [ -f "$binary" ] || continue
  outside=$(otool -L "$binary" | tail -n +2 | awk '{print $1}' |
    grep -Ev '^(/System/Library/|/usr/lib/|@rpath/|@executable_path/|@loader_path/)' || true)
  [ -z "$outside" ] || fail "$binary links from outside the system and the bundle: $outside"
done

[ "$failed" -eq 0 ] || exit 1
echo "Built $app (signed inside out; links only the system and the bundle)"
