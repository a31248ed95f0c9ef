#!/bin/sh
# Installs a Mireforge .deb the way a user would (`apt install ./mireforge_*.deb`)
# into a fresh, minimal Debian 12 made with debootstrap, then runs the CLI and
# starts the editor offscreen there. Needs root and the Debian archive; takes a
# few minutes.
#   install_in_fresh_debian.sh FILE.deb [MIRROR]
set -eu
deb=$(readlink -f "${1:?usage: install_in_fresh_debian.sh FILE.deb [MIRROR]}")
mirror=${2:-http://deb.debian.org/debian}
[ "$(id -u)" -eq 0 ] || { echo "needs root (debootstrap, chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null || { echo "needs debootstrap: apt-get install debootstrap" >&2; exit 1; }

root=$(mktemp -d "${TMPDIR:-/tmp}/mireforge-debian.XXXXXX")
cleanup() {
  umount "$root/proc" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT INT TERM

echo "making a minimal Debian 12 in $root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.log" 2>&1 || { cat "$root.log" >&2; exit 1; }
rm -f "$root.log"
cp "$deb" "$root/tmp/"
mount -t proc proc "$root/proc"

echo "apt install ./$(basename "$deb")"
chroot "$root" sh -c "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/$(basename "$deb")" \
  >"$root/tmp/apt.log" 2>&1 || { cat "$root/tmp/apt.log" >&2; exit 1; }

# The CLI works, the manual page and the MIME type are in place, and the editor
# starts, loads a map (unsaved work, as an opened map file is) and autosaves it
# (it is stopped after a few seconds).
chroot "$root" sh -ec '
  cd /tmp
  mireforge-cli --help | grep -q "^Usage: mireforge-cli"
  mireforge-cli generate plasma --seed 1 --no-rare -o /tmp/map.php >/dev/null
  test -f /usr/share/man/man1/mireforge-cli.1.gz
  grep -q "application/x-mireforge-project:\*\.mfp" /usr/share/mime/globs2
  HOME=/tmp QT_QPA_PLATFORM=offscreen timeout 10 mireforge /tmp/map.php || test $? -eq 124
  find /tmp/.local/share -path "*/recovery/*.mfp" | grep -q .
'
echo "installed and ran in a fresh Debian 12"
