#!/bin/sh
# One Gerber file through `zizozudu convert`, with gerbv as the judge:
#   gerbv_compare.sh TOOL PICTURE_COMPARE FILE WORKDIR
# The converted file must be recognised and imported whole with nothing ignored, and gerbv's
# pictures of the original and of the converted file, in one frame at 1000 dpi, must agree.
# Exit 77 (skipped) when gerbv or the file is absent.
set -u
tool=$1 compare=$2 file=$3 work=$4
command -v gerbv >/dev/null 2>&1 || { echo "gerbv is not installed"; exit 77; }
[ -f "$file" ] || { echo "$file: not there"; exit 77; }
mkdir -p "$work"
name=$(basename "$file")
converted="$work/$name.converted.gbr"

# Exit 4: converted, but the proof of the written file against the original shows a difference
# past the tolerance band.
"$tool" convert "$file" -o "$converted"
status=$?
[ "$status" -eq 4 ] && { echo "the proof of the converted file shows a difference past the tolerance"; exit 1; }
[ "$status" -eq 0 ] || { echo "convert failed"; exit 1; }
summary=$("$tool" import "$converted")
status=$?
echo "$summary"
[ "$status" -eq 0 ] || { echo "the import of the converted file did not read it whole (exit $status)"; exit 1; }
echo "$summary" | grep -q '^Ignored: *nothing' || { echo "the import ignored part of the converted file"; exit 1; }

# One frame for both pictures: the converted board's box in inches, with a margin. A negative
# image is dark without end, so it is compared only inside the box its conversion darkens.
margin=0.1
grep -q '%IPNEG' "$file" && margin=0
frame=$(echo "$summary" | awk -v m=$margin '/ in \(/ { gsub(",", "");
  printf "--origin=%.4fx%.4f --window_inch=%.4fx%.4f", $2 - m, $6 - m, $4 - $2 + 2 * m, $8 - $6 + 2 * m }')
[ -n "$frame" ] || { echo "no bounding box in the summary"; exit 1; }
for which in original converted; do
  source=$file
  [ "$which" = converted ] && source=$converted
  # shellcheck disable=SC2086 # the frame is two options
  gerbv --export=png --dpi=1000 --border=0 $frame --background=#FFFFFF --foreground=#000000FF \
    -o "$work/$name.$which.png" "$source" >/dev/null 2>&1 || { echo "gerbv failed on $source"; exit 1; }
done
"$compare" "$work/$name.original.png" "$work/$name.converted.png" 0.995 0.001
