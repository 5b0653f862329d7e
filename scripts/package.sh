#!/usr/bin/env bash
# Builds the Debian package of QVSetting, qvctl and qvsim from the release build folder (the one
# scripts/test.sh builds too) and checks what it holds: the file list, the desktop entry, the
# AppStream metadata and, where lintian is installed, Debian's policy.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
rm -rf build/package
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/package/qvsetting_*.deb)
echo "package: $deb"

contents=$(dpkg-deb -c "$deb")
missing=0
for path in ./usr/bin/QVSetting ./usr/bin/qvctl ./usr/bin/qvsim \
    ./usr/lib/qvsetting/qvsetting-sheet.so \
    ./usr/share/man/man1/QVSetting.1.gz ./usr/share/man/man1/qvctl.1.gz \
    ./usr/share/man/man1/qvsim.1.gz \
    ./usr/share/applications/com.quorvel.QVSetting.desktop \
    ./usr/share/metainfo/com.quorvel.QVSetting.metainfo.xml \
    ./usr/share/icons/hicolor/16x16/apps/qvsetting.png \
    ./usr/share/icons/hicolor/64x64/apps/qvsetting.png \
    ./usr/share/icons/hicolor/256x256/apps/qvsetting.png \
    ./usr/share/icons/hicolor/scalable/apps/qvsetting.svg; do
    if ! grep -q " $path\$" <<<"$contents"; then
        echo "missing from the package: $path" >&2
        missing=1
    fi
done
((missing == 0))
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
grep -q libqt6widgets6 <<<"$depends" || { echo "Depends lacks Qt 6 Widgets" >&2; exit 1; }
grep -q libsecret-1-0 <<<"$depends" || { echo "Depends lacks the keyring's library" >&2; exit 1; }

desktop-file-validate packaging/com.quorvel.QVSetting.desktop
appstreamcli validate --no-net packaging/com.quorvel.QVSetting.metainfo.xml
if command -v lintian >/dev/null; then
    # Errors fail the package; warnings are shown.
    lintian --fail-on error "$deb" || exit 1
fi
echo "package checked"
