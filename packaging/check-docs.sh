#!/usr/bin/env bash
# Checks the user documentation: every manual page must format without a
# single groff warning, and the HTML manual must parse cleanly, with every
# in-page link and every image it names present.
# Usage: check-docs.sh MANUAL.html [PAGE.1 | DIR]...   (a DIR means its *.1 and *.1.gz)
set -euo pipefail
manual="$1"
shift
status=0
fail() { echo "check-docs: $*" >&2; status=1; }

pages=()
for arg in "$@"; do
  if [ -d "$arg" ]; then
    for p in "$arg"/*.1 "$arg"/*.1.gz; do [ -e "$p" ] && pages+=("$p"); done
  else
    pages+=("$arg")
  fi
done
[ ${#pages[@]} -gt 0 ] || fail "no manual pages given"

# 77: skipped, not passed; scripts/package.sh installs groff-base, so CI checks.
command -v groff >/dev/null || { echo "check-docs: groff is missing (apt-get install groff-base)" >&2; exit 77; }
for page in "${pages[@]}"; do
  case "$page" in
    *.gz) text=$(gzip -dc "$page") ;;
    *) text=$(cat "$page") ;;
  esac
  # groff exits 0 on warnings, so any output at all is the failure.
  out=$(printf '%s\n' "$text" | LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 2>&1) || fail "$page: groff failed"
  [ -z "$out" ] || fail "$page: $out"
  if command -v man >/dev/null; then
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "$page: man failed"
    [ -z "$out" ] || fail "$page: $out"
  fi
  printf '%s\n' "$text" | grep -q '^\.TH ' || fail "$page: no .TH title line"
  printf '%s\n' "$text" | grep -q '^\.SH NAME' || fail "$page: no NAME section"
done

[ -f "$manual" ] || { fail "$manual is missing"; exit $status; }
if command -v xmllint >/dev/null; then
  out=$(xmllint --html --noout "$manual" 2>&1) || fail "$manual: xmllint failed"
  [ -z "$out" ] || fail "$manual: $out"
else
  echo "check-docs: xmllint not installed (libxml2-utils); checking links only" >&2
fi
html=$(tr '\n' ' ' <"$manual")
ids=$(grep -o -E '(id|name)="[^"]+"' <<<"$html" | sed -E 's/^[a-z]+="(.*)"$/\1/' || true)
for anchor in $(grep -o -E 'href="#[^"]+"' <<<"$html" | sed -E 's/^href="#(.*)"$/\1/' || true); do
  grep -qxF "$anchor" <<<"$ids" || fail "$manual: link to #$anchor, which is not in the page"
done
dir=$(dirname "$manual")
for src in $(grep -o -E '<img[^>]* src="[^"]+"' <<<"$html" | sed -E 's/.* src="([^"]+)"$/\1/' || true); do
  case "$src" in
    *://*) fail "$manual: image $src is not a local file" ;;
    *) [ -f "$dir/$src" ] || fail "$manual: image $src is missing" ;;
  esac
done
[ $status -eq 0 ] && echo "check-docs: ${#pages[@]} manual pages and $(basename "$manual") are clean"
exit $status
