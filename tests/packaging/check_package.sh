#!/bin/sh
# Checks a Mireforge .deb: its contents (programs, manual page, desktop file,
# MIME type, metadata, icons, pictures), its Depends, that dpkg installs it into
# a throwaway root, and that the extracted CLI runs with nothing but the system's
# libraries.
#   check_package.sh FILE.deb      check that package
#   check_package.sh --build DIR   make the package from the build in DIR first (cpack)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
source_root=$(cd "$here/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/mireforge-package.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if [ "${1:-}" = "--build" ]; then
  build=${2:?"--build needs the build folder"}
  (cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; exit 1; }
  deb=$(ls "$work"/out/mireforge_*.deb)
else
  deb=${1:?"usage: check_package.sh FILE.deb | --build DIR"}
fi
[ -f "$deb" ] || { echo "no package: $deb" >&2; exit 1; }
echo "checking $deb"

# --- contents -------------------------------------------------------------------
dpkg-deb --contents "$deb" | awk '{print $NF}' | sed 's|/$||' >"$work/contents"
app=org.mireforge.Mireforge
required="./usr/bin/mireforge
./usr/bin/mireforge-cli
./usr/share/man/man1/mireforge-cli.1.gz
./usr/share/man/man1/mireforge.1.gz
./usr/share/doc/mireforge/copyright
./usr/share/doc/mireforge/changelog.Debian.gz
./usr/share/applications/$app.desktop
./usr/share/mime/packages/$app.xml
./usr/share/metainfo/$app.metainfo.xml"
for size in 16 32 48 64 128 256; do
  required="$required
./usr/share/icons/hicolor/${size}x${size}/apps/$app.png"
done
if [ -d "$source_root/resources/scene" ]; then
  for picture in "$source_root"/resources/scene/*.png; do
    required="$required
./usr/share/mireforge/scene/$(basename "$picture")"
  done
fi
echo "$required" | while read -r path; do
  grep -qxF "$path" "$work/contents" || echo "$path"
done >"$work/missing"
[ -s "$work/missing" ] && fail "missing from the package: $(tr '\n' ' ' <"$work/missing")"

# Nothing of the build's own (tests, benchmarks, static libraries) may ship.
grep -E 'mireforge_tests|mireforge_bench|\.a$|/include/' "$work/contents" >"$work/stray" || true
[ -s "$work/stray" ] && fail "files that do not belong in the package: $(tr '\n' ' ' <"$work/stray")"

# --- control fields -----------------------------------------------------------------
depends=$(dpkg-deb --field "$deb" Depends)
for needed in libqt6widgets6 libpng16-16 libstdc++6 qt6-qpa-plugins; do
  echo "$depends" | grep -q "$needed" || fail "Depends lacks $needed: $depends"
done
[ "$(dpkg-deb --field "$deb" Package)" = mireforge ] || fail "package name is not mireforge"

# --- extracted files work ------------------------------------------------------------------
root="$work/root"
dpkg-deb -x "$deb" "$root"
if ! env -u LD_LIBRARY_PATH "$root/usr/bin/mireforge-cli" --help >"$work/help" 2>&1; then
  fail "the extracted mireforge-cli --help failed: $(cat "$work/help")"
elif ! grep -q '^Usage: mireforge-cli' "$work/help"; then
  fail "the extracted mireforge-cli --help printed no usage"
fi
if env -u LD_LIBRARY_PATH "$root/usr/bin/mireforge-cli" generate plasma --seed 7 --no-rare -o "$work/map.php" \
    >"$work/generate.log" 2>&1; then
  grep -q '\$map' "$work/map.php" || fail "the extracted mireforge-cli wrote no map"
else
  fail "the extracted mireforge-cli could not generate a map: $(cat "$work/generate.log")"
fi
for program in mireforge mireforge-cli; do
  env -u LD_LIBRARY_PATH ldd "$root/usr/bin/$program" | grep 'not found' >"$work/unresolved" || true
  [ -s "$work/unresolved" ] && fail "$program needs libraries the system lacks: $(cat "$work/unresolved")"
done

if command -v groff >/dev/null; then
  for page in mireforge-cli mireforge; do
    gzip -dc "$root/usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>"$work/groff" || true
    [ -s "$work/groff" ] && fail "the manual page of $page has roff errors: $(cat "$work/groff")"
  done
fi
grep -q '^License: Expat' "$root/usr/share/doc/mireforge/copyright" || fail "the copyright file names no licence"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/$app.desktop" >"$work/desktop" 2>&1 ||
    fail "desktop file: $(cat "$work/desktop")"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml" >"$work/appstream" 2>&1 ||
    fail "AppStream metadata: $(cat "$work/appstream")"
fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$root/usr/share/mime/packages/$app.xml" 2>"$work/mime" || fail "MIME type: $(cat "$work/mime")"
fi

# --- lintian: no errors ---------------------------------------------------------------
# Warnings are printed for the reader; errors fail the check.
if command -v lintian >/dev/null; then
  lintian --no-tag-display-limit "$deb" >"$work/lintian" 2>&1 || true
  grep '^E:' "$work/lintian" >"$work/lintian-errors" || true
  [ -s "$work/lintian-errors" ] && fail "lintian errors: $(cat "$work/lintian-errors")"
  grep '^W:' "$work/lintian" || true
else
  fail "lintian is not installed (scripts/setup-deps installs it)"
fi

# --- dpkg installs it into an empty root -------------------------------------------------
# Dependencies are not installed there (no network, no base system); the
# control data, the file list and the unpacking are what this proves.
if [ "$(id -u)" -eq 0 ]; then
  target="$work/dpkg-root"
  mkdir -p "$target/var/lib/dpkg/info" "$target/var/lib/dpkg/updates" "$target/var/log"
  : >"$target/var/lib/dpkg/status"
  if dpkg --root="$target" --force-depends --log=/dev/null -i "$deb" >"$work/dpkg.log" 2>&1; then
    [ -x "$target/usr/bin/mireforge" ] || fail "dpkg --root did not install /usr/bin/mireforge"
    dpkg --root="$target" -s mireforge 2>/dev/null | grep -q '^Status: install ok installed' ||
      fail "dpkg --root does not record mireforge as installed"
  else
    fail "dpkg --root -i failed: $(cat "$work/dpkg.log")"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package OK: $(wc -l <"$work/contents") entries"
