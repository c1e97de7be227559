#!/usr/bin/env bash
# debian_package.sh BUILD: builds the Debian package from the build's install rules into a
# temporary folder and checks its file list and its library dependencies.
set -euo pipefail

build=$(realpath "$1")
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" > /dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work" > cpack.log 2>&1) \
    || { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/drovana_*.deb)
[[ -s ${debs[0]} ]] || fail "no drovana_*.deb was made"

dpkg-deb -c "${debs[0]}" | awk '{ print $NF }' > "$work/files"
app_id=org.drovana.Drovana
for file in ./usr/bin/drovana ./usr/share/drovana/data.pak \
    ./usr/share/applications/$app_id.desktop ./usr/share/metainfo/$app_id.metainfo.xml \
    ./usr/share/icons/hicolor/48x48/apps/$app_id.png \
    ./usr/share/icons/hicolor/128x128/apps/$app_id.png \
    ./usr/share/icons/hicolor/256x256/apps/$app_id.png \
    ./usr/share/man/man6/drovana.6.gz; do
    grep -qxF "$file" "$work/files" || fail "the package lacks $file"
done
# Nothing of the build's own tools or tests goes to users.
! grep -E 'make-data|drovana_tests|drovana-sim|render-scene|drovana_bench' "$work/files" \
    || fail "the package holds build tools"

depends=$(dpkg-deb -f "${debs[0]}" Depends)
for library in libsdl2 libjpeg libpng; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
[[ $(dpkg-deb -f "${debs[0]}" Section) == games ]] || fail "the package is not in games"
echo "package: $(basename "${debs[0]}"), $(wc -l < "$work/files") entries, Depends: $depends"
