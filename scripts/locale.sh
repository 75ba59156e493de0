#!/usr/bin/env bash
# Generates the German locale (a decimal comma) that the number tests run under,
# installing the locales package first when it is missing.
set -euo pipefail
locale -a 2>/dev/null | grep -qiE '^de_DE\.utf-?8$' && exit 0
"$(dirname "$0")/deps.sh" --only locales
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Generating de_DE.UTF-8"
if [ -f /etc/locale.gen ] && grep -qE '^# *de_DE\.UTF-8 UTF-8' /etc/locale.gen; then
  $sudo sed -i -E 's/^# *(de_DE\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  $sudo locale-gen
elif [ -f /etc/locale.gen ] && grep -qE '^de_DE\.UTF-8 UTF-8' /etc/locale.gen; then
  $sudo locale-gen
else
  # Ubuntu keeps no list to uncomment: name the locale.
  $sudo locale-gen de_DE.UTF-8
fi
