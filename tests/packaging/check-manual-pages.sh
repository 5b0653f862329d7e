#!/usr/bin/env bash
# Fails when a program's --help names an option (or, for qvctl, a command) that its manual page
# does not: the manual page is written by hand and must keep in step with the program.
# Usage: check-manual-pages.sh PROGRAM MANUAL-PAGE [PROGRAM MANUAL-PAGE ...]
set -euo pipefail
status=0
while (($# >= 2)); do
    program=$1 page=$2
    shift 2
    # QV_RUN: what runs a cross build's program (wine64); Windows line ends are dropped.
    help=$(LANG=C.UTF-8 LC_ALL= ${QV_RUN:-} "$program" --help | tr -d '\r')
    # roff writes a hyphen as \- ; compare plain text.
    manual=$(sed 's/\\-/-/g' "$page")
    names=$(grep -oE -- '--[a-z][a-z-]*[a-z]' <<<"$help" | sort -u)
    # qvctl's commands: the first word of each line indented by two under "Commands:".
    commands=$(sed -n '/^Commands:/,/^$/p' <<<"$help" | grep -oE '^  [a-z]+' | sort -u || true)
    for name in $names $commands; do
        if ! grep -qE -- "(^|[^a-z-])${name}([^a-z-]|$)" <<<"$manual"; then
            echo "$(basename "$page"): '$name' from '$(basename "$program") --help' is missing" >&2
            status=1
        fi
    done
done
exit $status
