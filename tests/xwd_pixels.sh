# Reads pixels of an xwd screenshot (32 bits a pixel, either byte order);
# sourced by the Xvfb scripts.

# Prints 32-bit big-endian header field INDEX of FILE.
xwd_field() {
  od -An -tu1 -j "$(($2 * 4))" -N 4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }'
}

# Prints where FILE's pixels start: after the header and the colour map.
xwd_pixels_offset() {
  echo "$(($(xwd_field "$1" 0) + $(xwd_field "$1" 19) * 12))"
}

# Prints pixel X,Y of FILE as RRGGBB.
xwd_pixel() {
  local file=$1 x=$2 y=$3 order bpl bytes
  order=$(xwd_field "$file" 7)
  bpl=$(xwd_field "$file" 12)
  bytes=$(od -An -tx1 -j "$(($(xwd_pixels_offset "$file") + y * bpl + x * 4))" -N 4 "$file" | tr -s ' ')
  # LSBFirst holds B G R x, MSBFirst x R G B.
  set -- $bytes
  if [ "$order" -eq 0 ]; then echo "$3$2$1"; else echo "$2$3$4"; fi
}

# Prints the width and height of FILE's picture.
xwd_size() {
  echo "$(xwd_field "$1" 4) $(xwd_field "$1" 5)"
}

# Prints the percentage of non-zero bytes among the first SAMPLE bytes
# (default all) of FILE's pixels; black pixels are all zero but for their
# padding byte.
xwd_lit_percent() {
  local file=$1 sample=${2:-0} total lit offset
  offset=$(xwd_pixels_offset "$file")
  total=$(($(stat -c %s "$file") - offset))
  [ "$sample" -gt 0 ] && [ "$sample" -lt "$total" ] && total=$sample
  [ "$total" -gt 0 ] || { echo 0; return; }
  lit=$(tail -c "+$((offset + 1))" "$file" | head -c "$total" | tr -d '\000' | wc -c)
  echo "$((lit * 100 / total))"
}
