#!/usr/bin/env bash
# Controls the local Firebird server (Debian's firebird3.0) that client-mode
# installations and the server tests use.
#
#   scripts/firebird-server.sh start|stop|restart|status
#
# start: starts the server on 127.0.0.1:3050, waits until it accepts
#        connections and makes sure the installation's database user exists
#        (FB_DB_USER / FB_DB_PASSWORD, default "VFNZFR" / "dravon"), may
#        create databases (restores and new data sets go through the server)
#        and is mapped to the server's administrator role (the in-use test
#        reads the server's list of attached databases, which needs it).
#        The SYSDBA password is read from /etc/firebird/3.0/SYSDBA.password
#        and handed to isql-fb through its environment only.
# status: exit 0 when the server accepts connections, 3 otherwise.
# Must run as root.
set -euo pipefail

INIT=/etc/init.d/firebird3.0
SYSDBA_FILE=/etc/firebird/3.0/SYSDBA.password
HOST=127.0.0.1
PORT=3050
DB_USER=${FB_DB_USER:-VFNZFR}
DB_PASSWORD=${FB_DB_PASSWORD:-dravon}

die() { echo "firebird-server: $*" >&2; exit 1; }

accepting() { (exec 3<>"/dev/tcp/$HOST/$PORT") 2>/dev/null; }

wait_until() {   # wait_until up|down seconds
  local want=$1 left=$2
  while [ "$left" -gt 0 ]; do
    if accepting; then [ "$want" = up ] && return 0; else [ "$want" = down ] && return 0; fi
    sleep 0.5
    left=$((left - 1))
  done
  return 1
}

sql_quote() { printf "%s" "$1" | sed "s/'/''/g"; }

ensure_user() {
  [ -r "$SYSDBA_FILE" ] || die "cannot read $SYSDBA_FILE"
  case "$DB_USER" in *[!A-Za-z0-9_]*|'') die "invalid database user name: $DB_USER";; esac
  local work
  work=$(mktemp -d /tmp/fbserver-admin.XXXXXX)
  chmod 0777 "$work"
  local tries=0
  # User management needs an attachment; a throw-away database serves.
  until (
    set -a
    # shellcheck disable=SC1090
    . "$SYSDBA_FILE"
    set +a
    isql-fb -q -b <<SQL
CREATE DATABASE '$HOST/$PORT:$work/admin.fdb';
CREATE OR ALTER USER $DB_USER PASSWORD '$(sql_quote "$DB_PASSWORD")';
COMMIT;
GRANT CREATE DATABASE TO USER $DB_USER;
CREATE OR ALTER GLOBAL MAPPING ${DB_USER}_ADMIN USING PLUGIN Srp FROM USER $DB_USER TO ROLE RDB\$ADMIN;
COMMIT;
DROP DATABASE;
SQL
  ) >"$work/isql.log" 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -ge 10 ]; then
      cat "$work/isql.log" >&2
      rm -rf "$work"
      die "could not create the database user $DB_USER"
    fi
    rm -f "$work/admin.fdb"
    sleep 1
  done
  rm -rf "$work"
}

start() {
  [ -x "$INIT" ] || die "$INIT not found (install firebird3.0-server)"
  if ! accepting; then
    "$INIT" start >/dev/null
    wait_until up 60 || die "the server does not accept connections on $HOST:$PORT"
  fi
  ensure_user
  echo "Firebird server running on $HOST:$PORT (user $DB_USER)"
}

stop() {
  [ -x "$INIT" ] || return 0
  "$INIT" stop >/dev/null || true
  wait_until down 30 || die "the server is still accepting connections"
  echo "Firebird server stopped"
}

[ "$(id -u)" -eq 0 ] || die "must run as root"

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  restart) stop; start ;;
  status)
    if accepting; then echo "Firebird server running on $HOST:$PORT"; exit 0; fi
    echo "Firebird server not running"; exit 3 ;;
  *) echo "usage: $0 start|stop|restart|status" >&2; exit 2 ;;
esac
