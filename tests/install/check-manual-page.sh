#!/usr/bin/env bash
# Holds a manual page to its program: the options it lists are exactly those that --help
# prints, and man reads it without a warning. check-manual-page.sh PROGRAM PAGE
set -euo pipefail
program=$1
page=$2

# The option names at the head of a line: "  -h, --help  text" gives -h and --help.
options_of() {
  grep -E '^ +-' | sed -E 's/^ +//; s/  .*//' | grep -oE -- '-{1,2}[[:alnum:]?][[:alnum:]-]*' | sort -u
}

# --help of a Qt program needs no display; the offscreen platform keeps it from looking.
help_options=$(QT_QPA_PLATFORM=offscreen "$program" --help | options_of)
# In the page, the options are the tags of the indented paragraphs (.TP) of OPTIONS.
page_options=$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$page" | grep -A1 '^\.TP' | grep -E '^\.B' \
  | sed -E 's/\\-/-/g; s/^\.B[IR]* //; s/"//g; s/ +/ /g; s/^/  /' | options_of)

status=0
if [ "$help_options" != "$page_options" ]; then
  echo "options of $program --help and of $page differ (< --help, > page):"
  diff <(echo "$help_options") <(echo "$page_options") || true
  status=1
fi
if command -v man >/dev/null; then
  warnings=$(LC_ALL=C.UTF-8 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "man --warnings on $page:"; echo "$warnings"; status=1; }
else
  echo "man is not installed (package man-db): the page's warnings are not checked"
fi
exit "$status"
