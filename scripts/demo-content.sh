#!/usr/bin/env bash
# Lays out the demo download server's folder ($1/demo-server) the way the demo manifest
# expects it: version.xml, the product package built with wixl from the demo program, the
# installer itself, and the pages the links open.
set -euo pipefail
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$build/demo-server"
mkdir -p "$out/msi" "$out/transform" "$out/languagepack" "$out/component"
cp "$root/demo/server/version.xml" "$root/demo/server/license.html" "$root/demo/server/slideshow.html" "$out/"
cp "$build/webinstaller.exe" "$out/webinstaller.exe"
# wixl takes file sources relative to the working folder.
(cd "$build" && wixl -a x64 -D Version=17.0.0.100 -D ProductExe=demo/LumetraDemo.exe \
    -o "$out/msi/LumetraProfessional.msi" "$root/demo/product/LumetraDemo.wxs")
echo "demo-content: $out"
