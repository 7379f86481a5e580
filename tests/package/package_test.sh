#!/bin/sh
# The Debian packages as a distribution builds them and their users get them: made by
# dpkg-buildpackage from a copy of the source tree (nothing of any build folder), checked by
# lintian, unpacked into a scratch root, and used from there alone: the example program built
# against the unpacked -dev package, the Designer plugin loaded from the unpacked plugin package,
# the program run.
#   package_test.sh SOURCE_DIR WORK_DIR VERSION PLUGIN_PROBE
set -eu
source=$1
work=$2
version=$3
probe=$4
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
libdir=usr/lib/$multiarch
# Every package of debian/control; the runtime libraries are those of section libs.
packages=$(awk '/^Package:/ { print $2 }' "$source/debian/control")
libraries=$(awk -v RS= '/\nSection: libs\n/' "$source/debian/control" | awk '/^Package:/ { print $2 }')
[ -n "$libraries" ] || fail "debian/control has no library package"

rm -rf "$work"
tree="$work/vornik-$version"
mkdir -p "$tree"

# The tree as a checkout has it: tracked and new files, not what builds left behind.
if git -C "$source" rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    (cd "$source" && git ls-files -z --cached --others --exclude-standard |
        xargs -0 sh -c 'for f; do if [ -e "$f" ]; then printf "%s\n" "$f"; fi; done' sh) > "$work/files"
    tar -C "$source" -cf - -T "$work/files" | tar -C "$tree" -xf -
else
    tar -C "$source" --exclude=./build --exclude=./.git -cf - . | tar -C "$tree" -xf -
fi
[ "$(cd "$tree" && dpkg-parsechangelog -S Version)" = "$version" ] ||
    fail "debian/changelog is not at the project's version $version"

started=$(date +%s)
(cd "$tree" && DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage -b -uc -us) \
    > "$work/build.log" 2>&1 || { tail -n 60 "$work/build.log"; fail "dpkg-buildpackage failed"; }
echo "dpkg-buildpackage: $(($(date +%s) - started)) s"

changes="$work/vornik_${version}_${arch}.changes"
[ -f "$changes" ] || fail "no $changes"
lintian --fail-on error,warning "$changes" > "$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log"; fail "lintian found errors or warnings"; }
grep -v "running with root privileges" "$work/lintian.log" || true

deb() {
    for file in "$work/$1_${version}_${arch}.deb" "$work/$1_${version}_all.deb"; do
        [ -f "$file" ] && { echo "$file"; return; }
    done
    fail "no package $1"
}
root="$work/root"
for package in $packages; do
    file=$(deb "$package")
    printf '%s: %s bytes\n  Depends: %s\n' "$(basename "$file")" "$(wc -c < "$file")" \
        "$(dpkg-deb -f "$file" Depends)"
    dpkg -x "$file" "$root"
done
field() { dpkg-deb -f "$(deb "$1")" "$2"; }
has() {  # has PACKAGE FIELD WORD...: the field names every word as a package
    value=$(field "$1" "$2")
    package=$1 name=$2
    shift 2
    for word in "$@"; do
        echo "$value" | grep -Eq "(^|[ ,|])$word( |,|$)" || fail "$package $name lacks $word: $value"
    done
}
files() { dpkg-deb -c "$(deb "$1")" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort; }

# The program: exactly what a user needs, and the faces its window's text is drawn in.
cat > "$work/expected" << LIST
usr/bin/vornik
usr/share/applications/vornik.desktop
usr/share/doc/vornik/changelog.gz
usr/share/doc/vornik/copyright
usr/share/icons/hicolor/32x32/apps/vornik.png
usr/share/icons/hicolor/64x64/apps/vornik.png
usr/share/lintian/overrides/vornik
usr/share/man/man1/vornik.1.gz
usr/share/metainfo/org.example.vornik.metainfo.xml
usr/share/vornik/noad.gif
LIST
files vornik | diff -u "$work/expected" - || fail "the vornik package holds other files"
# Neither the faces nor Qt's Wayland platform (loaded at run time) are named by a library the
# program links: without them the labels are cut off, or a session without X gets no window.
has vornik Depends libc6 libqt6widgets6 libfreetype6 libfontconfig1 fonts-liberation2 \
    fonts-dejavu-core qt6-wayland
has vornik Recommends wine
desktop-file-validate "$root/usr/share/applications/vornik.desktop" || fail "the menu entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.vornik.metainfo.xml" > \
    "$work/appstream.log" 2>&1 || { cat "$work/appstream.log"; fail "the metainfo file"; }
cmp "$root/usr/share/vornik/noad.gif" "$tree/resources/noad.gif" || fail "noad.gif differs"

# Every option the program offers is in its manual, as is what it ends with.
vornik="$root/usr/bin/vornik"
zcat "$root/usr/share/man/man1/vornik.1.gz" > "$work/vornik.1"
for option in $("$vornik" --help | grep -Eo -- '--[a-z]+' | sort -u); do
    grep -Fq -- "$(echo "$option" | sed 's/-/\\-/g')" "$work/vornik.1" ||
        fail "the manual page lacks $option"
