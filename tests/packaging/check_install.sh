#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a user's desktop needs of it:
# the programs side by side, their commands, translations, desktop entries that validate, a MIME
# package that the desktop's database accepts and that names our files, and the icons.
# Usage: check_install.sh <build folder> <source folder>
set -euo pipefail
build=$1
source=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
usr="$stage/usr"

for f in lib/kestrovan/Kestrovan lib/kestrovan/Translations/kestrovan_de.qm \
         share/applications/kestrovan.desktop share/mime/packages/kestrovan.xml \
         share/icons/hicolor/48x48/apps/kestrovan.png share/icons/hicolor/256x256/apps/kestrovan.png \
         share/icons/hicolor/scalable/apps/kestrovan.svg \
         share/icons/hicolor/32x32/mimetypes/application-x-kestrovan-inspection-report.png; do
    [ -e "$usr/$f" ] || fail "missing $f"
done
# The programs' icons at every size of the hicolor theme, and scalable.
for app in kestrovan halvern-datalogger; do
    for size in 16 22 24 32 36 48 64 72 96 128 192 256 512; do
        icon="$usr/share/icons/hicolor/${size}x${size}/apps/$app.png"
        [ -e "$icon" ] || fail "missing the $app icon at $size pixels"
        file -b "$icon" | grep -q "$size x $size" || fail "$icon is not $size pixels square"
    done
    [ -e "$usr/share/icons/hicolor/scalable/apps/$app.svg" ] || fail "missing the scalable $app icon"
done
[ -L "$usr/bin/kestrovan" ] || fail "bin/kestrovan is not a link"
[ "$(readlink -f "$usr/bin/kestrovan")" = "$(readlink -f "$usr/lib/kestrovan/Kestrovan")" ] \
    || fail "bin/kestrovan does not lead to the program"
# The logger is installed beside Kestrovan whenever it is built.
if [ -x "$build/bin/HalvernDataLogger" ]; then
    [ -x "$usr/lib/kestrovan/HalvernDataLogger" ] || fail "the logger is not beside Kestrovan"
    [ -e "$usr/share/applications/halvern-datalogger.desktop" ] || fail "the logger has no desktop entry"
fi

# Nothing installed points back into the build or source tree.
if grep -rIl -e "$(readlink -f "$build")" -e "$(readlink -f "$source")" "$usr" 2>/dev/null; then
    fail "installed files name the build or source folder"
fi

for entry in "$usr"/share/applications/*.desktop; do
    desktop-file-validate "$entry" || fail "$entry does not validate"
    grep -q "^Exec=/usr/bin/" "$entry" || fail "$entry does not start the installed command"
done
grep -q "^MimeType=.*application/x-kestrovan-inspection-report;" "$usr/share/applications/kestrovan.desktop" \
    || fail "Kestrovan is not offered for its files"

# The MIME package is accepted by the desktop's database and gives our types to our files.
data="$stage/data"
mkdir -p "$data/mime/packages" "$data/applications"
cp "$usr/share/mime/packages/kestrovan.xml" "$data/mime/packages/"
update-mime-database "$data/mime" >/dev/null 2>&1 || fail "update-mime-database refused the package"
samples="$stage/samples"
mkdir -p "$samples"
declare -A expected=(
    [kstir]=application/x-kestrovan-inspection-report
    [kstatr]=application/x-kestrovan-array-test-report
    [kstvc]=application/x-kestrovan-verification-certificate
    [kstchk]=application/x-kestrovan-checklist
    [kstcrv]=application/x-kestrovan-curves
    [kstid]=application/x-kestrovan-installation-diagram
)
for suffix in "${!expected[@]}"; do
    printf 'x' >"$samples/Site A.$suffix"
    got=$(XDG_DATA_DIRS="$data" XDG_DATA_HOME="$stage/nohome" XDG_CURRENT_DESKTOP= \
          xdg-mime query filetype "$samples/Site A.$suffix")
    [ "$got" = "${expected[$suffix]}" ] || fail "$suffix is '$got', not ${expected[$suffix]}"
done
# Copies that lost their extension are told by content: the report container's leading bytes,
# the diagram's root element, the curve file's application_id. A database of someone else's
# stays a plain SQLite database. The system's own types are in the search path here, so that
# ours must win against them.
built="$build/res/gen/reports"
cp "$built/default.kstir" "$samples/report"
cp "$built/default.kstchk" "$samples/checklist"
cp "$built/default.kstcrv" "$samples/curves"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<!-- Site A -->\n<installation_diagram>\n</installation_diagram>\n' \
    >"$samples/diagram"
cp "$source/res/reports/default.kstid" "$samples/empty diagram"
python3 -c 'import sqlite3, sys; c = sqlite3.connect(sys.argv[1]); c.execute("CREATE TABLE t (a)"); c.commit()' \
    "$samples/database"
declare -A by_content=(
    [report]=application/x-kestrovan-report
    [checklist]=application/x-kestrovan-report
    [curves]=application/x-kestrovan-curves
    [diagram]=application/x-kestrovan-installation-diagram
    ["empty diagram"]=application/x-kestrovan-installation-diagram
    [database]=application/vnd.sqlite3
)
for name in "${!by_content[@]}"; do
    got=$(XDG_DATA_DIRS="$data:/usr/share" XDG_DATA_HOME="$stage/nohome" XDG_CURRENT_DESKTOP= \
          xdg-mime query filetype "$samples/$name")
    [ "$got" = "${by_content[$name]}" ] || fail "'$name' without extension is '$got', not ${by_content[$name]}"
done
echo "install tree: ok"
