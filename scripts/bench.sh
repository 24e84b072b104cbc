#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine on a virtual display, in a
# fresh copy of the build tree's prefix, then prints tables of figures and
# ratios. Figures only: nothing here fails on a time. Compare the ratios,
# measured side by side in one run; absolute times depend on the machine and
# its load.
#   scripts/bench.sh [runs] [word-base runs]
# With SCRIVORA_EMULATE_I386=1 the 32-bit programs run under user-mode
# emulation even where the kernel runs them itself (scripts/native-i386.sh),
# as on the machines that need it, and the native 64-bit table follows.
#
# The shipped 32-bit program is measured against installers of the same files
# made with NSIS (32-bit programs too), both the same way. Where the kernel
# runs no 32-bit code, both run under user-mode emulation (scripts/with-win32.sh)
# and the same sources are also built for 64-bit Windows and measured natively,
# in a second table: there is no 64-bit NSIS installer to set beside them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
runs=${1:-5}
wordbase_runs=${2:-9}
targets="bench_install bench_inflate bench_minimal_dialog ScrivoraSetup inspect"

if [ "${SCRIVORA_BENCH_INSIDE:-}" != 1 ]; then
  scripts/bootstrap.sh >/dev/null
  cmake --preset mingw -B build-bench >/dev/null
  cmake --build build-bench --target $targets >/dev/null
  if ! scripts/native-i386.sh; then
    cmake --preset mingw64 -B build-bench-win64 >/dev/null
    cmake --build build-bench-win64 --target $targets >/dev/null
  fi
  SCRIVORA_BENCH_INSIDE=1 exec scripts/with-win32.sh "$0" "$@"
fi

