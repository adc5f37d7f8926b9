#!/usr/bin/env bash
# Fails when a file includes a header of a layer above its own.
# Order, lowest first: util, platform, model, extract, html, report, ui, tools.
set -u
root=${1:-.}
rank() {
  case "$1" in
    util) echo 0 ;; platform) echo 1 ;; model) echo 2 ;; extract) echo 3 ;;
    html) echo 4 ;; report) echo 5 ;; ui) echo 6 ;; *) echo 9 ;;
  esac
}
status=0
cd "$root" || exit 2
while IFS= read -r file; do
  own=$(echo "$file" | sed -E 's#^(src|include/folio)/([^/]+)/.*#\2#')
  own_rank=$(rank "$own")
  while IFS= read -r line; do
    inc=$(echo "$line" | sed -E 's/.*#include[[:space:]]*"([^"]+)".*/\1/')
    layer=$(echo "$inc" | sed -E 's#^(folio/)?([^/]+)/.*#\2#')
    [ "$layer" = "$inc" ] && continue
    inc_rank=$(rank "$layer")
    [ "$inc_rank" = 9 ] && continue
    if [ "$inc_rank" -gt "$own_rank" ]; then
      echo "$file includes $inc: $own may not depend on $layer"
      status=1
    fi
  done < <(grep -E '^[[:space:]]*#include[[:space:]]*"' "$file")
done < <(find src include/folio -name '*.h' -o -name '*.cpp' | sort)
[ $status -eq 0 ] && echo "layers: no upward includes"
exit $status
