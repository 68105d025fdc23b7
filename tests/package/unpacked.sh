#!/usr/bin/env bash
# tests/package/unpacked.sh DEB: the Debian package, unpacked into a temporary root, holds the installed
# layout (programs, menu entry, AppStream metadata, icons, catalog file type, help pages, Debian
# documents), its programs are hardened as dpkg-buildflags asks, and they run from there: vrkcli makes,
# lists, prints into a PDF file and backs up a demo catalog with the vrkpdf.so and vrkback installed
# with it, and vrk saves a picture of its main window. Everything they write goes to
# temporary directories (VRK_HOME, HOME, XDG_*), never to the user's files.
set -euo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 DEB" >&2
  exit 2
fi
deb=$(realpath "$1")
for tool in dpkg-deb desktop-file-validate appstreamcli file update-mime-database gio readelf; do
  if ! command -v "$tool" >/dev/null; then
    echo "$0: $tool is missing; scripts/deps package installs it" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
dpkg-deb -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)
bin=$root/usr/bin
share=$root/usr/share

passed=0
failed=0
# check WHAT COMMAND...: runs the command, counts it, and on failure says what failed with its output.
check() {
  local what=$1
  shift
  if "$@" >"$work/output" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $what" >&2
    sed 's/^/    /' "$work/output" >&2
  fi
}

