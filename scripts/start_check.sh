#!/usr/bin/env bash
# Starts one built program offscreen as a new user past the first start: it must
# show its list and end by itself.
# Usage: scripts/start_check.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/start_support.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
new_user "$work" "$1"
shows_list "$1"
