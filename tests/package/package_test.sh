#!/bin/sh
# The Debian package as a user gets it: made by cpack from the build folder, unpacked into a
# scratch root, the program run from there.
#   package_test.sh BUILD_DIR VERSION
set -eu
build=$1
version=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vornik-package-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" > "$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack could not make the package"; }
deb="$scratch/out/vornik_${version}_amd64.deb"
[ -f "$deb" ] || { ls "$scratch/out"; fail "no vornik_${version}_amd64.deb"; }

# Exactly the program and its place on the desktop, nothing for developers.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort > "$scratch/files"
cat > "$scratch/expected" << 'LIST'
./usr/bin/vornik
./usr/share/applications/vornik.desktop
./usr/share/icons/hicolor/32x32/apps/vornik.png
./usr/share/icons/hicolor/64x64/apps/vornik.png
./usr/share/metainfo/org.example.vornik.metainfo.xml
./usr/share/vornik/noad.gif
LIST
diff -u "$scratch/expected" "$scratch/files" || fail "the package holds other files"

# Depends comes from the libraries the program links: the toolkit and the font libraries; and
# the toolkit's Wayland platform, which it loads at run time, and the faces the labels are laid
# out for.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6widgets6 libqt6gui6 libfreetype6 libfontconfig1 qt6-wayland \
    fonts-liberation2; do
    echo "$depends" | grep -q "\b$library\b" || fail "Depends lacks $library: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = vornik ] || fail "the package is not named vornik"

dpkg -x "$deb" "$scratch/root"
if command -v appstreamcli > /dev/null 2>&1; then
    appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/org.example.vornik.metainfo.xml" ||
        fail "the metainfo file does not validate"
fi
cmp "$scratch/root/usr/share/vornik/noad.gif" "$(dirname "$0")/../../resources/noad.gif" ||
    fail "noad.gif differs"

shown=$("$scratch/root/usr/bin/vornik" --version)
[ "$shown" = "vornik $version" ] || fail "--version printed \"$shown\""
"$scratch/root/usr/bin/vornik" --help | grep -q -- "--prefix FOLDER" || fail "--help has no --prefix"

# Without a desktop session the program says so plainly instead of the toolkit's abort.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$scratch/root/usr/bin/vornik" \
    > /dev/null 2> "$scratch/stderr" || status=$?
[ "$status" = 1 ] || fail "without a display the program ended with $status"
grep -q "graphical desktop session" "$scratch/stderr" || fail "no plain word: $(cat "$scratch/stderr")"
echo "vornik_${version}_amd64.deb: $(wc -c < "$deb") bytes; Depends: $depends"
