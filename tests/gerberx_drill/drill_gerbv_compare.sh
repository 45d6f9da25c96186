#!/bin/sh
# One Excellon drill file through `zizozudu convert`, with gerbv as the judge:
#   drill_gerbv_compare.sh TOOL PICTURE_COMPARE FILE WORKDIR DPI MIN_IOU MAX_FAR
# The converted file must be recognised and imported whole with nothing ignored, and gerbv's
# pictures of the drill file and of the converted file, in one frame, must agree within the
# limits. DPI 0: no pictures, for a file gerbv does not draw.
# Exit 77 (skipped) when gerbv or the file is absent.
set -u
tool=$1 compare=$2 file=$3 work=$4 dpi=$5 iou=$6 far=$7
command -v gerbv >/dev/null 2>&1 || { echo "gerbv is not installed"; exit 77; }
[ -f "$file" ] || { echo "$file: not there"; exit 77; }
mkdir -p "$work"
name=$(basename "$file")
converted="$work/$name.gd1"

"$tool" convert "$file" -o "$converted" || { echo "convert failed"; exit 1; }
summary=$("$tool" import "$converted")
status=$?
echo "$summary"
[ "$status" -eq 0 ] || { echo "the import of the converted file did not read it whole (exit $status)"; exit 1; }
echo "$summary" | grep -q '^Ignored: *nothing' || { echo "the import ignored part of the converted file"; exit 1; }
[ "$dpi" -eq 0 ] && exit 0

# gerbv takes T0 for "unload" even where the header gives tool 0 a diameter, and drills tool 0's
# holes with the tool before: its picture comes from a copy with tool 0 renumbered.
reference=$file
if grep -Eq '^T0*0C' "$file"; then
  reference="$work/$name.renumbered"
  sed -E 's/^T0*0C/T99C/; s/^T0*0(\r?)$/T99\1/' "$file" >"$reference"
fi

margin=0.1
frame=$(echo "$summary" | awk -v m=$margin '/ in \(/ { gsub(",", "");
  printf "--origin=%.4fx%.4f --window_inch=%.4fx%.4f", $2 - m, $6 - m, $4 - $2 + 2 * m, $8 - $6 + 2 * m }')
[ -n "$frame" ] || { echo "no bounding box in the summary"; exit 1; }
for which in original converted; do
  source=$reference
  [ "$which" = converted ] && source=$converted
  # shellcheck disable=SC2086 # the frame is two options
  gerbv --export=png --dpi="$dpi" --border=0 $frame --background=#FFFFFF --foreground=#000000FF \
    -o "$work/$name.$which.png" "$source" >/dev/null 2>&1 || { echo "gerbv failed on $source"; exit 1; }
done
"$compare" "$work/$name.original.png" "$work/$name.converted.png" "$iou" "$far"