source scripts/display.sh
start_virtual_display
trap 'e2e_stop_prefix 2>/dev/null; stop_virtual_display' EXIT
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# measure <build> [peers]: every figure of one build tree into
# <build>/bench-run/figures.txt; with "peers", the NSIS installers too.
measure() {
  local build=$1 peers=${2:-}
  export E2E_SOURCE="$top" E2E_BUILD="$top/$build" E2E_WORK="$top/$build/bench-run"
  source tests/e2e/wizard_driver.sh
  e2e_prepare_prefix >/dev/null
  drive_c="$WINEPREFIX/drive_c"
  raw="$E2E_WORK/figures.txt"
  : >"$raw"

  # Inside: install run against the floor and what each of its steps adds,
  # word base, working set.
  wine "$build/bench/bench_install.exe" 'C:\scrivora-bench' "$runs" "$wordbase_runs" \
    </dev/null 2>/dev/null | tr -d '\r' >>"$raw"
  # 3: the program's inflate (zlib built for size) against Debian's archive.
  wine "$build/bench/bench_inflate.exe" "$runs" </dev/null 2>/dev/null | tr -d '\r' >>"$raw"
  if grep -q '^error' "$raw"; then cat "$raw" >&2; exit 1; fi

  # Start-up from outside: process start until the dialog's window is on
  # screen, the wizard and the smallest dialog program alternately.
  time_to_window() {
    local exe=$1 caption=$2 start end pid i
    start=$(now_ms)
    # The loader itself, not the wine() function of the 64-bit half: a
    # function runs in a subshell of its own, and the kill would end only that.
    $wine_loader "$exe" </dev/null >/dev/null 2>&1 &
    pid=$!
    for ((i = 0; i < 3000; i++)); do
      xdotool search --onlyvisible --name "^$caption\$" >/dev/null 2>&1 && break
      sleep 0.01
    done
    end=$(now_ms)
    # Ended outright: a window left on screen would be found at once by the
    # next start, and a wizard left running holds the one-at-a-time mutex.
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo $((end - start))
  }
  for ((r = 0; r <= runs; r++)); do
    a=$(time_to_window "$build/ScrivoraSetup.exe" "$WIZARD_CAPTION")
    b=$(time_to_window "$build/bench/bench_minimal_dialog.exe" "Bench Minimal Dialog")
    [ $r = 0 ] && continue   # warm-up
    echo "startup_setup $a" >>"$raw"
    echo "startup_minimal $b" >>"$raw"
  done

  # The real setup program, walked through its default choices three times:
  # time from the Install click to its last file and to its success message,
  # and in the first walk the process's peak resident set (bench/peak_memory.py,
  # as for the NSIS installers below). Before each walk the product's folder
  # and uninstall entry go (the install runs above wrote one, which would make
  # the wizard propose their folder instead of the default one).
  peak="$E2E_WORK/peak_kib.txt"
  for walk in 1 2 3; do
    for hive in HKCU HKLM; do
      wine reg delete "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZelkoScrivora" /f \
        >/dev/null 2>&1 </dev/null || true
    done
    rm -rf "$drive_c/Zelko"
    rm -f "$peak"
    if [ $walk = 1 ]; then
      python3 bench/peak_memory.py "$peak" $wine_loader "$build/ScrivoraSetup.exe" </dev/null >/dev/null 2>&1 &
    else
      $wine_loader "$build/ScrivoraSetup.exe" </dev/null >/dev/null 2>&1 &
    fi
    E2E_PID=$!
    wait_window "$WIZARD_CAPTION" 60
    walk_to_last_page
    # The last file of the run, ZiDef.dic, appearing in the default folder
    # marks the end of the files; the message comes only after the wizard's
    # deliberate minimum of five seconds on its installing page. The clock
    # starts at the button press itself: the pointer is placed first, as the
    # driver's click does, so the look-up of the button is not counted.
    read -r x y w h <<<"$(inspect rect "$WIZARD_CAPTION" $ID_NEXT)"
    move_pointer $((x + w / 2)) $((y + h / 2))
    sleep 0.2
    start=$(now_ms)
    xdotool click 1
    for ((i = 0; i < 6000; i++)); do
      [ -e "$drive_c/Zelko/ZiDef.dic" ] && break
      sleep 0.01
    done
    files_done=$(now_ms)
    for ((i = 0; i < 6000; i++)); do
      xdotool search --onlyvisible --name "^$MESSAGE_CAPTION\$" >/dev/null 2>&1 && break
      sleep 0.01
    done
    end=$(now_ms)
    echo "setup_install_click_to_last_file $((files_done - start))" >>"$raw"
    echo "setup_install_click_to_message $((end - start))" >>"$raw"
    kill "$E2E_PID" 2>/dev/null || true
    wait "$E2E_PID" 2>/dev/null || true
    [ $walk = 1 ] && echo "setup_peak_rss_kib $(cat "$peak" 2>/dev/null || echo 0)" >>"$raw"
    # A wizard left running would hold the one-at-a-time mutex, and every
    # silent run below would be refused with 1618: the prefix's processes end
    # here, whatever the signal did; the next start brings its server again.
    e2e_stop_prefix
  done

  # The same program silent (/S), as a deployment tool starts it: the whole
  # process from start to exit, into a fresh folder each time.
  for ((r = 0; r <= runs; r++)); do
    start=$(now_ms)
    wine "$build/ScrivoraSetup.exe" /S "/D=C:\\scrivora-silent-$r" </dev/null >/dev/null 2>&1 ||
      echo "error silent install $r" >>"$raw"
    end=$(now_ms)
    [ $r = 0 ] && continue
    echo "setup_silent $((end - start))" >>"$raw"
  done
  # Its peak resident set silent, measured exactly as the peers' below; and
  # that of the smallest dialog program on screen, which is Wine's own share.
  rm -f "$peak"
  python3 bench/peak_memory.py "$peak" $wine_loader "$build/ScrivoraSetup.exe" /S "/D=C:\\scrivora-silent-peak" \
    </dev/null >/dev/null 2>&1 || echo "error silent install for its peak" >>"$raw"
  echo "setup_silent_peak_rss_kib $(cat "$peak" 2>/dev/null || echo 0)" >>"$raw"
  rm -f "$peak"
  python3 bench/peak_memory.py "$peak" $wine_loader "$build/bench/bench_minimal_dialog.exe" </dev/null >/dev/null 2>&1 &
  E2E_PID=$!
  wait_window "Bench Minimal Dialog" 60
  kill "$E2E_PID" 2>/dev/null || true
  wait "$E2E_PID" 2>/dev/null || true
  echo "minimal_peak_rss_kib $(cat "$peak" 2>/dev/null || echo 0)" >>"$raw"

  if [ "$peers" = peers ]; then
    # The peer: installers of the same 95 inflated files (the floor's output),
    # zlib and LZMA, installed silently into fresh folders, whole process timed.
    peer="$E2E_WORK/peer"
    rm -rf "$peer"; mkdir -p "$peer"
    for compressor in zlib lzma; do
      cat >"$peer/$compressor.nsi" <<NSI
Name "Bench Peer"
OutFile "$peer/peer-$compressor.exe"
SetCompressor /SOLID $compressor
InstallDir "C:\\peer"
RequestExecutionLevel user
Section
  SetOutPath "\$INSTDIR"
  File "$drive_c/scrivora-bench/floor-1/*.*"
SectionEnd
NSI
      makensis -V1 "$peer/$compressor.nsi" >/dev/null
      echo "peer_${compressor}_bytes $(stat -c %s "$peer/peer-$compressor.exe")" >>"$raw"
    done
    for ((r = 0; r <= runs; r++)); do
      for compressor in zlib lzma; do
        start=$(now_ms)
        wine "$peer/peer-$compressor.exe" /S "/D=C:\\peer-$compressor-$r" </dev/null >/dev/null 2>&1
        end=$(now_ms)
        [ $r = 0 ] && continue
        [ "$(ls "$drive_c/peer-$compressor-$r" | wc -l)" = 95 ] || echo "error peer $compressor did not install 95 files" >>"$raw"
        echo "peer_$compressor $((end - start))" >>"$raw"
      done
    done
    # Their peak resident set, measured as ours is, in runs of their own so
    # that the measuring does not count in their times.
    for compressor in zlib lzma; do
      rm -f "$peak"
      python3 bench/peak_memory.py "$peak" $wine_loader "$peer/peer-$compressor.exe" /S "/D=C:\\peer-$compressor-peak" \
        </dev/null >/dev/null 2>&1
      echo "peer_${compressor}_peak_rss_kib $(cat "$peak" 2>/dev/null || echo 0)" >>"$raw"
    done
  fi
  if grep -q '^error' "$raw"; then cat "$raw" >&2; exit 1; fi
  e2e_stop_prefix
}

