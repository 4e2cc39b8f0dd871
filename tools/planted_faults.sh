#!/usr/bin/env bash
# Plants small faults in a scratch copy of the program, one at a time, and
# runs the tests of the area each one touches: a fault no test notices is a
# gap in the suite. Slow (a rebuild and a test run per fault); not part of
# ./test.sh.
#
#   tools/planted_faults.sh [COMMIT] [FAULT-NAME...]
#
# COMMIT (default HEAD) is copied with `git archive` into the scratch folder
# QUORBEL_FAULTS_DIR/src (default /tmp/quorbel-faults); a later run brings the
# copy up to its commit by rewriting only the files that differ, so the
# build there stays mostly up to date. Builds use ccache, `nice` and
# QUORBEL_FAULTS_JOBS jobs (default 1); each test program gets
# QUORBEL_FAULTS_TIMEOUT seconds (default 180). A fault is caught when a test
# program fails, crashes or runs out of time. `--list` prints the faults.
set -uo pipefail
# The whole script sits in one block, read before it runs, so editing the file
# during a run changes nothing in that run.
{
repo=$(cd "$(dirname "$0")/.." && pwd)

# name @@ file @@ test programs @@ exact text (unique in the file) @@ replacement
# A test program may carry a Google Test filter after a colon, to leave out
# tests far too slow to run for every fault.
read -r -d '' FAULTS <<'EOF'
steady-memory-compiled-out @@ platform/steady_memory.cpp @@ test_steady_memory @@ #include <cstddef>  // defines __GLIBC__, which the checks below need @@ // (the header that defines __GLIBC__ left out)
yuv-alpha-unscaled @@ video/yuv_planar.cpp @@ test_yuv_planar @@ return static_cast<Sample>(sizeof(Sample) == 1 ? a : (a << 2) | (a >> 6)); @@ return static_cast<Sample>(a);
title-length-edge @@ scene/title_text.cpp @@ test_panels test_settings_record test_headless_cli @@ bool FitsInTitle(std::string_view utf8) { return CharacterCount(utf8) <= kMaxTitleCharacters; } @@ bool FitsInTitle(std::string_view utf8) { return CharacterCount(utf8) < kMaxTitleCharacters; }
title-delete-kept @@ scene/title_text.cpp @@ test_settings_record test_text_layout @@ return (code < 0x20 && code != '\n') || (code >= 0x7F && code < 0xA0); } @@ return (code < 0x20 && code != '\n') || (code > 0x7F && code < 0xA0); }
title-written-8bit-unchecked @@ settings/title_file.cpp @@ test_settings_record @@ if (eightBit && !Utf8Title(*eightBit)) return *eightBit; @@ if (eightBit) return *eightBit;
write-target-folder-allowed @@ platform/write_target.cpp @@ test_write_targets @@ if (S_ISREG(info.st_mode)) return std::nullopt; @@ if (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) return std::nullopt;
bidi-runs-unreversed @@ effects/text_layout.cpp @@ test_text_layout test_text @@ std::reverse(order.begin() + static_cast<std::ptrdiff_t>(i), order.begin() + static_cast<std::ptrdiff_t>(end)); @@ (void)end;
hex-colour-channels @@ scene/number_text.cpp @@ test_number_text test_scene_state @@ parsed.value = blue << 16 | green << 8 | red; @@ parsed.value = red << 16 | green << 8 | blue;
whole-range-off-by-one @@ scene/number_text.cpp @@ test_number_text test_scene_state @@ if (value < low || value > high) return parsed; @@ if (value < low || value >= high) return parsed;
view-scale-unrounded @@ scene/view_scale.cpp @@ test_view_sizes @@ return std::max(1, static_cast<int>(std::lround(designPixels * ViewScale(width, height)))); @@ return std::max(1, static_cast<int>(designPixels * ViewScale(width, height)));
startup-read-every-frame @@ scene/frame_driver.cpp @@ test_frame_driver test_new_and_startup @@ if (scene.startupStage >= 2) return 1; @@ if (scene.startupStage > 2) return 1;
tunnel-mode-boundary @@ effects/tunnel.cpp @@ test_tunnel @@ if (scene.tunnelWarpA <= kSecondModeWarpA) scene.tunnelTexMode = 2; @@ if (scene.tunnelWarpA < kSecondModeWarpA) scene.tunnelTexMode = 2;
tunnel-radius-off-by-one @@ effects/tunnel.cpp @@ test_tunnel @@ float radius = kMouthRadius - t * kRadiusStep; @@ float radius = kMouthRadius - (t + 1) * kRadiusStep;
star-overshoot-unwrapped @@ effects/stars.cpp @@ test_stars @@ if (star.dist < 0.0f) star.dist = std::fmod(star.dist, kStarRimDist) + kStarRimDist; @@ (void)0;
star-zoom-far-sign @@ effects/stars.cpp @@ test_stars @@ float ZoomFar() { return static_cast<float>(scene.starZoomStart) - kZoomStartOffset; } @@ float ZoomFar() { return static_cast<float>(scene.starZoomStart) + kZoomStartOffset; }
fire-colour-channels @@ effects/fire.cpp @@ test_fire @@ particle.colour[0] = static_cast<float>(scene.fireRed * 0.02 + lift); @@ particle.colour[0] = static_cast<float>(scene.fireBlue * 0.02 + lift);
blur-size-unclamped @@ effects/blur.cpp @@ test_blur test_view_sizes @@ const int width = std::clamp(scene.viewWidth, 0, side); @@ const int width = scene.viewWidth;
blur-capture-rate-flipped @@ effects/blur.cpp @@ test_blur @@ if (now - scene.lastCaptureTime <= 1.0 / rate) return false; @@ if (now - scene.lastCaptureTime > 1.0 / rate) return false;
particle-count-unclamped @@ effects/particles.cpp @@ test_particles test_hostile_settings @@ return static_cast<std::uint32_t>(std::clamp<std::int32_t>(scene.particleCount, 0, kMaxParticles)); @@ return static_cast<std::uint32_t>(std::max<std::int32_t>(scene.particleCount, 0));
particle-colour-cycle-off-by-one @@ effects/particles.cpp @@ test_particles @@ if (engine.colourIndex > kLastColourIndex) engine.colourIndex = 0; @@ if (engine.colourIndex >= kLastColourIndex) engine.colourIndex = 0;
radial-sums-unclamped @@ effects/radial_sum.cpp @@ test_radial_sum @@ if (++added % kLayersBetweenClamps == 0) ClampAllSums(channels, pixels); @@ ++added;
tile-pan-sign @@ effects/tiles.cpp @@ test_tiles @@ if (panU >= 4) scene.*layer.u -= scene.*layer.panLeftSpeed * kPanStep; @@ if (panU >= 4) scene.*layer.u += scene.*layer.panLeftSpeed * kPanStep;
bmp-mask-unrounded @@ imaging/bmp_loader.cpp @@ test_bmp_loader:-BmpEncoders.ImageMagickAndPillowPicturesMatchTheirSource @@ return static_cast<std::uint8_t>((value * 255 + max_ / 2) / max_); @@ return static_cast<std::uint8_t>((value * 255) / max_);
bmp-palette-channels @@ imaging/bmp_loader.cpp @@ test_bmp_loader:-BmpEncoders.ImageMagickAndPillowPicturesMatchTheirSource @@ layout.palette[i] = {entry[2], entry[1], entry[0]}; @@ layout.palette[i] = {entry[0], entry[1], entry[2]};
bmp-read-length-unchecked @@ imaging/bmp_loader.cpp @@ test_bmp_loader:-BmpEncoders.ImageMagickAndPillowPicturesMatchTheirSource @@ if (!in.Has(layout.pixelOffset, needed)) return DibError::ConversionError; @@ if (!in.Has(layout.pixelOffset, 1)) return DibError::ConversionError;
bmp-top-down-order @@ imaging/bmp_loader.cpp @@ test_bmp_loader:-BmpEncoders.ImageMagickAndPillowPicturesMatchTheirSource @@ std::int64_t outRow = layout.topDown ? layout.height - 1 - row : row; @@ std::int64_t outRow = row;
path-case-tie @@ imaging/paths.cpp @@ test_paths @@ if (EqualIgnoringCase(candidate, name) && (!best || candidate < *best)) { @@ if (EqualIgnoringCase(candidate, name) && (!best || candidate > *best)) {
png-last-row-dropped @@ imaging/png_writer.cpp @@ test_headless_cli test_render_paths @@ for (int row = height - 1; row >= 0; --row) @@ for (int row = height - 1; row > 0; --row)
settings-saturation-edge @@ settings/settings_record.cpp @@ test_settings_record @@ if (value >= kLimit) return INT32_MAX; @@ if (value > kLimit) return INT32_MAX;
settings-read-length-unchecked @@ settings/settings_record.cpp @@ test_settings_record test_hostile_settings @@ const std::size_t available = std::min(kSettingsFieldSize, bytes.size() - offset); @@ const std::size_t available = kSettingsFieldSize;
settings-byte-order @@ settings/settings_record.cpp @@ test_settings_record @@ for (std::size_t i = 0; i < 4; ++i) buffer[i] = static_cast<std::uint8_t>(word >> (8 * i)); @@ for (std::size_t i = 0; i < 4; ++i) buffer[i] = static_cast<std::uint8_t>(word >> (8 * (3 - i)));
yuv-luma-channels @@ video/yuv_planar.cpp @@ test_yuv_planar @@ y[2 * x + 1] = Luma<Sample>(p[6], p[5], p[4], w); @@ y[2 * x + 1] = Luma<Sample>(p[4], p[5], p[6], w);
yuv-chroma-unclamped @@ video/yuv_planar.cpp @@ test_yuv_planar @@ return static_cast<Sample>(value < w.largest ? value : w.largest); @@ return static_cast<Sample>(value);
yuv-row-order @@ video/yuv_planar.cpp @@ test_yuv_planar @@ auto source = [&](int y) { return bottomUp + (height - 1 - y) * rowBytes; }; @@ auto source = [&](int y) { return bottomUp + y * rowBytes; };
rate-limit-off-by-one @@ video/frame_rate.cpp @@ test_recording_formats @@ if (rate->perSecond() > kFastestFrameRate) { @@ if (rate->perSecond() >= kFastestFrameRate) {
avi-size-unrounded @@ video/avi_writer.cpp @@ test_avi_writer test_recording @@ info.width = std::max(clientWidth, 0) / 4 * 4; @@ info.width = std::max(clientWidth, 0);
avi-extension-in-folder @@ video/avi_writer.cpp @@ test_avi_writer test_recording test_recording_formats @@ if (fileName.find(kExtensionMark, nameStart) == std::string::npos) fileName += ".avi"; @@ if (fileName.find(kExtensionMark) == std::string::npos) fileName += ".avi";
alpha-unrounded @@ video/alpha_frames.cpp @@ test_alpha_render test_recording_formats @@ return static_cast<std::uint8_t>((channel * 255 + alpha / 2) / alpha); @@ return static_cast<std::uint8_t>((channel * 255) / alpha);
alpha-marks-flipped @@ video/alpha_frames.cpp @@ test_alpha_render test_recording_formats @@ if (marks[i]) { @@ if (!marks[i]) {
custom-size-smallest @@ video/custom_recording.cpp @@ test_recording_formats test_generate_avi @@ if (width < kShortestRecordedSide || height < kShortestRecordedSide) @@ if (width <= kShortestRecordedSide || height < kShortestRecordedSide)
slider-nan-position @@ panels/slider_mapping.cpp @@ test_panel_sliders test_panel_framework @@ if (!(position >= kSliderMin)) return kSliderMin; @@ if (position < kSliderMin) return kSliderMin;
press-count-unclamped @@ panels/panel_model.cpp @@ test_panel_framework test_panels @@ counter = std::clamp(counter, 0, 1) + 1; @@ counter = counter + 1;
cycle-off-by-one @@ panels/panel_model.cpp @@ test_panel_framework test_panels @@ if (value >= 3) value = 1; @@ if (value > 3) value = 1;
tunnel-zoom-out-box @@ panels/tunnel_panel.cpp @@ test_panels test_panel_framework @@ SetCheck(kZoomOut, scene.tunnelZoomDirSaved >= 4); @@ SetCheck(kZoomOut, scene.tunnelZoomDirSaved > 4);
fire-up-down-offset @@ panels/fire_panel.cpp @@ test_panels test_panel_framework @@ Slider(kUpDown, &S::fireDirY, &S::fireDirYSaved, Plus(-45)), @@ Slider(kUpDown, &S::fireDirY, &S::fireDirYSaved, Plus(-50)),
drag-upside-down @@ commands/view_input.cpp @@ test_view_input @@ if (tilt > 90.0f && tilt < 270.0f) drag.lastDeltaX = -drag.lastDeltaX; @@ if (tilt > 900.0f && tilt < 270.0f) drag.lastDeltaX = -drag.lastDeltaX;
ctrl-drag-y-sign @@ commands/view_input.cpp @@ test_view_input @@ scene.textPosY -= drag.lastDeltaY * kCtrlDragScale; @@ scene.textPosY += drag.lastDeltaY * kCtrlDragScale;
arrow-up-sign @@ commands/view_input.cpp @@ test_view_input @@ case ArrowKey::Up: scene.*row.y += kArrowStep; break; @@ case ArrowKey::Up: scene.*row.y -= kArrowStep; break;
press-counter-overflow @@ commands/show_hide.cpp @@ test_commands test_hostile_settings @@ if (counter < std::numeric_limits<std::int32_t>::max()) counter += 1; @@ counter = static_cast<std::int32_t>(static_cast<std::uint32_t>(counter) + 1u);
second-press-off-by-one @@ commands/edit_commands.cpp @@ test_commands test_panel_framework @@ if (presses < 2) return; @@ if (presses <= 2) return;
save-extension-doubled @@ commands/documents.cpp @@ test_documents @@ if (std::filesystem::path(path).has_extension()) return path; @@ (void)0;
tip-stamp-flipped @@ commands/tip_of_the_day.cpp @@ test_tip_of_the_day @@ if (stamp != CurrentPlatform().ReadProfileString(kTipSection, "TimeStamp", "")) { @@ if (stamp == CurrentPlatform().ReadProfileString(kTipSection, "TimeStamp", "")) {
relative-xdg-accepted @@ commands/working_folder.cpp @@ test_startup_environment @@ if (xdgDataHome && xdgDataHome[0] == '/') return @@ if (xdgDataHome) return
EOF

field() { awk -F' @@ ' -v n="$1" '{ print $n }' <<<"$2"; }

# Applies one fault to `target`; fails unless the text is on exactly one line
# and the substitution changed the file.
plant() {
  local row=$1 target=$2 from to
  from=$(field 4 "$row"); to=$(field 5 "$row")
  [ "$(grep -cF -- "$from" "$target")" = 1 ] || return 1
  cp -p "$target" "$target.unplanted"
  FROM=$from TO=$to perl -pi -e 's/\Q$ENV{FROM}\E/$ENV{TO}/' "$target"
  if cmp -s "$target" "$target.unplanted"; then mv "$target.unplanted" "$target"; return 1; fi
}

unplant() { mv "$1.unplanted" "$1" && touch "$1"; }

if [ "${1:-}" = "--list" ] || [ "${1:-}" = "--check" ]; then
  status=0
  while IFS= read -r row; do
    name=$(field 1 "$row"); file=$(field 2 "$row")
    if [ "$1" = "--check" ]; then
      tmp=$(mktemp) && cp "$repo/$file" "$tmp"
      plant "$row" "$tmp" || { echo "stale: $name ($file)"; status=1; }
      rm -f "$tmp" "$tmp.unplanted"
    else
      printf '%-34s %s\n' "$name" "$file"
    fi
  done <<<"$FAULTS"
  exit $status
fi

commit=${1:-HEAD}
[ $# -gt 0 ] && shift
wanted=" $* "
work=${QUORBEL_FAULTS_DIR:-/tmp/quorbel-faults}
jobs=${QUORBEL_FAULTS_JOBS:-1}
limit=${QUORBEL_FAULTS_TIMEOUT:-180}
src=$work/src
build=$src/build
logs=$work/logs
# The build folder sits inside the copy as in a checkout, so ccache sees the
# same relative paths as in any checkout's build and shares their objects.
export CCACHE_BASEDIR=$src

git -C "$repo" rev-parse --verify -q "$commit^{commit}" >/dev/null || { echo "no such commit: $commit" >&2; exit 2; }
sha=$(git -C "$repo" rev-parse --short "$commit")

# Brings the scratch copy up to the commit, rewriting only the files that
# differ so that make rebuilds only what changed.
sync_tree() {
  local incoming=$work/incoming
  rm -rf "$incoming" && mkdir -p "$incoming" "$src"
  git -C "$repo" archive "$commit" | tar -x -C "$incoming"
  (cd "$incoming" && find . -type f) | while IFS= read -r f; do
    if ! cmp -s "$incoming/$f" "$src/$f"; then mkdir -p "$(dirname "$src/$f")"; cp -p "$incoming/$f" "$src/$f"; touch "$src/$f"; fi
  done
  (cd "$src" && find . -path ./build -prune -o -type f -print) | while IFS= read -r f; do
    [ -e "$incoming/$f" ] || rm -f "$src/$f"
  done
  rm -rf "$incoming"
}

echo "scratch copy of $(git -C "$repo" rev-parse --short "$commit") in $work"
sync_tree
# The test data the tests find beside a checkout (the BMP Suite).
[ -d "$repo/../shared" ] && [ ! -e "$work/shared" ] && ln -s "$(cd "$repo/../shared" && pwd)" "$work/shared"
mkdir -p "$logs"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >"$logs/configure.log" 2>&1 ||
    { echo "configure failed: $logs/configure.log" >&2; exit 2; }
fi
# A run cut short can go on without building everything first
# (QUORBEL_FAULTS_RESUME=1): each fault rebuilds what it needs.
if [ -z "${QUORBEL_FAULTS_RESUME:-}" ]; then
  echo "building the unchanged copy (once)"
  nice cmake --build "$build" -j"$jobs" >"$logs/build.log" 2>&1 || { echo "the unchanged copy does not build: $logs/build.log" >&2; exit 2; }
fi

program() { find "$build/tests" -type f -name "${1%%:*}" -perm -u+x | head -n 1; }
source_of() { ls "$src/tests/${1%%:*}.cpp" "$src/tests/gui/${1%%:*}.cpp" 2>/dev/null | head -n 1; }

# Rebuilds the core library, the program itself only for the tests that run
# it, and the named test programs without the rest of their dependencies:
# every fault lies in the core, so nothing else changes.
build_programs() {
  local t made binary=0
  nice cmake --build "$build" -j"$jobs" --target quorbel_core || return 1
  for t; do grep -qE 'RunQuorbel|QUORBEL_BINARY' "$(source_of "$t")" && binary=1; done
  if [ $binary = 1 ]; then nice cmake --build "$build" -j"$jobs" --target quorbel || return 1; fi
  for t; do
    t=${t%%:*}
    made=$(cd "$build" && ls -d tests/CMakeFiles/"$t".dir tests/gui/CMakeFiles/"$t".dir 2>/dev/null | head -n 1)
    if [ -n "$made" ] && [ -f "$build/$made/build.make" ]; then
      (cd "$build" && nice make -s -j"$jobs" -f "$made/build.make" "$made/build") || return 1
    else
      nice cmake --build "$build" -j"$jobs" --target "$t" || return 1
    fi
  done
}

# Runs test program $1 ("name" or "name:filter"), its output added to $2.
run_program() {
  local filter=()
  [[ $1 == *:* ]] && filter=(--gtest_filter="${1#*:}")
  (cd "$src" && QT_QPA_PLATFORM=offscreen timeout "$limit" nice "$(program "$1")" "${filter[@]}" >>"$2" 2>&1 </dev/null)
}

# A program that fails on the unchanged copy would "catch" every fault: it is
# left out, and said so.
declare -A usable=()
for t in $(while IFS= read -r row; do field 3 "$row"; done <<<"$FAULTS" | tr ' ' '\n' | sort -u); do
  if [ ! -f "$src/tests/${t%%:*}.cpp" ] && [ ! -f "$src/tests/gui/${t%%:*}.cpp" ]; then
    echo "no test program ${t%%:*} in this commit"
  elif [ "$wanted" = "  " ] && [ ! -e "$logs/unchanged.$sha.${t%%:*}.ok" ] &&
    ! run_program "$t" "$logs/unchanged.${t%%:*}.log"; then
    echo "left out: $t fails on the unchanged copy ($logs/unchanged.${t%%:*}.log)"
  else
    usable[$t]=1
    touch "$logs/unchanged.$sha.${t%%:*}.ok"
  fi
done

# Verdicts already reached on this commit (a run cut short) are taken over.
verdicts=$logs/verdicts.$sha
touch "$verdicts"
caught=0 missed=0 broken=0
missed_names=() broken_names=()
while IFS= read -r row <&3; do
  name=$(field 1 "$row"); file=$(field 2 "$row"); tests=$(field 3 "$row")
  [ "$wanted" != "  " ] && [[ "$wanted" != *" $name "* ]] && continue
  target=$src/$file
  verdict=$(awk -v n="$name" '$1 == n { v = $2 } END { print v }' "$verdicts")
  if [ -n "$verdict" ]; then
    programs=(earlier run)
  else
    if ! plant "$row" "$target"; then
      echo "[stale ] $name: the text is not on exactly one line of $file, or changed nothing"
      broken=$((broken + 1)); broken_names+=("$name"); continue
    fi
    programs=()
    for t in $tests; do
      [ -n "${usable[$t]:-}" ] && programs+=("$t")
    done
    rm -f "$logs/$name".*.log
    verdict=missed
    if [ ${#programs[@]} -eq 0 ]; then
      verdict=stale
    elif ! build_programs "${programs[@]}" >"$logs/$name.build.log" 2>&1 </dev/null; then
      verdict=unbuilt
    else
      for t in "${programs[@]}"; do
        run_program "$t" "$logs/$name.test.log" || { verdict=caught; break; }
      done
    fi
    unplant "$target"
    echo "$name $verdict" >>"$verdicts"
  fi
  case $verdict in
    caught) caught=$((caught + 1)) ;;
    missed) missed=$((missed + 1)); missed_names+=("$name") ;;
    *) broken=$((broken + 1)); broken_names+=("$name") ;;
  esac
  printf '[%-6s] %s (%s)\n' "$verdict" "$name" "${programs[*]}"
done 3<<<"$FAULTS"

total=$((caught + missed))
echo
echo "caught $caught of $total planted faults"
[ $missed -gt 0 ] && echo "no test caught: ${missed_names[*]}"
[ $broken -gt 0 ] && echo "not run (stale text, no test program or no build): ${broken_names[*]}"
[ $missed -eq 0 ] && [ $broken -eq 0 ]
exit
}
