# Sourced by setup.sh and deps-common.sh: apt calls that ride out a mirror in the
# middle of a sync (an index of unexpected size fails "apt-get update" for a while).
#   apt_update            retries a few times; an index the mirror still serves at a size
#                         other than its Release file says (a stale copy) is then taken as
#                         the mirror has it, so the packages of that architecture still
#                         agree in version with the others; any other failure goes on with
#                         what was read (the install that follows says if a package is missing)
#   apt_retry CMD...      runs CMD up to four times, a pause between tries
apt_update() {
  local i out url list
  for i in 1 2 3; do
    out=$(apt-get update -q 2>&1) && return 0
    echo "apt-get update failed (try $i), retrying" >&2
    sleep $((i * 10))
  done
  # "E: Failed to fetch http://HOST/PATH/Packages.xz  File has unexpected size (A != B)..."
  for url in $(echo "$out" | sed -n 's/^E: Failed to fetch \(http[^ ]*\.xz\) .*unexpected size.*/\1/p'); do
    list=/var/lib/apt/lists/$(echo "${url#http://}" | sed 's/\.xz$//; s|/|_|g')
    echo "apt-get update: taking the mirror's copy of $url" >&2
    curl -fsS "$url" | xz -dc > "$list.new" && mv "$list.new" "$list" || rm -f "$list.new"
  done
  echo "$out" | grep '^E:' >&2 || true
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
