#!/usr/bin/env bash
# The Debian package end to end: made and checked (lintian, the desktop entry), unpacked into a
# temporary root and run from a folder outside the source and build trees: the programs answer,
# the unpacked showcase renders and captures, the starter builds, the manual pages know every
# option the programs print, and the shell completion lists the commands.
# usage: installed_package_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
build_dir=$(cd "$2" && pwd)

work=$(mktemp -d /tmp/torvane-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

TORVANE_BUILD_DIR="$build_dir" bash "$source_dir/scripts/package.sh" --no-build | tee "$work/package.log"
deb=$(sed -n 's/^package: //p' "$work/package.log")
[ -f "$deb" ] || fail "no package was made"
version=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-deb -f "$deb" Section)" = video ] || fail "the package's section is not video"
dpkg-deb -f "$deb" Depends | grep -q libsdl2 || fail "the dependencies were not computed: $(dpkg-deb -f "$deb" Depends)"

root="$work/root"
dpkg-deb -x "$deb" "$root"
bin="$root/usr/bin"
showcase="$root/usr/share/torvane/showcase"
mkdir "$work/elsewhere"
cd "$work/elsewhere"

# Nothing installed may lead back to the trees it was built from.
for program in "$bin/torvane" "$bin/torvane-tool"; do
  for tree in "$source_dir" "$build_dir"; do
    if grep -q -a -F "$tree" "$program"; then fail "$program names $tree"; fi
  done
done

[ "$("$bin/torvane-tool" --version)" = "torvane-tool $version" ] || fail "torvane-tool --version is not $version"
[ "$("$bin/torvane" --version)" = "torvane $version" ] || fail "torvane --version is not $version"

"$bin/torvane-tool" render --pack "$showcase/torvane.pak" --width 320 --height 180 --at 30000 --out frames >/dev/null
[ -s frames/frame_00030000.png ] || fail "render of the unpacked showcase wrote no frame"
"$bin/torvane-tool" capture --pack "$showcase/torvane.pak" --music "$showcase/music.ogg" --width 320 --height 180 \
  --fps 10 --frames 100:103 --quiet --out captured/ >/dev/null
[ "$(ls captured/frame_*.png | wc -l)" -eq 3 ] || fail "capture of the unpacked showcase did not write three frames"

# The starter production and the core effects come from inside the installed tool.
"$bin/torvane-tool" new starter >/dev/null
"$bin/torvane-tool" build starter --out starter-out >/dev/null
[ -s starter-out/torvane.pak ] && [ -s starter-out/music.ogg ] || fail "the unpacked tool did not build its starter"

# Every option a program prints is in its manual page; every command of the tool has a section.
manual_text() { zcat "$root/usr/share/man/man1/$1.1.gz" | sed 's/\\-/-/g; s/\\(hy/-/g; s/\\e/\\/g'; }
player_manual=$(manual_text torvane)
tool_manual=$(manual_text torvane-tool)
check_manual() {
  local page=$1 manual=$2 help=$3 option
  for option in $(grep -o -- '--[a-z][a-z0-9-]*' <<<"$help" | sort -u); do
    grep -q -F -- "$option" <<<"$manual" || fail "$page(1) does not know $option"
  done
}
check_manual torvane "$player_manual" "$("$bin/torvane" --help)"
commands=$("$bin/torvane-tool" --help | sed -n '/^commands:/,/^$/{/^  [a-z]/{s/^  \([a-z0-9-]*\).*/\1/;p}}')
[ -n "$commands" ] || fail "torvane-tool --help lists no commands"
for command in $commands; do
  grep -q -x -F ".SS $command" <<<"$tool_manual" || fail "torvane-tool(1) has no section for $command"
  check_manual torvane-tool "$tool_manual" "$("$bin/torvane-tool" "$command" --help)"
done
for page in torvane torvane-tool; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page(1) does not format cleanly: $warnings"
done

# The completion offers the commands the unpacked tool has.
completed=$(PATH="$bin:$PATH" bash -c '
  source "$1"
  COMP_WORDS=(torvane-tool ren); COMP_CWORD=1; _torvane_tool torvane-tool; echo "${COMPREPLY[*]}"
  COMP_WORDS=(torvane-tool render --every); COMP_CWORD=2; _torvane_tool torvane-tool; echo "${COMPREPLY[*]}"
' _ "$root/usr/share/bash-completion/completions/torvane-tool")
[ "$completed" = $'render\n--every-pass' ] || fail "the completion offered: $completed"

# The menu entry opens the showcase where the package puts it.
grep -q -x "Exec=torvane /usr/share/torvane/showcase" "$root/usr/share/applications/torvane.desktop" ||
  fail "the desktop entry does not open the installed showcase"
for file in usr/share/icons/hicolor/scalable/apps/torvane.svg usr/share/doc/torvane/copyright \
  usr/share/doc/torvane/changelog.gz usr/share/doc/torvane/README.md usr/share/doc/torvane/architecture.md; do
  [ -s "$root/$file" ] || fail "the package has no $file"
done
echo "package test: $deb passes"
