#!/usr/bin/env bash
# The PostgreSQL tier.  Builds the extension (src/sql/postgres.mk, in
# build/postgres, from the CMake build in build/native), installs it into
# Debian's PostgreSQL 15 (we are root), and with a private server
# (scripts/postgres-server.sh run: its own cluster in a fresh directory
# under /tmp, a unix socket there and no TCP, stopped whatever happens)
# runs `make installcheck` (tests/postgres through pg_regress) and every
# behaviour case that SQL can carry, through psql (tests/postgres/postgres_cases.py).
#
# Environment: TK_JOBS (build jobs, default 2), TK_BUILD (the CMake build).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --tests
export TK_BUILD=${TK_BUILD:-$PWD/build/native} PG_CONFIG=/usr/lib/postgresql/15/bin/pg_config
export TK_POSTGRES_MAKE="make --no-print-directory -C build/postgres -f $PWD/src/sql/postgres.mk"
mkdir -p build/postgres
$TK_POSTGRES_MAKE
$TK_POSTGRES_MAKE install >/dev/null
cmake --build "$TK_BUILD" -j "${TK_JOBS:-2}" --target tkcall

TK_PG_LOG=build/postgres/server.log bash scripts/postgres-server.sh run bash -c '
  $TK_POSTGRES_MAKE installcheck || { head -300 build/postgres/regression.diffs; exit 1; }
  python3 tests/postgres/postgres_cases.py "$TK_BUILD/tools/tkcall/tkcall" tests/cases/*.cases'
