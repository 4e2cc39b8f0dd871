#!/bin/bash
# The package as a new user meets it: installs the built .deb into a fresh, minimal Debian 12 root
# with `apt install ./quorbel_*.deb` and nothing else, then, as an unprivileged user in an empty
# folder, takes a snapshot and records 30 frames. The results are checked from this side (the root
# has no python3): the snapshot must not be black, the video must hold 30 frames (ffprobe).
# The minimal root is made as ../shared/tools/fresh-check.sh makes it, and shares its cache
# ($FRESH_BASE/minbase.tar, default /tmp/fresh). Not part of ./test.sh: it takes minutes and the
# package mirror.
# The validators (desktop-file-validate, appstreamcli, lintian) run first when installed.
# Usage (as root, from the project root, after `cmake --build build --target deb`):
#   tools/package-check.sh [PACKAGE.deb]
set -u
proj=$(git rev-parse --show-toplevel 2>/dev/null) || { echo "run it inside the project checkout"; exit 2; }
deb=${1:-$(ls "$proj"/build/quorbel_*.deb 2>/dev/null | tail -n1)}
[ -f "$deb" ] || { echo "no package: build it with: cmake --build build --target deb"; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "package-check needs root (chroot, mount)"; exit 2; }
command -v ffprobe >/dev/null || { echo "package-check needs ffprobe on this machine (apt-get install ffmpeg)"; exit 2; }

# As a distribution would check it first: the menu entry, the AppStream metadata, lintian.
lint_failed=0
if command -v desktop-file-validate >/dev/null && command -v appstreamcli >/dev/null && command -v lintian >/dev/null; then
  unpacked=$(mktemp -d)
  dpkg-deb -x "$deb" "$unpacked"
  desktop-file-validate "$unpacked"/usr/share/applications/*.desktop && echo "desktop-file-validate: passed" || lint_failed=1
  said=$(appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.xml 2>&1) || lint_failed=1
  echo "appstreamcli validate: $(echo "$said" | tail -n1)"
  # lintian would rather not run as root; its errors are prefixed "E:".
  chmod 755 "$unpacked" && cp "$deb" "$unpacked/" && chmod 644 "$unpacked/$(basename "$deb")"
  said=$(runuser -u nobody -- lintian --info "$unpacked/$(basename "$deb")" 2>&1 | grep -v "^N:")
  [ -n "$said" ] && echo "$said" | sed 's/^/lintian: /'
  echo "lintian: $(echo "$said" | grep -c '^E:') errors, $(echo "$said" | grep -c '^W:') warnings"
  echo "$said" | grep -q "^E:" && lint_failed=1
  rm -rf "$unpacked"
else
  echo "package-check: validators skipped (apt-get install desktop-file-utils appstream lintian)"
fi

base=${FRESH_BASE:-/tmp/fresh}
mkdir -p "$base"
if [ ! -f "$base/minbase.tar" ]; then
  command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null
  mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)
  [ -n "$mirror" ] || mirror=$(awk '/^deb /{print $2; exit}' /etc/apt/sources.list 2>/dev/null)
  echo "package-check: making the minimal Debian 12 root (once)..."
  seed=$(mktemp -d "$base/seed.XXXXXX")
  debootstrap --variant=minbase bookworm "$seed" "$mirror" >"$base/debootstrap.log" 2>&1 \
    || { echo "debootstrap failed, see $base/debootstrap.log"; exit 2; }
  tar -C "$seed" -cf "$base/minbase.tar.$$" . && mv "$base/minbase.tar.$$" "$base/minbase.tar" && rm -rf "$seed"
fi
root=$(mktemp -d "$base/package.XXXXXX")
tar -C "$root" -xf "$base/minbase.tar"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null
cp -r /etc/apt/. "$root/etc/apt/" 2>/dev/null
cp "$deb" "$root/tmp/"
mount --bind /dev "$root/dev"; mount -t proc proc "$root/proc"; mount -t sysfs sys "$root/sys"
trap 'umount -l "$root/sys" "$root/proc" "$root/dev" 2>/dev/null' EXIT
in_root() { chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@" </dev/null; }

echo "package-check: apt install ./$(basename "$deb")"
in_root bash -c "export DEBIAN_FRONTEND=noninteractive; apt-get update -qq && cd /tmp && apt install -y -q ./$(basename "$deb")" \
  >"$root/apt.log" 2>&1 || { tail -n 20 "$root/apt.log"; echo "package-check: FAILED: the package did not install"; exit 1; }
grep -E "^(Setting up|Unpacking) quorbel" "$root/apt.log"
in_root bash -c 'quorbel --version && dpkg -L quorbel | grep -c . | sed "s/^/files in the package: /"'

# The user's own folder, empty, as a desktop user's ~/Videos would be.
in_root useradd -m newcomer
in_root su newcomer -s /bin/bash -c '
  mkdir -p ~/Videos && cd ~/Videos && echo "starting in $PWD ($(ls -A | wc -l) files)" &&
  quorbel --snapshot shot.png --frames 60 && quorbel --record clip.avi --frames 30 && ls -l' 2>&1
status=$?
videos="$root/home/newcomer/Videos"
failed=0
[ $status -eq 0 ] || { echo "package-check: the program failed (exit $status)"; failed=1; }
ymax=$(ffprobe -v error -f lavfi -i "movie=$videos/shot.png,signalstats" \
  -show_entries frame_tags=lavfi.signalstats.YMAX -of csv=p=0 2>/dev/null)
echo "snapshot: brightest luma ${ymax:-none} (a black frame has 16)"
[ "${ymax:-0}" -ge 64 ] || { echo "package-check: the snapshot is black or missing"; failed=1; }
frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
  -of csv=p=0 "$videos/clip.avi" 2>/dev/null)
echo "video: ${frames:-no} frames"
[ "${frames:-0}" = 30 ] || { echo "package-check: the video does not hold 30 frames"; failed=1; }
[ $lint_failed -eq 0 ] || { echo "package-check: a validator or lintian found errors (above)"; failed=1; }
[ $failed -eq 0 ] && echo "package-check: PASSED (the root is left at $root; remove it when done)" \
                  || echo "package-check: FAILED (the root is left at $root for a look)"
exit $failed
