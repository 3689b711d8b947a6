# Reads pixels of an xwd screenshot (32 bits a pixel, either byte order);
# sourced by the Xvfb scripts.

# Prints 32-bit big-endian header field INDEX of FILE.
xwd_field() {
  od -An -tu1 -j "$(($2 * 4))" -N 4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }'
}

# Prints pixel X,Y of FILE as RRGGBB.
xwd_pixel() {
  local file=$1 x=$2 y=$3 header order bpl colors bytes
  header=$(xwd_field "$file" 0)
  order=$(xwd_field "$file" 7)
  bpl=$(xwd_field "$file" 12)
  colors=$(xwd_field "$file" 19)
  bytes=$(od -An -tx1 -j "$((header + colors * 12 + y * bpl + x * 4))" -N 4 "$file" | tr -s ' ')
  # LSBFirst holds B G R x, MSBFirst x R G B.
  set -- $bytes
  if [ "$order" -eq 0 ]; then echo "$3$2$1"; else echo "$2$3$4"; fi
}

# Prints the width and height of FILE's picture.
xwd_size() {
  echo "$(xwd_field "$1" 4) $(xwd_field "$1" 5)"
}