# The layout.
owned_by_root() {
  local listing
  listing=$(dpkg-deb -c "$deb") && ! grep -v ' root/root ' <<<"$listing"
}
is_png() { [[ "$(file --brief "$1")" == "PNG image data, ${2:-}"* ]]; }
is_bmp() { [[ "$(file --brief "$1")" == "PC bitmap"* ]]; }
check "every file belongs to root" owned_by_root
for program in vrk vrkcli vrkback; do check "usr/bin/$program is a program" test -x "$bin/$program"; done
# hardened PROGRAM: position-independent, its relocations read-only and bound at start-up, with the
# stack protector and checked buffer functions (_FORTIFY_SOURCE).
hardened() {
  local header segments dynamic symbols
  header=$(readelf -hW "$1") && segments=$(readelf -lW "$1") && dynamic=$(readelf -dW "$1") &&
    symbols=$(readelf --dyn-syms -W "$1") || return 1
  grep -Eq 'Type: +DYN' <<<"$header" && grep -q 'GNU_RELRO' <<<"$segments" &&
    grep -Eq 'BIND_NOW|FLAGS_1.* NOW' <<<"$dynamic" && grep -Eq 'FLAGS_1.* PIE' <<<"$dynamic" &&
    grep -q ' __stack_chk_fail' <<<"$symbols" && grep -Eq ' __[a-z0-9_]+_chk(@| |$)' <<<"$symbols"
}
for program in vrk vrkcli vrkback; do check "usr/bin/$program is hardened" hardened "$bin/$program"; done
# vrkcli's PDF printer, a module it loads from ../lib/ARCH/vrk: relocations read-only and bound at load, the
# stack protector; vrkcli itself needs no library of the desktop toolkit.
module=$(echo "$root"/usr/lib/*/vrk/vrkpdf.so)
hardened_module() {
  local segments dynamic symbols
  segments=$(readelf -lW "$1") && dynamic=$(readelf -dW "$1") && symbols=$(readelf --dyn-syms -W "$1") || return 1
  grep -q 'GNU_RELRO' <<<"$segments" && grep -Eq 'BIND_NOW|FLAGS.* NOW' <<<"$dynamic" &&
    grep -q ' __stack_chk_fail' <<<"$symbols" && grep -q ' VrkPdfModule$' <<<"$symbols"
}
needs_no_qt() { ! readelf -dW "$1" | grep -q 'NEEDED.*libQt'; }
check "usr/lib/ARCH/vrk/vrkpdf.so is hardened" hardened_module "$module"
check "usr/bin/vrkcli needs no Qt library" needs_no_qt "$bin/vrkcli"

desktop_files=("$share"/applications/*.desktop)
id=$(basename "${desktop_files[0]}" .desktop)
desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
check "one desktop file" test ${#desktop_files[@]} -eq 1
check "the desktop file is valid" desktop-file-validate "$desktop"
check "the desktop file starts vrk with a file" grep -qx 'Exec=vrk %f' "$desktop"
check "the desktop file's icon is named as the desktop file" grep -qx "Icon=$id" "$desktop"
check "the desktop file opens catalogs" grep -qx 'MimeType=application/x-vrk-catalog;' "$desktop"
check "the AppStream metadata is valid" appstreamcli validate --no-net "$metainfo"
check "the AppStream id is the desktop file's name" grep -q "<id>$id</id>" "$metainfo"
check "the AppStream metadata launches the desktop file" \
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
check "the AppStream metadata names this release" grep -q "<release version=\"$version\"" "$metainfo"
check "the scalable icon is SVG" grep -q '<svg' "$share/icons/hicolor/scalable/apps/$id.svg"
check "the catalog type's scalable icon is SVG" \
  grep -q '<svg' "$share/icons/hicolor/scalable/mimetypes/application-x-vrk-catalog.svg"
for size in 16 24 32 48 64 128 256; do
  check "the $size-pixel icon" is_png "$share/icons/hicolor/${size}x$size/apps/$id.png" "$size x $size,"
  check "the catalog type's $size-pixel icon" \
    is_png "$share/icons/hicolor/${size}x$size/mimetypes/application-x-vrk-catalog.png" "$size x $size,"
done

# The catalog type: a setup file, NAME.SET in any letter case, is a VRK catalog; a text file of that name
# is text (tested on the demo catalog's setup file below).
mkdir -p "$work/mime/packages"
cp "$share"/mime/packages/*.xml "$work/mime/packages/"
check "the catalog type compiles" update-mime-database "$work/mime"
check "*.set in any case is a catalog" grep -Eqx '[0-9]+:application/x-vrk-catalog:\*\.set' "$work/mime/globs2"
# is_type FILE TYPE: the type GIO finds for the file in the unpacked package's types alone.
is_type() {
  local found
  found=$(XDG_DATA_DIRS=$work XDG_DATA_HOME=$work/none gio info -a standard::content-type "$1") &&
    grep -qx "  standard::content-type: $2" <<<"$found"
}

# vrk reads its help pages from ../share/vrk/help beside its own directory.
check "the help page is where vrk looks for it" grep -q '<h1>VRK Help</h1>' "$bin/../share/vrk/help/vrkhelp.html"
changelog_names_version() { [[ "$(gzip -dc "$share/doc/vrk/changelog.gz" | sed -n 1p)" == "vrk ($version) "* ]]; }
check "the copyright file" grep -q '^Copyright: ' "$share/doc/vrk/copyright"
check "the changelog names this version" changelog_names_version

# The programs, run from the unpacked tree.
export VRK_HOME=$work/catalogs HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config \
  XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp QT_QPA_PLATFORM=offscreen
mkdir -p "$VRK_HOME" "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"
lists_demo_entries() {
  local lines
  lines=$("$bin/vrkcli" dump "$VRK_HOME/RECORDS" | wc -l) && [ "$lines" -eq 200 ]
}
backup_holds_catalog() {
  local archives=("$VRK_HOME"/backup/RECORDS-*.tar.gz) listing
  [ ${#archives[@]} -eq 1 ] && listing=$(tar -tzf "${archives[0]}") && grep -qx RECORDS.DAT <<<"$listing" &&
    grep -qx "media$VRK_HOME/media/cover1.bmp" <<<"$listing"
}
check "vrkcli makes the demo catalog" "$bin/vrkcli" demo "$VRK_HOME/RECORDS"
check "the demo's pictures are beside it" is_bmp "$VRK_HOME/media/cover1.bmp"
printf 'Name=Value\n' >"$work/notes.set"
cp "$VRK_HOME/RECORDS.SET" "$work/records.set"
check "a setup file is a catalog" is_type "$VRK_HOME/RECORDS.SET" application/x-vrk-catalog
check "in lower case too" is_type "$work/records.set" application/x-vrk-catalog
check "a text file named .set is text" is_type "$work/notes.set" text/plain
check "vrkcli lists its 200 entries" lists_demo_entries
prints_pdf() {
  "$bin/vrkcli" list-range "$VRK_HOME/RECORDS" 1 3 --pdf "$work/three.pdf" && head -c 5 "$work/three.pdf" | grep -q '%PDF-'
}
check "vrkcli prints a PDF file through its module" prints_pdf
check "vrkcli backs it up through vrkback" "$bin/vrkcli" backup "$VRK_HOME/RECORDS"
check "the backup holds the catalog and its pictures" backup_holds_catalog
check "vrk saves a picture of its main window" "$bin/vrk" --screenshot "$work/main-window.png"
check "the picture is a PNG" is_png "$work/main-window.png"

# Installed, the programs' directory may not be written: without VRK_HOME they keep their files in the
# user's data folder, where vrk's first start makes the demo catalog, once. Root may write anywhere, so
# as root they run as the unprivileged user nobody.
check "the manual pages" test -f "$share/man/man1/vrk.1.gz" -a -f "$share/man/man1/vrkcli.1.gz" \
  -a -f "$share/man/man1/vrkback.1.gz"
as_user() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
  else
    "$@"
  fi
}
user=$work/user
mkdir -p "$user/home" "$user/tmp"
chmod 755 "$work" "$work/root"
chmod a-w "$bin"
[ "$(id -u)" -eq 0 ] && chown -R nobody:nogroup "$user"
run_installed() {
  as_user env -u VRK_HOME HOME="$user/home" XDG_DATA_HOME="$user/data" TMPDIR="$user/tmp" "$@"
}
folder=$user/data/vrk
names_demo() { grep -qx 'CurrentDB=RECORDS' "$folder/VRK.INI"; }
lists_demo() { [ "$(run_installed "$bin/vrkcli" catalogs "$folder")" = "$(printf 'RECORDS\t200')" ]; }
check "vrk's first start makes the data folder and the demo catalog" \
  run_installed "$bin/vrk" --screenshot "$user/first.png"
check "VRK.INI in the data folder names the demo catalog" names_demo
check "vrkcli finds it there" lists_demo
check "the picture shows it" is_png "$user/first.png"
rm "$folder/RECORDS.DAT" "$folder/RECORDS.SET"
check "a later start makes no demo catalog" run_installed "$bin/vrk" --screenshot "$user/later.png"
check "the removed demo catalog stays removed" test ! -e "$folder/RECORDS.DAT"
chmod u+w "$bin"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
