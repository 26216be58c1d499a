#!/usr/bin/env bash
# The Debian package: its control fields and file list, the desktop entry and AppStream data
# as the validators see them, icons of the size their folder names, manual pages, and both
# programs started from a throwaway root where the package was unpacked (a library or Qt
# plugin the package does not bring along fails the start).
#   package_test.sh CPACK CPACK_CONFIG SAMPLE_DATABASE
set -uo pipefail
cpack="$1" config="$2" sample="$3"
failures=0
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

if ! "$cpack" -G DEB --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1; then
    echo "FAIL cpack:"; sed 's/^/    /' "$work/cpack.log"
    exit 1
fi
debs=("$work"/out/kavero_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL one package expected, found: ${debs[*]}"; exit 1; }
deb="${debs[0]}"

# Control fields: the libraries the programs link come from dpkg-shlibdeps, the ODBC driver
# (loaded at run time, so no link shows it) is named by hand.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kavero ] || fail "Package is '$(field Package)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Section)" ] || fail "no Section"
depends="$(field Depends | sed 's/ *([^)]*)//g; s/, */\n/g')" # one package name a line
for library in libqt6widgets6 libqt6gui6 libqt6core6 libodbc2 libstdc++6 libc6; do
    grep -qxF "$library" <<<"$depends" || fail "Depends lacks $library: $(field Depends)"
done
grep -q odbc-mariadb <<<"$(field Depends), $(field Recommends)" || fail "the MariaDB ODBC driver is not declared"
version="$(field Version)"
version="${version%%-*}"

# Every file under /usr, in the folders a desktop program owns; nothing of the build tree.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' >"$work/files"
app=org.example.kavero
for path in /usr/bin/kavero /usr/bin/kavero-cli /usr/share/applications/$app.desktop \
    /usr/share/metainfo/$app.metainfo.xml /usr/share/icons/hicolor/scalable/apps/$app.svg \
    /usr/share/icons/hicolor/{48x48,128x128,256x256}/apps/$app.png /usr/share/man/man1/kavero{,-cli}.1.gz \
    /usr/share/doc/kavero/README.md /usr/share/doc/kavero/examples/shop.mdb; do
    grep -qx "$path" "$work/files" || fail "not in the package: $path"
done
stray="$(grep -Ev '^/usr/(bin/kavero(-cli)?|share/(applications|metainfo|icons/hicolor|man/man1|doc/kavero)/.+)$' "$work/files")"
[ -z "$stray" ] && echo "package: $(wc -l <"$work/files") files" || fail "files outside the program's folders: $stray"

root="$work/root"
dpkg-deb -x "$deb" "$root"
share="$root/usr/share"

# Icons: each PNG as large as the folder it is in says (width and height in its header).
for png in "$share"/icons/hicolor/*x*/apps/$app.png; do
    size="$(basename "$(dirname "$(dirname "$png")")")"
    read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
    got="$(((w1 << 24) + (w2 << 16) + (w3 << 8) + w4))x$(((h1 << 24) + (h2 << 16) + (h3 << 8) + h4))"
    [ "$got" = "$size" ] || fail "icon in $size is $got"
done

# Desktop entry and AppStream data: valid, and pointing at each other, the icon and the program.
desktop="$share/applications/$app.desktop"
metainfo="$share/metainfo/$app.metainfo.xml"
out="$(desktop-file-validate "$desktop" 2>&1)" || fail "desktop-file-validate: $out"
out="$(appstreamcli validate --no-net --explain "$metainfo" 2>&1)" || fail "appstreamcli validate: $out"
grep -qx "Icon=$app" "$desktop" || fail "the desktop entry names another icon"
exec_program="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
[ -x "$root/usr/bin/$exec_program" ] || fail "the desktop entry starts '$exec_program', which the package lacks"
grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" || fail "metainfo names another desktop entry"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"

# Manual pages: made from the programs' help, so they name the options.
for program in kavero kavero-cli; do
    page="$(zcat "$share/man/man1/$program.1.gz")"
    grep -q '^\.SH NAME' <<<"$page" && grep -q '\\-\\-version' <<<"$page" || fail "manual page $program.1 lacks NAME or --version"
done

# The programs as installed: no path into the build tree, versions as the package's.
for program in kavero kavero-cli; do
    runpath="$(readelf -d "$root/usr/bin/$program" | grep -E 'R(UN)?PATH')"
    [ -z "$runpath" ] || fail "$program keeps a library path: $runpath"
done
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME"
got="$("$root/usr/bin/kavero-cli" --version)" && [ "$got" = "kavero-cli $version" ] || fail "kavero-cli --version: $got"
# Help and version need no display.
got="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/kavero" --version 2>&1)" &&
    [ "$got" = "kavero $version" ] || fail "kavero --version: $got"
got="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/kavero" --help 2>&1)" &&
    grep -q '^Usage: kavero .*\[DATABASE\]$' <<<"$got" || fail "kavero --help: $got"
got="$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/kavero" --no-such-option 2>&1)"
status=$?
[ $status -eq 2 ] && grep -q '^kavero: unknown option --no-such-option' <<<"$got" || fail "unknown option: status $status, $got"
# The window on the sample database, drawn off screen: still running when the timeout stops it.
QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/kavero" "$sample" >"$work/kavero.log" 2>&1
status=$?
[ $status -eq 124 ] || { fail "kavero ended by itself with status $status:"; sed 's/^/    /' "$work/kavero.log"; }

if [ $failures -eq 0 ]; then
    echo "package: all checks passed"
else
    echo "package: $failures failed"
    exit 1
fi
