#!/bin/sh
# The manual page of mireforge-cli must describe what --help describes: every
# command and every option that some command's --help lists appears in the
# page, and the page renders without roff warnings.
#   check_man_page.sh MIREFORGE-MAN MIREFORGE-CLI
set -eu
man_tool=$1
cli=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/mireforge-man.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$man_tool" "$work/page.1"
# What a reader sees: the rendered page, with roff's hyphen escapes gone.
if command -v groff >/dev/null; then
  groff -man -Tutf8 -ww -P-cbou "$work/page.1" 2>"$work/warnings" >"$work/page.txt"
  [ -s "$work/warnings" ] && fail "roff warnings: $(cat "$work/warnings")"
  # groff prints U+2010/U+2212 for some hyphens; compare plain ASCII.
  sed 's/\xe2\x80\x90/-/g; s/\xe2\x88\x92/-/g' "$work/page.txt" >"$work/seen"
else
  sed 's/\\-/-/g; s/\\f[BIR]//g' "$work/page.1" >"$work/seen"
fi

"$cli" --help >"$work/help"
# The command lines of the overall help: "  generate plasma [options] ..."
sed -n 's/^  \([a-z][a-z]*\( [a-z][a-z]*\)\{0,1\}\) .*/\1/p' "$work/help" | sort -u >"$work/commands"
[ -s "$work/commands" ] || fail "no commands found in mireforge-cli --help"
while read -r command; do
  grep -qF "$command" "$work/seen" || fail "command '$command' is not in the manual page"
  # shellcheck disable=SC2086 # the words of the command are separate arguments
  "$cli" $command --help >"$work/command-help"
  grep -o -- '--[a-z][a-z-]*' "$work/command-help" | sort -u | while read -r option; do
    grep -qF -- "$option" "$work/seen" || echo "$command $option"
  done >>"$work/missing"
done <"$work/commands"
[ -s "$work/missing" ] && fail "options missing from the manual page: $(tr '\n' ';' <"$work/missing")"

[ "$failures" -eq 0 ] || exit 1
echo "manual page covers $(wc -l <"$work/commands") commands"
