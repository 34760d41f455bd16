#!/usr/bin/env bash
# Extracts the marked texts of each translation domain from the sources into
# po/<domain>/<domain>.pot and merges them into that domain's <lang>.po files.
#   po/extract.sh          rewrites the templates (only where a text changed) and the catalogues
#   po/extract.sh --check  changes nothing; fails when a template is out of date with the
#                          sources or a catalogue lacks one of its template's texts
# The marks are Translation::appText/markApp, serialText/markSerial and frameworkText
# (runtime/Translation.h).
set -euo pipefail
cd "$(dirname "$0")/.."

check=false
case "${1:-}" in
  --check) check=true ;;
  "") ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac

declare -A keywords=(
  [ondrix]="--keyword=appText --keyword=markApp"
  [ondrix-serial]="--keyword=serialText --keyword=markSerial"
  [ondrix-framework]="--keyword=frameworkText"
)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The program's folders (not the tests'), sorted so that the template's order does not
# depend on the file system.
find app chart runtime serial widgets tools -name '*.cpp' -o -name '*.h' | LC_ALL=C sort >"$scratch/sources"

# The creation date changes on every run; it is no change of the texts.
without_date() { grep -v '^"POT-Creation-Date:' "$1"; }

status=0
for domain in "${!keywords[@]}"; do
  template=po/$domain/$domain.pot
  # shellcheck disable=SC2086 # the keyword options are meant to split
  xgettext --language=C++ --from-code=UTF-8 --keyword= ${keywords[$domain]} \
    --add-location=file --package-name=Ondrix --package-version=1.0 \
    --msgid-bugs-address=ondrix@example.org --files-from="$scratch/sources" -o "$scratch/$domain.pot"
  if [ -f "$template" ] && diff -q <(without_date "$template") <(without_date "$scratch/$domain.pot") >/dev/null; then
    :
  elif $check; then
    echo "$template is out of date with the sources: run po/extract.sh" >&2
    diff -u <(without_date "$template" 2>/dev/null) <(without_date "$scratch/$domain.pot") >&2 || true
    status=1
  else
    mkdir -p "po/$domain"
    cp "$scratch/$domain.pot" "$template"
  fi
  for catalogue in po/"$domain"/*.po; do
    [ -e "$catalogue" ] || continue
    if $check; then
      msgcmp --use-untranslated "$catalogue" "$template" || { echo "$catalogue: run po/extract.sh" >&2; status=1; }
      msgfmt --check -o /dev/null "$catalogue" || status=1
    else
      msgmerge --quiet --update --backup=none --add-location=file "$catalogue" "$template"
    fi
  done
done
exit $status
