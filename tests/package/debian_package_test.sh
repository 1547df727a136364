#!/usr/bin/env bash
# Builds the Debian package with CPack from a built tree, shows its file list, holds it to
# lintian (no error), the desktop entry to desktop-file-validate and the AppStream metadata to
# appstreamcli, checks that the game and its data are where the game looks for them, and unpacks
# it into <scratch>/root for the installed-game test.
#
# Usage: debian_package_test.sh <build folder> <scratch folder>
# Exits 77 (skipped) when a packaging tool is missing, unless CI=true, where that fails.
set -euo pipefail
build="$1"
scratch="$2"
fail() { echo "FAIL: $*"; exit 1; }

for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        [ "${CI:-}" = true ] && fail "$tool is missing (tools/setup.sh installs it)"
        echo "skipped: $tool is missing (tools/setup.sh installs it)"
        exit 77
    fi
done

rm -rf "$scratch"
mkdir -p "$scratch"
cpack --config "$build/CPackConfig.cmake" -B "$scratch/cpack" >"$scratch/cpack.log" 2>&1 ||
    { tail -n 20 "$scratch/cpack.log"; fail "cpack could not build the package"; }
deb=$(ls "$scratch"/cpack/*.deb)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
dpkg-deb --field "$deb"
echo "--- files (data under usr/share/vorl/ counted) ---"
dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '/$' | grep -v '^./usr/share/vorl/'
echo "./usr/share/vorl/: $(dpkg-deb --contents "$deb" | awk '{print $6}' | grep -c '^./usr/share/vorl/.*[^/]$') files"

echo "--- lintian ---"
status=0
lintian --fail-on error --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 || status=$?
grep -v 'running with root privileges' "$scratch/lintian.log" || true
[ "$status" -eq 0 ] || fail "lintian reports an error"
echo "lintian: no error"

dpkg-deb -x "$deb" "$scratch/root"
root="$scratch/root"
for file in usr/games/vorl usr/share/vorl/Objects usr/share/vorl/PixelShader.fx \
    usr/share/vorl/Vorl1.ico usr/share/doc/vorl/copyright usr/share/man/man6/vorl.6.gz \
    usr/share/icons/hicolor/scalable/apps/io.github.vorlgame.vorl.svg \
    usr/share/icons/hicolor/256x256/apps/io.github.vorlgame.vorl.png; do
    [ -e "$root/$file" ] || fail "the package lacks /$file"
done

echo "--- data: exactly the game's own files ---"
list="$(dirname "$0")/../../packaging/data_files"
diff <(grep -v '^#' "$list" | sort) <(cd "$root/usr/share/vorl" && find . -type f | sed 's|^\./||' | sort) ||
    fail "usr/share/vorl is not exactly the files of packaging/data_files"
echo "data: $(grep -vc '^#' "$list") files, as listed"

echo "--- desktop-file-validate ---"
desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "the desktop entry is not valid"
echo "desktop entry: valid"
echo "--- appstreamcli validate ---"
appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.metainfo.xml ||
    fail "the AppStream metadata is not valid"
