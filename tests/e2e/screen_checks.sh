# Sourced by run_e2e.sh: what the screenshots show of the captions at the
# screen's DPI and with the face a Chinese system gives the dialog font.

# The width of the wizard on an English system at 96 DPI, in pixels.
ENGLISH_WIZARD_WIDTH=811

# Owner-drawn controls by how their caption stands in them.
CENTRED_LABELS=" 1009 1011 1012 1013 1017 1018 1030 "
LEFT_LABELS=" 1006 "
PUSH_BUTTONS=" 1 2 3 6 7 1001 1003 "
CHECK_BOXES=" 1004 1007 1008 "

# The screen's DPI as Wine gives it to every program started afterwards.
set_wine_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
}

# The dialog font drawn with a Chinese face whose Latin letters are half the
# width of its hanzi, as a Chinese Windows does.
map_dialog_font_to_narrow_face() {
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v 'MS Sans Serif' /d 'WenQuanYi Zen Hei Mono' /f >/dev/null 2>&1 </dev/null
}

# Dark pixels (grey below 50 %) of screenshot $1 in the rectangle $2 x $3, $4 wide, $5 high.
dark_pixels() {
  convert "$E2E_WORK/screenshots/$1.png" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray \
    -threshold 50% -negate -format '%[fx:round(mean*w*h)]' info:
}

# Every owner-drawn caption of window $2 in screenshot $1 is whole: no ink in
# the two outermost columns of a label or check box where its caption may end
# (both sides of a centred one), nor in the two columns inside a push button's
# bevel.
expect_captions_whole() {
  local shot=$1 caption=$2 id x y w h strips strip n
  while read -r id x y w h; do
    [ -n "$id" ] || continue
    strips=""
    case "$CENTRED_LABELS" in *" $id "*) strips="$x $((x + w - 2))" ;; esac
    case "$LEFT_LABELS $CHECK_BOXES" in *" $id "*) strips="$((x + w - 2))" ;; esac
    case "$PUSH_BUTTONS" in *" $id "*) strips="$((x + 3)) $((x + w - 5))"; y=$((y + 3)); h=$((h - 6)) ;; esac
    for strip in $strips; do
      n=$(dark_pixels "$shot" "$strip" "$y" 2 "$h")
      [ "$n" = 0 ] || fail "$shot: the caption of control $id of '$caption' reaches its edge at x=$strip ($n dark pixels)"
    done
  done <<<"$(inspect controls "$caption")"
}

expect_english_width() {
  local x y w h
  read -r x y w h <<<"$(inspect rect "$WIZARD_CAPTION" 0)"
  [ "$w" = "$ENGLISH_WIZARD_WIDTH" ] || fail "the wizard is $w pixels wide, on an English system $ENGLISH_WIZARD_WIDTH"
}

# The ink of control $3 of window $2 in screenshot $1 is as high as a glyph
# cell of $4 pixels (at most 4 rows less) and, when $5 glyphs are given, as
# wide as that many cells (at most 10 columns less): the glyphs are drawn at
# that size. Push buttons are looked at inside their bevel.
expect_glyph_cell() {
  local shot=$1 caption=$2 id=$3 cell=$4 count=${5:-} x y w h iw ih
  read -r x y w h <<<"$(inspect rect "$caption" "$id")"
  x=$((x + 4)) y=$((y + 4)) w=$((w - 8)) h=$((h - 8))
  read -r iw ih <<<"$(convert "$E2E_WORK/screenshots/$shot.png" -crop "${w}x${h}+${x}+${y}" +repage \
    -colorspace gray -threshold 50% -trim -format '%w %h' info:)"
  [ "$ih" -le "$cell" ] && [ "$ih" -ge $((cell - 4)) ] ||
    fail "$shot: the caption of control $id is $ih pixels high, not a $cell-pixel glyph"
  if [ -n "$count" ]; then
    [ "$iw" -le $((count * cell)) ] && [ "$iw" -ge $((count * cell - 10)) ] ||
      fail "$shot: the caption of control $id is $iw pixels wide, not $count cells of $cell pixels"
  fi
  e2e_log "$shot: control $id ink ${iw}x${ih}"
}
