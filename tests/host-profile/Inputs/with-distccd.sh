#!/usr/bin/env bash
# with-distccd.sh COMMAND...: starts a distccd on this machine for one
# test (listening on localhost only, allowed to run only the installed
# drivers named by DISTCC_CMDLIST), runs COMMAND with DISTCC_HOSTS pointing
# at it and no local fallback, stops the daemon, and exits with COMMAND's
# status.
#
# with-distccd.sh --tree ROOT COMMAND...: the same with a copy of the
# installed tree ROOT in a directory of its own that every user may read,
# since the daemon, started as root, runs as an unprivileged user that may
# not reach ROOT (a build in a private temporary directory); the words of
# COMMAND under ROOT are moved to the copy, and only the copy's drivers are
# allowed.
set -u
tree=
if [[ ${1-} == --tree ]]; then
  root=${2%/}
  shift 2
  # Not under TMPDIR, which may be private as well.
  tree=$(mktemp -d /tmp/vrk-distcc.XXXXXX)
  trap 'rm -rf "$tree"' EXIT
  chmod 755 "$tree"
  cp -a "$root/." "$tree/"
  printf '%s\n' "$tree/bin/vrk" "$tree/bin/vrk++" > "$tree/allowed"
  DISTCC_CMDLIST=$tree/allowed
  words=()
  for word in "$@"; do
    [[ $word == "$root"/* ]] && word=$tree${word#"$root"}
    words+=("$word")
  done
  set -- "${words[@]}"
fi
: "${DISTCC_CMDLIST:?names the file of allowed compilers}"
export DISTCC_CMDLIST

port=
for try in 1 2 3 4 5 6 7 8; do
  candidate=$((30000 + (RANDOM % 20000)))
  # As root the daemon runs as an unprivileged user, in its own TMPDIR.
  TMPDIR=/tmp distccd --daemon --no-detach --allow 127.0.0.1 --listen 127.0.0.1 --port "$candidate" \
    --jobs 1 --log-stderr --log-level error 2> "${DISTCCD_LOG:-/dev/null}" &
  daemon=$!
  for wait in $(seq 50); do
    if (exec 3<> "/dev/tcp/127.0.0.1/$candidate") 2> /dev/null; then
      port=$candidate
      break 2
    fi
    kill -0 "$daemon" 2> /dev/null || break
    sleep 0.1
  done
  kill "$daemon" 2> /dev/null
  wait "$daemon" 2> /dev/null
done
if [[ -z $port ]]; then
  echo "with-distccd.sh: distccd did not start" >&2
  exit 1
fi

DISTCC_HOSTS="127.0.0.1:$port/1" DISTCC_FALLBACK=0 "$@"
status=$?
kill "$daemon" 2> /dev/null
wait "$daemon" 2> /dev/null
exit $status
