# Sourced by setup.sh and deps-common.sh: apt calls that ride out a mirror in the
# middle of a sync (an index of unexpected size fails "apt-get update" for a while).
#   apt_update            retries a few times; if an index still fails, goes on with
#                         what was read (the install that follows says if a package is missing)
#   apt_retry CMD...      runs CMD up to four times, a pause between tries
apt_update() {
  local i
  for i in 1 2 3 4; do
    apt-get update -q >/dev/null 2>&1 && return 0
    echo "apt-get update failed (try $i), retrying" >&2
    sleep $((i * 10))
  done
  echo "apt-get update: some indexes could not be read; going on with the others" >&2
  return 0
}

apt_retry() {
  local i
  for i in 1 2 3; do
    "$@" && return 0
    echo "'$*' failed (try $i), retrying" >&2
    sleep $((i * 15))
    apt_update
  done
  "$@"
}
