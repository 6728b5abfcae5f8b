#!/usr/bin/env bash
# The real program in a window: it connects, shows "Buscando dados do Produto",
# its lookup fails (the configured database has no store tables) and the
# "Atenção" box comes up over the window; Return dismisses it, exit code 0.
#   program_window_smoke.sh PROGRAM WINDOW_SMOKE_SCRIPT SHOT.png
set -euo pipefail
program=$1 smoke=$2 shot=$3
[[ -n ${CZ_DB_PORT:-} ]] || { echo "SKIP: no test database"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/cotacaozelmora"
# The scrambled form of the throwaway server's password.
cat >"$work/sistema_vorn.ini" <<INI
[ip]
local=127.0.0.1:$CZ_DB_PORT
database=mysql
senha=3CDD14DA0325CD64C651FD3CF168
INI
[[ ${CZ_DB_PASSWORD:-Zelmora-Demo1} == Zelmora-Demo1 ]] || { echo "SKIP: other password"; exit 77; }
"$smoke" --window 265x60 --shot "$shot" "$work/cotacaozelmora" 7891000100103
