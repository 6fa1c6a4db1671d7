#!/usr/bin/env bash
# Checks a built Debian package: the files a desktop install needs, and runtime dependencies
# on the Qt 6 libraries. Usage: scripts/check-package.sh vexatron_*.deb
set -euo pipefail
deb=$1
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
depends=$(dpkg-deb -f "$deb" Depends)
failed=0
for path in ./usr/bin/vexatron ./usr/bin/vexa ./usr/bin/bct8sim \
    ./usr/share/applications/vexatron.desktop \
    ./usr/share/metainfo/org.vexatron.Vexatron.metainfo.xml \
    ./usr/share/mime/packages/vexatron-mem.xml \
    ./usr/share/icons/hicolor/scalable/apps/vexatron.svg \
    ./usr/share/icons/hicolor/48x48/apps/vexatron.png \
    ./usr/share/icons/hicolor/256x256/apps/vexatron.png \
    ./usr/share/man/man1/vexa.1 \
    ./usr/share/doc/vexatron/user-guide.md; do
    grep -qxF "$path" <<<"$contents" || { echo "missing from the package: $path"; failed=1; }
done
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6network6 libqt6printsupport6 libqt6svg6; do
    grep -q "$lib" <<<"$depends" || { echo "no dependency on $lib: $depends"; failed=1; }
done
grep -q "qt6-base-dev\|-dev" <<<"$depends" && { echo "depends on a development package: $depends"; failed=1; }
[ $failed -eq 0 ] && echo "package ok: $(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version)"
exit $failed
