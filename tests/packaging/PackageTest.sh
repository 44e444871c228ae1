#!/usr/bin/env bash
# Builds the Debian package from this build folder and checks what an install
# would get: both programs, the desktop entry and icon, the run-time
# dependencies, and the version block surviving the stripping of the panel.
set -euo pipefail
build_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build_dir" && cpack -B "$work" >/dev/null)
package=$(ls "$work"/tovrana_*.deb)

contents=$(dpkg-deb -c "$package" | awk '{print $6}')
for path in ./usr/bin/tovrana ./usr/bin/tovrana-monitor \
            ./usr/share/applications/tovrana.desktop \
            ./usr/share/icons/hicolor/256x256/apps/tovrana.png; do
  grep -qx "$path" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done

depends=$(dpkg-deb -f "$package" Depends)
for dependency in libqt6widgets6 libqt6httpserver6 qt6-qpa-plugins; do
  grep -q "$dependency" <<<"$depends" || { echo "no dependency on $dependency: $depends"; exit 1; }
done

dpkg-deb -x "$package" "$work/root"
# Read whole first: grep -q stopping early would break readelf's pipe.
sections=$(readelf -S "$work/root/usr/bin/tovrana")
grep -q '\.tovrana_version' <<<"$sections" ||
  { echo "the packaged panel has lost its version block"; exit 1; }
echo "package ok: $(basename "$package")"
