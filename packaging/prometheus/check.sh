#!/usr/bin/env bash
# Checks the example scrape configuration and the alerting rules with promtool,
# and runs the rules' unit tests. Exit 77 (skipped) without promtool.
set -euo pipefail
cd "$(dirname "$0")"
command -v promtool >/dev/null || { echo "check: promtool is missing (apt-get install prometheus)" >&2; exit 77; }
promtool check rules halvix-alerts.yml
promtool test rules halvix-alerts.test.yml
promtool check config scrape.yml