print_table() {
  local build=$1 raw=$2
  setup_bytes=$(stat -c %s "$build/ScrivoraSetup.exe")
  # The bytes beside the payload streams: the file size less its payload store.
  beside_bytes=$(python3 tools/pe_figures.py "$build/ScrivoraSetup.exe" | sed -n 's/.*, \([0-9]*\) beside them$/\1/p')
  awk -v setup_bytes="$setup_bytes" -v beside_bytes="$beside_bytes" '
    function median(key,   n, i, j, t, a) {
      n = count[key]
      for (i = 1; i <= n; i++) a[i] = list[key, i]
      for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
      lo[key] = a[1]; hi[key] = a[n]
      return a[int(n / 2) + 1]
    }
    function row(label, med, mn, mx, ratio) {
      printf "%-46s %9.1f ms %9.1f ms %9.1f ms %8s\n", label, med, mn, mx, ratio
    }
    function step(label, key) {
      row("    " label, v[key ".median_ms"], v[key ".min_ms"], v[key ".max_ms"],
          sprintf("%.3f", v[key ".median_ms"] / v["floor.median_ms"]))
    }
    NF == 2 && $1 !~ /_bytes$|_kib$|same_bytes/ { count[$1]++; list[$1, count[$1]] = $2; next }
    { for (i = 2; i < NF; i += 2) v[$1 "." $i] = $(i + 1); if (NF == 2) v[$1] = $2 }
    END {
      printf "%-46s %12s %12s %12s %8s\n", "measure", "median", "min", "max", "ratio"
      row("install run, RunInstall of 95 files", v["install.median_ms"], v["install.min_ms"], v["install.max_ms"],
          sprintf("%.2f", v["install.median_ms"] / v["floor.median_ms"]))
      row("  floor: inflate + one fwrite per file", v["floor.median_ms"], v["floor.min_ms"], v["floor.max_ms"], "")
      f = v["floor.median_ms"]
      print "  what each step adds over the floor (ratio: to the floor)"
      step("check before changing anything, fresh", "check_fresh")
      step("  the same over the installed product", "check_installed")
      step("learned dictionaries deleted", "step_dictionaries")
      step("attributes (read-only, hidden)", "step_attributes")
      w = v["wordbase_weighted.median_ms"] - v["wordbase_plain.median_ms"]
      row("    word base in weighted form", w, w, w, sprintf("%.3f", w / f))
      step("progress bar and queue", "step_progress")
      step("configuration file", "step_configuration")
      step("shortcuts (through the shell)", "step_shortcuts")
      step("uninstall entry (registry)", "step_entry")
      # The plain writes hold the word base transcoding, counted above. Below
      # zero: inflating on the second thread overlaps the writing.
      x = v["step_writer.median_ms"] - w
      row("    writer, files inflated ahead as written", x, x, x, sprintf("%.3f", x / f))
      rest = v["install.median_ms"] - f - v["check_fresh.median_ms"] - v["step_dictionaries.median_ms"]
      rest -= v["step_attributes.median_ms"] + w + v["step_progress.median_ms"]
      rest -= v["step_configuration.median_ms"] + v["step_shortcuts.median_ms"]
      rest -= v["step_entry.median_ms"] + x
      row("    the rest (difference of the medians)", rest, rest, rest, sprintf("%.3f", rest / f))
      r = v["install.median_ms"] - v["step_shortcuts.median_ms"]
      row("  RunInstall less its shortcuts", r, r, r, sprintf("%.2f", r / f))
      row("inflate all payloads (" v["inflate_bytes"] " B), ours", v["inflate_for_size.median_ms"],
          v["inflate_for_size.min_ms"], v["inflate_for_size.max_ms"],
          sprintf("%.2f", v["inflate_for_size.median_ms"] / v["inflate_debian.median_ms"]))
      row("  same zlib from the Debian archive (for speed)", v["inflate_debian.median_ms"], v["inflate_debian.min_ms"],
          v["inflate_debian.max_ms"], "")
      row("word base weighted write (" v["wordbase_bytes"] " B)", v["wordbase_weighted.median_ms"],
          v["wordbase_weighted.min_ms"], v["wordbase_weighted.max_ms"],
          sprintf("%.2f", v["wordbase_weighted.median_ms"] / v["wordbase_plain.median_ms"]))
      x = median("wordbase_ratio")
      printf "%-46s %12.2f %12.2f %12.2f %8.2f\n", "  ratio within each run (weighted / plain)", x, lo["wordbase_ratio"],
             hi["wordbase_ratio"], x
      row("  former per-piece weighted write", v["wordbase_per_piece.median_ms"], v["wordbase_per_piece.min_ms"],
          v["wordbase_per_piece.max_ms"], sprintf("%.2f", v["wordbase_per_piece.median_ms"] / v["wordbase_plain.median_ms"]))
      row("  plain write of the same bytes", v["wordbase_plain.median_ms"], v["wordbase_plain.min_ms"],
          v["wordbase_plain.max_ms"], "")
      row("  the transcoding alone, into no file", v["wordbase_transcoding_alone.median_ms"],
          v["wordbase_transcoding_alone.min_ms"], v["wordbase_transcoding_alone.max_ms"],
          sprintf("%.2f", v["wordbase_transcoding_alone.median_ms"] / v["wordbase_plain.median_ms"]))
      printf "%-46s %12s\n", "  both weighted writes give the same bytes", (v["wordbase_same_bytes"] == 1 ? "yes" : "NO")
      m = median("startup_setup"); n = median("startup_minimal")
      row("start-up to wizard on screen (outside)", m, lo["startup_setup"], hi["startup_setup"], sprintf("%.2f", m / n))
      row("  smallest dialog program, same way", n, lo["startup_minimal"], hi["startup_minimal"], "")
      if (count["peer_zlib"] == 0) {
        o = median("setup_install_click_to_last_file")
        row("ours: Install click to last file on disk", o, lo["setup_install_click_to_last_file"],
            hi["setup_install_click_to_last_file"], "")
        h = median("setup_install_click_to_message")
        row("  Install click to success message (5 s hold)", h, lo["setup_install_click_to_message"],
            hi["setup_install_click_to_message"], "")
        q = median("setup_silent")
        row("ours silent (/S): whole process", q, lo["setup_silent"], hi["setup_silent"], "")
        printf "%-46s %9d B\n", "size: our setup executable", setup_bytes
        printf "%-46s %9d B\n", "  bytes beside the payload streams", beside_bytes
        print "(ratios: install / floor, step / floor, inflate ours / Debian, weighted or transcoding alone / plain write, setup / smallest dialog)"
        exit
      }
      z = median("peer_zlib"); l = median("peer_lzma")
      row("peer installer, zlib, /S whole process", z, lo["peer_zlib"], hi["peer_zlib"], "")
      row("peer installer, LZMA, /S whole process", l, lo["peer_lzma"], hi["peer_lzma"], "")
      o = median("setup_install_click_to_last_file")
      row("ours: Install click to last file on disk", o, lo["setup_install_click_to_last_file"],
          hi["setup_install_click_to_last_file"], sprintf("%.2f", o / median("peer_zlib")))
      h = median("setup_install_click_to_message")
      row("  Install click to success message (5 s hold)", h, lo["setup_install_click_to_message"],
          hi["setup_install_click_to_message"], "")
      q = median("setup_silent")
      row("ours silent (/S): whole process", q, lo["setup_silent"], hi["setup_silent"], sprintf("%.2f", q / z))
      printf "%-46s %12s %12s\n", "  ratios ours(click..last file) / peer", sprintf("zlib %.2f", o / z),
             sprintf("LZMA %.2f", o / l)
      printf "%-46s %12s %12s\n", "  ratios ours(RunInstall) / peer", sprintf("zlib %.2f", v["install.median_ms"] / z),
             sprintf("LZMA %.2f", v["install.median_ms"] / l)
      printf "%-46s %9d B %8.2f\n", "size: our setup executable (ratio to peer zlib)", setup_bytes,
             setup_bytes / v["peer_zlib_bytes"]
      printf "%-46s %9d B\n", "  bytes beside the payload streams", beside_bytes
      printf "%-46s %9d B\n", "size: peer installer, zlib", v["peer_zlib_bytes"]
      printf "%-46s %9d B\n", "size: peer installer, LZMA", v["peer_lzma_bytes"]
      printf "%-46s %9.1f MiB %25s %8.2f\n", "memory: bench process peak working set", v["memory.peak_working_set"] / 1048576, "",
             v["memory.peak_working_set"] / v["memory.work_buffer"]
      printf "%-46s %9.1f MiB\n", "  growth during its first install run",
             (v["memory.peak_working_set"] - v["memory.working_set_before"]) / 1048576
      printf "%-46s %9.1f MiB %25s %8.2f\n", "memory: setup program /S, peak RSS (wait4 maxrss)", v["setup_silent_peak_rss_kib"] / 1024, "",
             v["setup_silent_peak_rss_kib"] * 1024 / v["memory.work_buffer"]
      printf "%-46s %9.1f MiB\n", "  work memory (the blocks inflated into)", v["memory.work_buffer"] / 1048576
      printf "%-46s %9.1f MiB %25s %8.2f\n", "  peer installer, zlib, /S, the same measure", v["peer_zlib_peak_rss_kib"] / 1024, "",
             v["setup_silent_peak_rss_kib"] / v["peer_zlib_peak_rss_kib"]
      printf "%-46s %9.1f MiB %25s %8.2f\n", "  peer installer, LZMA, /S, the same measure", v["peer_lzma_peak_rss_kib"] / 1024, "",
             v["setup_silent_peak_rss_kib"] / v["peer_lzma_peak_rss_kib"]
      printf "%-46s %9.1f MiB\n", "  smallest dialog program on screen (Wine alone)", v["minimal_peak_rss_kib"] / 1024
      printf "%-46s %9.1f MiB\n", "  ours, the wizard walked to its success message", v["setup_peak_rss_kib"] / 1024
      print "(ratios: install / floor, step / floor, inflate ours / Debian, weighted or transcoding alone / plain write, setup / smallest dialog,"
      print " peak / work memory, our /S peak / the peer /S peak)"
      print "(" count["startup_setup"] " start-up runs and " count["peer_zlib"] " peer runs per side after one warm-up; " \
            count["setup_install_click_to_last_file"] " wizard walks)"
    }' "$raw"
}

wine_loader=wine
measure build-bench peers
if [ -d build-bench-win64 ] && ! scripts/native-i386.sh; then
  echo "== shipped 32-bit program and NSIS installers, both under user-mode emulation (qemu-user) =="
  print_table build-bench build-bench/bench-run/figures.txt
  # The 64-bit programs run with Wine's 64-bit loader, natively.
  wine() { /usr/lib/wine/wine64 "$@"; }
  wine_loader=/usr/lib/wine/wine64
  measure build-bench-win64
  echo
  echo "== the same sources built for 64-bit Windows, native (no NSIS peer exists for 64 bits) =="
  print_table build-bench-win64 build-bench-win64/bench-run/figures.txt
else
  echo "== shipped 32-bit program and NSIS installers, both native =="
  print_table build-bench build-bench/bench-run/figures.txt
fi
