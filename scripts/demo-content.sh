#!/usr/bin/env bash
# Lays out the demo download server's folder ($1/demo-server) the way the demo manifest
# expects it: version.xml, the product package built with wixl from the demo program, its
# German transform, the German language pack, the prerequisites (stand-ins), the installer
# itself and the pages the links open. Also draws the tour pictures of the progress page into
# the installer's language folder ($1/language/<id>/slidesPro/<dpi>/).
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
cp "$build/demo/DemoComponent.exe" "$out/languagepack/language_pack_1031.exe"
cp "$build/demo/DemoComponent.exe" "$out/component/webview2.exe"
cp "$build/demo/DemoComponent.exe" "$out/component/vc_redist.exe"
(cd "$build" && wixl -a x64 -o "$out/component/bonjour.msi" "$root/demo/product/Bonjour.wxs")
python3 "$root/tests/engine/fixtures/make_empty_transform.py" "$out/transform/1031.mst"
python3 "$root/scripts/demo-slides.py" "$build/language"
echo "demo-content: $out"
