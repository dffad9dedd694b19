#!/bin/bash
# One-time machine set-up for building VLRun32.dll and running its tests under
# 32-bit Wine on a Debian 12 (bookworm) machine. Safe to run again: every step
# checks first and does nothing when its work is already done. Needs root.
set -euo pipefail

log() { printf 'setup: %s\n' "$*"; }
export DEBIAN_FRONTEND=noninteractive

# The bookworm-backports suite, derived from the machine's own Debian entry so
# that whatever mirror the machine uses is used here too.
backports_list=/etc/apt/sources.list.d/vlrun-backports.sources
add_backports() {
    [ -f "$backports_list" ] && return 0
    local uri="" keyring=""
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        # First deb822 stanza whose suites include plain "bookworm".
        read -r uri keyring < <(awk '
            BEGIN { RS=""; FS="\n" }
            {
                u=""; s=""; k="";
                for (i = 1; i <= NF; i++) {
                    if ($i ~ /^URIs:/)      { u=$i; sub(/^URIs:[ \t]*/, "", u); split(u, a, /[ \t]+/); u=a[1] }
                    if ($i ~ /^Suites:/)    { s=" " $i " " }
                    if ($i ~ /^Signed-By:/) { k=$i; sub(/^Signed-By:[ \t]*/, "", k) }
                }
                if (s ~ /[ \t]bookworm[ \t]/ && u != "") { print u, k; exit }
            }' /etc/apt/sources.list.d/debian.sources)
    fi
    if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
        uri=$(awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' /etc/apt/sources.list)
    fi
    [ -n "$uri" ] || { echo "setup: no Debian bookworm apt source found to derive backports from" >&2; exit 1; }
    [ -n "$keyring" ] || keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    log "adding bookworm-backports from $uri"
    cat > "$backports_list" <<SRC
Types: deb
URIs: $uri
Suites: bookworm-backports
Components: main
Signed-By: $keyring
SRC
    need_update=1
}

packages=(g++-mingw-w64-i686 cmake wine wine32:i386 wine64 xvfb xauth googletest
          clang libclang-rt-14-dev binutils-mingw-w64-i686)
missing_packages() {
    local p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || echo "$p"
    done
}

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    log "adding the i386 architecture"
    dpkg --add-architecture i386
    need_update=1
fi
add_backports

missing=$(missing_packages)
qemu_ok=1
dpkg-query -W -f='${Version}\n' qemu-user-static 2>/dev/null | grep -q '^1:\(9\|1[0-9]\)' || qemu_ok=0
if [ -n "$missing" ] || [ "$qemu_ok" = 0 ]; then
    [ "$need_update" = 1 ] || [ ! -f /var/lib/apt/periodic/vlrun-updated ] && need_update=1
fi
if [ "$need_update" = 1 ] && { [ -n "$missing" ] || [ "$qemu_ok" = 0 ]; }; then
    log "apt-get update"
    apt-get update -qq
    mkdir -p /var/lib/apt/periodic && touch /var/lib/apt/periodic/vlrun-updated
fi
if [ -n "$missing" ]; then
    log "installing:" $missing
    apt-get install -y -qq $missing >/dev/null
fi
if [ "$qemu_ok" = 0 ]; then
    # bookworm's own qemu 7.2 takes ~45 s of CPU to start each Wine process.
    log "installing qemu-user-static from bookworm-backports"
    apt-get install -y -qq -t bookworm-backports qemu-user-static >/dev/null
fi

# This kernel runs no 32-bit ELF by itself: hand i386 binaries to qemu.
if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    log "mounting binfmt_misc"
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
fi
qemu=/usr/bin/qemu-i386
[ -x "$qemu" ] || qemu=/usr/bin/qemu-i386-static
registered=0
for entry in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$entry" ] || continue
    case "$(basename "$entry")" in register|status) continue ;; esac
    if grep -q "^interpreter $qemu\$" "$entry" && grep -q '^flags:.*F' "$entry" && grep -q '^enabled' "$entry"; then
        registered=1
    fi
done
if [ "$registered" = 0 ]; then
    [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && echo -1 > /proc/sys/fs/binfmt_misc/qemu-i386
    log "registering $qemu for i386 ELF"
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' \
        > /proc/sys/fs/binfmt_misc/register
fi
log "ready"
