#!/usr/bin/env bash
# Makes this machine run 32-bit x86 programs: installs the packages given that
# are missing (adding the i386 architecture first when one of them is an i386
# package) and registers qemu-i386 with binfmt_misc when nothing handles i386
# ELF files yet. Needs root. Says what it does; does nothing twice.
#   setup-i386.sh PACKAGE...
set -euo pipefail

missing=()
for package in "$@"; do
  dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$' ||
    missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 package architecture"
    dpkg --add-architecture i386
  fi
  echo "Installing: ${missing[*]}"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/register" ]; then
  echo "Mounting binfmt_misc on $binfmt"
  mount -t binfmt_misc binfmt_misc "$binfmt"
fi
# Any handler already registered for i386 ELF files (qemu's own name, or
# Debian's binfmt-support one) is kept.
if grep -qs '^magic 7f454c4601010100000000000000000002000300$' "$binfmt"/*; then
  exit 0
fi
qemu=$(command -v qemu-i386)
echo "Registering $qemu for i386 programs with binfmt_misc"
# qemu's standard magic and mask for i386 ELF executables; F opens the
# emulator now, so it serves every mount namespace and chroot.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
printf ':qemu-i386:M::%s:%s:%s:F\n' "$magic" "$mask" "$qemu" >"$binfmt/register"
