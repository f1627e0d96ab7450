#!/usr/bin/env bash
# Builds the Debian package from a finished build and checks it as Debian would: its control
# fields, the files it carries (and the ones it must not), stripped programs, and lintian
# without errors.
# Usage: check_package.sh <build folder> <source folder>
set -euo pipefail
build=$1
source=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$out"/kestrovan_*.deb)
field() { dpkg-deb -f "$deb" "$1"; }

# Control fields.
version=$(sed -n '1s/^kestrovan (\([^)]*\)).*/\1/p' "$source/packaging/changelog")
[ -n "$version" ] || fail "the changelog does not start with a kestrovan entry"
[ "$(field Package)" = kestrovan ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version $(field Version) is not the changelog's $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = science ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends)
for needed in fonts-liberation libqt5sql5-sqlite xdg-utils libqt5core5a libqt5serialport5 libqwt-qt5-6; do
    echo "$depends" | grep -qE "(^|, )$needed( |,|$)" || fail "Depends lacks $needed: $depends"
done
# Qt's German texts travel with the programs.
echo "$depends" | grep -q qttranslations5-l10n && fail "Depends names qttranslations5-l10n: $depends"
[ "$(field Description | sed -n 2p)" != " $(field Description | sed -n 1p)" ] || fail "the description repeats its summary"

# Files.
files=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|')
for f in /usr/lib/kestrovan/Kestrovan /usr/lib/kestrovan/HalvernDataLogger /usr/bin/kestrovan \
         /usr/bin/halvern-datalogger /usr/lib/kestrovan/Translations/kestrovan_de.qm \
         /usr/lib/kestrovan/Translations/halverndatalogger_de.qm /usr/lib/kestrovan/Translations/qtbase_de.qm \
         /usr/lib/kestrovan/Help/HalvernDataLoggerHelp_en.html /usr/share/doc/kestrovan/copyright \
         /usr/share/doc/kestrovan/changelog.gz /usr/share/man/man1/kestrovan.1.gz \
         /usr/share/man/man1/halvern-datalogger.1.gz /usr/share/applications/kestrovan.desktop \
         /usr/share/applications/halvern-datalogger.desktop /usr/share/mime/packages/kestrovan.xml \
         /usr/share/icons/hicolor/512x512/apps/kestrovan.png /usr/share/icons/hicolor/scalable/apps/kestrovan.svg; do
    echo "$files" | grep -qxF "$f" || fail "the package lacks $f"
done
# Only the Qt catalogue of the modules the programs use.
if echo "$files" | grep -E '/(qt|qtscript|qtmultimedia|qtxmlpatterns)_[a-z]+\.qm$'; then
    fail "the package carries Qt catalogues nothing uses"
fi
if echo "$files" | grep -vE '^/usr/(bin|lib/kestrovan|share/(applications|doc/kestrovan|icons|man/man1|mime))(/|$)' \
    | grep -vxE '/usr/((lib|share|share/doc|share/man)/)?'; then
    fail "the package installs outside its folders"
fi

# Programs without their debugging symbols.
dpkg-deb -x "$deb" "$out/root"
for program in Kestrovan HalvernDataLogger; do
    file -b "$out/root/usr/lib/kestrovan/$program" | grep -q ', stripped' || fail "$program is not stripped"
done

# Debian's own checks, errors only (warnings are advice).
if ! report=$(lintian --tag-display-limit 0 --fail-on error "$deb" 2>&1); then
    echo "$report" >&2
    fail "lintian reports errors"
fi
echo "package: ok"
