#!/bin/sh
# Runs a command beside a throw-away PostgreSQL cluster (pg_virtualenv from postgresql-common sets
# PGHOST, PGPORT, PGUSER, PGPASSWORD and PGDATABASE for it). Without PostgreSQL the command still
# runs and its server tests skip, saying why.
if ! command -v pg_virtualenv >/dev/null 2>&1; then
    QAVEX_POSTGRES_MISSING="pg_virtualenv (Debian postgresql-common) not found"
    export QAVEX_POSTGRES_MISSING
    exec "$@"
fi
exec pg_virtualenv -v 15 "$@"
