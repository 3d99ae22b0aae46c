#!/usr/bin/env bash
# Tries the README's two commands as a new user would meet them: each in its
# own fresh minimal Debian 12 root (debootstrap, variant minbase) with this
# checkout copied in, so that a package that only the development machine
# happens to have shows up as a failure here. Prints each command's exit
# status and duration. Needs root (debootstrap, chroot, mounts) and the
# network to Debian's mirror; the minimal root is made once and kept in
# ELK_FRESH_CACHE (default ~/.cache/elk-viewer-fresh), each run works on a
# copy of it.
#
#   scripts/fresh-check.sh            both commands
#   scripts/fresh-check.sh run        only the one that builds and starts the viewer
#   scripts/fresh-check.sh test       only the one that builds and runs the tests
set -euo pipefail
cd "$(dirname "$0")/.."
checkout=$PWD

if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-check: run as root (it uses debootstrap, chroot and mounts)" >&2
  exit 2
fi

commands=("$@")
[ ${#commands[@]} -gt 0 ] || commands=(run test)
for command in "${commands[@]}"; do
  case $command in
    run | test) ;;
    *) echo "fresh-check: unknown command '$command' (run or test)" >&2; exit 2 ;;
  esac
done

mirror=${ELK_FRESH_MIRROR:-http://deb.debian.org/debian}
cache=${ELK_FRESH_CACHE:-$HOME/.cache/elk-viewer-fresh}
base=$cache/bookworm-minbase
mkdir -p "$cache"

if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi

# The minimal root, made once. It is written under another name and renamed
# when whole, so an interrupted run never leaves a half-made root behind.
if [ ! -f "$base/.complete" ]; then
  rm -rf "$base.partial"
  echo "fresh-check: making a minimal Debian 12 root in $base (once)"
  debootstrap --variant=minbase bookworm "$base.partial" "$mirror" >"$cache/debootstrap.log" 2>&1 || {
    echo "fresh-check: debootstrap failed, see $cache/debootstrap.log" >&2
    exit 1
  }
  # As on an installed Debian 12: updates and security updates too.
  cat >"$base.partial/etc/apt/sources.list" <<LIST
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
LIST
  touch "$base.partial/.complete"
  rm -rf "$base"
  mv "$base.partial" "$base"
fi

root=""
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
  mounted=()
  [ -n "$root" ] && rm -rf "$root"
  root=""
}
trap cleanup EXIT

# One command in a new copy of the minimal root; sets `status` and `seconds`.
try_command() {
  local script=$1
  root=$(mktemp -d "$cache/root.XXXXXX")
  cp -a "$base/." "$root/"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  # The checkout as a clone would have it, with the changes not yet
  # committed: tracked and new files, nothing ignored (no build folders).
  mkdir -p "$root/root/elk-viewer"
  git -C "$checkout" ls-files -z --cached --others --exclude-standard |
    (cd "$checkout" && tar --null --no-recursion -T - -cf - 2>/dev/null) | tar -xf - -C "$root/root/elk-viewer"
  # The web engine needs /proc, /dev/shm and a writable /tmp, as on a
  # real machine.
  local target
  for target in proc sys dev dev/pts; do
    mount --bind "/$target" "$root/$target"
    mounted+=("$root/$target")
  done
  mount -t tmpfs tmpfs "$root/dev/shm"
  mounted+=("$root/dev/shm")
  chmod 1777 "$root/tmp"

  local log=$cache/$(basename "$script" .sh).log
  local start=$SECONDS
  set +e
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 TERM=dumb /bin/bash -c "cd /root/elk-viewer && $script" >"$log" 2>&1
  status=$?
  set -e
  seconds=$((SECONDS - start))
  echo "    (output in $log)"
  cleanup
}

overall=0
for command in "${commands[@]}"; do
  if [ "$command" = run ]; then
    echo "fresh-check: scripts/run.sh in a new root ..."
    try_command scripts/run.sh
    # Without a display the command stops, as it must, where it would open
    # the window: it says so and exits 1 after building.
    log=$cache/run.log
    if [ "$status" -eq 1 ] && grep -q "There is no display" "$log"; then
      verdict="passed (built; stopped where it needs a display)"
    else
      verdict="FAILED"
      overall=1
    fi
  else
    echo "fresh-check: scripts/test.sh in a new root ..."
    try_command scripts/test.sh
    log=$cache/test.log
    if [ "$status" -eq 0 ]; then
      verdict="passed ($(grep -E 'tests passed' "$log" | tail -n 1))"
    else
      verdict="FAILED"
      overall=1
    fi
  fi
  printf 'fresh-check: scripts/%s.sh exit status %d after %dm%02ds: %s\n' "$command" "$status" \
    $((seconds / 60)) $((seconds % 60)) "$verdict"
done
exit $overall
