#!/usr/bin/env bash
# Fails when a file includes a header of a layer above its own.
# Order, lowest first: util, platform, model, extract, html, report, ui, tools.
# Inside the Word engine: zip, package, document, om.
set -u
root=${1:-.}
rank() {
  case "$1" in
    util) echo 0 ;; platform) echo 1 ;; model) echo 2 ;; extract) echo 3 ;;
    html) echo 4 ;; report) echo 5 ;; ui) echo 6 ;; *) echo 9 ;;
  esac
}
word_rank() {
  case "$1" in
    zip) echo 0 ;; package) echo 1 ;; document) echo 2 ;; om) echo 3 ;; *) echo "" ;;
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
    own_word=$(word_rank "$(echo "$file" | sed -nE 's#^src/platform/word/([^/]+)/.*#\1#p')")
    inc_word=$(word_rank "$(echo "$inc" | sed -nE 's#^platform/word/([^/]+)/.*#\1#p')")
    if [ -n "$own_word" ] && [ -n "$inc_word" ] && [ "$inc_word" -gt "$own_word" ]; then
      echo "$file includes $inc: a lower layer of the Word engine may not depend on a higher one"
      status=1
    fi
  done < <(grep -E '^[[:space:]]*#include[[:space:]]*"' "$file")
done < <(find src include/folio -name '*.h' -o -name '*.cpp' | sort)
[ $status -eq 0 ] && echo "layers: no upward includes"
exit $status
