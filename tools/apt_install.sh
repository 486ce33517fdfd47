#!/usr/bin/env bash
# Installs the Debian packages named as arguments that are not installed yet (as
# root or through sudo), quietly; does nothing when all are there. Used by
# setup.sh and by CI.
set -euo pipefail

missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -gt 0 ] || exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
# Another package manager (an unattended upgrade, say) may hold the locks: wait for it
# up to ten minutes instead of failing at once. The option covers the dpkg locks; the
# package lists' lock of an update running elsewhere is not covered, so that one is
# waited for here.
lock_wait=(-o DPkg::Lock::Timeout=600)
deadline=$((SECONDS + 600))
until out=$("${sudo_cmd[@]}" env LC_ALL=C apt-get "${lock_wait[@]}" update -qq 2>&1); do
  if ! grep -q "Could not get lock" <<<"$out" || [ "$SECONDS" -ge "$deadline" ]; then
    printf '%s\n' "$out" >&2
    exit 1
  fi
  echo "Waiting for another package manager to finish..."
  sleep 5
done
[ -z "$out" ] || printf '%s\n' "$out"
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get "${lock_wait[@]}" install -y -qq "${missing[@]}" >/dev/null
