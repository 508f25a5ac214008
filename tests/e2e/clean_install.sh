#!/usr/bin/env bash
# Installs the Debian package into a clean, minimal Debian 12 system and starts both
# programs there: the proof that the package's declared dependencies are all it needs.
# Needs root, debootstrap and access to a Debian mirror; not part of scripts/test.
#
#   tests/e2e/clean_install.sh PACKAGE.deb [CHROOT_FOLDER]
#
# Without CHROOT_FOLDER a new minimal system is made in a temporary folder and removed
# afterwards; with one, it is made there when missing and kept (later runs reuse it, so
# it must not have had the package installed by hand in between).
#
# In the clean system it
#   1. installs the package with apt, recommendations off, so only what the package
#      declares comes in;
#   2. runs formwright --version, and formwright-cli on a form (convert and back,
#      check);
#   3. renders a form's preview without a display (formwright --render);
#   4. starts the editor on that form under a virtual X display (Xvfb, installed for
#      the test as the user's display server would be) and has it save a picture of its
#      window and quit.
set -euo pipefail

deb=${1:?usage: clean_install.sh PACKAGE.deb [CHROOT_FOLDER]}
[ -f "$deb" ] || { echo "clean-install: no package at $deb" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "clean-install: needs root (chroot, debootstrap)" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "clean-install: needs debootstrap (apt install debootstrap)" >&2; exit 2; }
mirror=${FW_DEBIAN_MIRROR:-http://deb.debian.org/debian}

if [ $# -ge 2 ]; then
  system=$2
  keep=1
else
  system=$(mktemp -d /tmp/formwright-clean-install.XXXXXX)
  keep=
fi
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
  [ -z "$keep" ] && rm -rf "$system"
  return 0
}
trap cleanup EXIT

if [ ! -x "$system/usr/bin/apt-get" ]; then
  echo "clean-install: making a minimal Debian 12 in $system"
  debootstrap --variant=minbase bookworm "$system" "$mirror" >"$system.debootstrap.log" 2>&1 || {
    tail -n 20 "$system.debootstrap.log" >&2
    echo "clean-install: debootstrap failed" >&2
    exit 1
  }
fi
for fs in proc sys dev; do
  mount --bind "/$fs" "$system/$fs"
  mounted+=("$system/$fs")
done
cp /etc/resolv.conf "$system/etc/resolv.conf"
mkdir -p -m 700 "$system/tmp/runtime"
in_system() {
  chroot "$system" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root XDG_RUNTIME_DIR=/tmp/runtime "$@"
}

cp "$deb" "$system/tmp/formwright.deb"
echo "clean-install: installing $(basename "$deb") with its declared dependencies"
in_system bash -c 'export DEBIAN_FRONTEND=noninteractive;
  apt-get update -qq && apt-get install -y -qq --no-install-recommends /tmp/formwright.deb' \
  >"$system/tmp/apt.log" 2>&1 || {
  tail -n 30 "$system/tmp/apt.log" >&2
  echo "clean-install: the package did not install" >&2
  exit 1
}
in_system dpkg-query -W -f='${Package} ${Version} ${Status}\n' formwright

# A small form, made here so that the test needs nothing from outside the package.
cat >"$system/tmp/Hello.dfm" <<'FORM'
object Hello: THello
  Left = 0
  Top = 0
  Caption = 'Hello from a clean system'
  ClientHeight = 120
  ClientWidth = 320
  object Greeting: TLabel
    Left = 16
    Top = 16
    Width = 120
    Height = 13
    Caption = 'Installed and running'
  end
  object Done: TButton
    Left = 16
    Top = 48
    Width = 75
    Height = 25
    Caption = 'OK'
  end
end
FORM
in_system formwright --version
in_system formwright-cli convert --to binary /tmp/Hello.dfm -o /tmp/Hello.bin.dfm
in_system formwright-cli convert --to text /tmp/Hello.bin.dfm -o /tmp/Hello.back.dfm
# The tool writes CR LF line ends; the form above has LF.
in_system bash -c 'cmp <(tr -d "\r" </tmp/Hello.dfm) <(tr -d "\r" </tmp/Hello.back.dfm)'
in_system formwright-cli check /tmp/Hello.dfm
in_system formwright --render /tmp/Hello.bin.dfm -o /tmp/hello-render.png
[ -s "$system/tmp/hello-render.png" ] || { echo "clean-install: --render wrote no picture" >&2; exit 1; }
echo "clean-install: command-line checks passed"

# The editor's window under a virtual display: Xvfb and xauth are the display, not
# something the package should bring.
in_system bash -c 'export DEBIAN_FRONTEND=noninteractive;
  apt-get install -y -qq --no-install-recommends xvfb xauth' >>"$system/tmp/apt.log" 2>&1 || {
  tail -n 30 "$system/tmp/apt.log" >&2
  echo "clean-install: cannot install Xvfb for the window test" >&2
  exit 1
}
in_system bash -c 'FW_GRAB_AND_QUIT=/tmp/hello-window.png QT_QPA_PLATFORM=xcb \
  timeout 120 xvfb-run -a -s "-screen 0 1280x800x24" formwright /tmp/Hello.dfm' || {
  echo "clean-install: the editor did not start and draw its window" >&2
  exit 1
}
[ -s "$system/tmp/hello-window.png" ] || { echo "clean-install: the editor drew no window" >&2; exit 1; }
out=${FW_CLEAN_INSTALL_OUT:-.}
cp "$system/tmp/hello-render.png" "$system/tmp/hello-window.png" "$out/" 2>/dev/null || true
echo "clean-install: passed; the pictures are hello-render.png and hello-window.png in $out"
