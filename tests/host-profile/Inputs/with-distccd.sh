#!/usr/bin/env bash
# with-distccd.sh COMMAND...: starts a distccd on this machine for one
# test (listening on localhost only, allowed to run only the installed
# drivers named by DISTCC_CMDLIST), runs COMMAND with DISTCC_HOSTS pointing
# at it and no local fallback, stops the daemon, and exits with COMMAND's
# status.
set -u
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