done
grep -q '^\.SH "EXIT STATUS"' "$work/vornik.1" || fail "the manual page has no exit status"

shown=$("$vornik" --version)
[ "$shown" = "vornik $version" ] || fail "--version printed \"$shown\""
# Without a desktop session the program says so plainly instead of the toolkit's abort.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$vornik" > /dev/null 2> "$work/stderr" ||
    status=$?
[ "$status" = 1 ] || fail "without a display the program ended with $status"
grep -q "graphical desktop session" "$work/stderr" || fail "no plain word: $(cat "$work/stderr")"

# The libraries: one package per SONAME, each with a symbols file that lists exactly what the
# library exports. Checked as the next release would be (any symbol gone, or new and unlisted,
# fails); after a change to the public API, record it with debian/update-symbols.
for package in $libraries; do
    control="$work/control-$package"
    dpkg-deb -e "$(deb "$package")" "$control"
    [ -f "$control/symbols" ] || fail "$package has no symbols file"
    library=$(files "$package" | grep '\.so\.[0-9.]*$' | head -n 1)
    soname=$(objdump -p "$root/$library" | awk '$1 == "SONAME" { print $2 }')
    [ "$(echo "$soname" | sed -E 's/\.so\.([0-9]+)$/\1/' | tr '[:upper:]' '[:lower:]')" = "$package" ] ||
        fail "$package holds $soname"
    (cd "$tree" && dpkg-gensymbols -p"$package" -v"$version.1" -c4 -q -O/dev/null \
        -e"$root/$library" -I"debian/$package.symbols") ||
        fail "debian/$package.symbols does not match $library: run debian/update-symbols"
done
has libtarvexbuttonwidgets1 Depends libqt6widgets6
has libtarvexbutton-dev Depends libtarvexbuttonwidgets1 qt6-base-dev
field libtarvexbutton-dev Depends | grep -Fq "libtarvexbuttonwidgets1 (= $version)" ||
    fail "the -dev package does not pin its library"
files libtarvexbutton-dev | grep -q "^usr/include/tarvex/\(.*/\)*TarvexButtonWidget.hpp$" ||
    fail "the -dev package lacks the widget's header"
[ -f "$root/$libdir/pkgconfig/tarvex-button.pc" ] || fail "no pkg-config file"
[ -f "$root/usr/share/doc/libtarvexbutton-doc/html/index.html" ] || fail "no API reference"

# The example program, built from a copy against the unpacked packages alone.
cp -R "$tree/examples/consumer" "$work/consumer"
rm -rf "$tree/obj-"*
consumer="$work/consumer-build"
cmake -S "$work/consumer" -B "$consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$root/usr" > "$work/consumer.log" 2>&1 &&
    cmake --build "$consumer" >> "$work/consumer.log" 2>&1 ||
    { cat "$work/consumer.log"; fail "the example program does not build against the packages"; }
grep -q "^TarvexButton_DIR:PATH=$root/$libdir/cmake/TarvexButton$" "$consumer/CMakeCache.txt" ||
    fail "the example found another TarvexButton: $(grep TarvexButton_DIR "$consumer/CMakeCache.txt")"
# (The scratch folder itself may lie inside the source tree.)
if cat "$consumer/CMakeCache.txt" "$consumer/build.ninja" | grep -F "$tree" ||
    cat "$consumer/CMakeCache.txt" "$consumer/build.ninja" | sed "s|$work||g" | grep -F "$source"; then
    fail "the example's build points into the source tree"
fi
# The scratch root stands for /usr: the loader looks in its library folder (a library's own
# dependencies are not found through the program's run path).
export LD_LIBRARY_PATH="$root/$libdir"
QT_QPA_PLATFORM=offscreen "$consumer/tarvex-consumer" --check || fail "the example program's check"
ldd "$consumer/tarvex-consumer" | grep -q "libTarvexButtonWidgets.so.1 => $root/$libdir/" ||
    fail "the example program runs another library: $(ldd "$consumer/tarvex-consumer")"

# The Designer plugin, from Qt's own plugin folder inside the unpacked root.
plugin="$root$(qtpaths6 --plugin-dir)/designer/libtarvexbuttonplugin.so"
[ -f "$plugin" ] || fail "the plugin is not in Qt's plugin folder: $(files libtarvexbutton-designer)"
QT_QPA_PLATFORM=offscreen "$probe" "$plugin" > "$work/probe" ||
    fail "the plugin does not load"
cat "$work/probe"
grep -qx "iid org.qt-project.Qt.QDesignerCustomWidgetInterface" "$work/probe" || fail "plugin IID"
grep -qx "class tarvex::qt::TarvexButtonWidget" "$work/probe" || fail "the plugin's widget class"
if grep "^library " "$work/probe" | grep -v "^library $root/$libdir/"; then
    fail "the plugin loaded libraries from outside the unpacked packages"
fi
grep -q "^library $root/$libdir/libTarvexButtonWidgets.so" "$work/probe" ||
    fail "the plugin did not load the packaged widget library"

rm -rf "$work"
