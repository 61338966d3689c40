#!/usr/bin/env bash
# Builds the Debian package from a Release build tree (build/ unless given),
# installs it on this machine with dpkg -i and apt-get -f install, and checks
# the installed programs: plumgr-cli --version, the manual page, the language
# files, and plumgr --demo --headless-round-trip offscreen against the installed
# ecrsim. A package that was not installed before is removed again afterwards,
# so the machine is left as it was (KEEP_PACKAGE=1 keeps it).
# Usage: package.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

cmake --build "$build" --target plumgr plumgr-cli ecrsim manual_pages
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/plumgr_*.deb | head -n 1)
echo "== Package: $deb"
dpkg-deb --field "$deb" Package Version Installed-Size Depends

was_installed=no
if dpkg-query -W -f='${Status}' plumgr 2>/dev/null | grep -q 'install ok installed'; then
  was_installed=yes
fi
cleanup() {
  if [[ "$was_installed" == no && "${KEEP_PACKAGE:-0}" != 1 ]]; then
    $SUDO dpkg -r plumgr >/dev/null || true
  fi
}
trap cleanup EXIT

# dpkg leaves missing dependencies to apt-get -f install.
$SUDO dpkg -i "$deb" >/dev/null || true
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get -f install -y -qq >/dev/null
dpkg-query -W -f='${Status}\n' plumgr | grep -q 'install ok installed'

for path in /usr/bin/plumgr /usr/bin/plumgr-cli /usr/bin/ecrsim \
            /usr/share/applications/plumgr.desktop \
            /usr/share/icons/hicolor/scalable/apps/plumgr.svg \
            /usr/share/plumgr/lang/en.LNG /usr/share/plumgr/lang/pl.LNG \
            /usr/share/man/man1/plumgr-cli.1.gz; do
  [ -e "$path" ] || { echo "missing after install: $path" >&2; exit 1; }
done
/usr/bin/plumgr-cli --version
man -l /usr/share/man/man1/plumgr-cli.1.gz >/dev/null 2>&1 || zcat /usr/share/man/man1/plumgr-cli.1.gz >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/plumgr-package.XXXXXX")
trap 'rm -rf "$work"; cleanup' EXIT
(cd "$work" && HOME="$work" QT_QPA_PLATFORM=offscreen /usr/bin/plumgr --demo --headless-round-trip)
echo "== The installed package works"
