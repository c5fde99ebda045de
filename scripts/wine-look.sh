#!/usr/bin/env bash
# Wine settings under which the skinned windows look as they do on Windows; applied once to the
# private prefix given as $1 (the caller holds the prefix lock). Callers export
#   FONTCONFIG_FILE="$prefix/fonts.conf"
# for every Wine process they start.
# - Wine's DirectWrite finds only the fonts fontconfig knows, not Wine's own: without Tahoma a
#   text format draws nothing. The fontconfig file adds Wine's font folder to the system's.
# - With no window manager on Xvfb, Wine leaves a captioned window's frame to the (absent)
#   window manager and most of the frame the program paints is cut off. "Decorated" = "N"
#   makes Wine show the whole window as the program paints it.
# - "Arial" (captions, titles) is drawn with Liberation Sans, which has Arial's metrics.
set -euo pipefail
prefix="$1"
fonts=""
for folder in /usr/share/wine/fonts /usr/lib/wine/fonts /opt/wine-stable/share/wine/fonts; do
    if [ -f "$folder/tahoma.ttf" ]; then
        fonts="$folder"
        break
    fi
done
if [ -z "$fonts" ]; then
    echo "wine-look: Wine's fonts (tahoma.ttf) not found; install fonts-wine" >&2
    exit 1
fi
cat >"$prefix/fonts.conf.part" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <dir>$fonts</dir>
</fontconfig>
CONF
mv "$prefix/fonts.conf.part" "$prefix/fonts.conf"

if [ ! -f "$prefix/.nvx-look" ]; then
    export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1
    wineserver --wait || true
    touch "$prefix/.nvx-look"
fi
