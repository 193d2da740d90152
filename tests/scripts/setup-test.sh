#!/bin/sh
# scripts/setup against a stand-in for apt-get (and sudo) first on the PATH:
# how it meets another package manager holding the package lock. Each case
# ends within seconds.
#
#   setup-test.sh SCRIPT CASE
set -eu

. "$(dirname "$0")/case.sh"

# FAKE_APT: lock-once (the lock is held for the first call only),
# lock-always, or broken (fails for another reason). Every call is counted in
# $tmp/calls.
mkdir "$tmp/bin"
cat >"$tmp/bin/apt-get" <<END_OF_APT
#!/bin/sh
echo "\$*" >>"$tmp/calls"
case \$FAKE_APT in
  lock-once) [ "\$(wc -l <"$tmp/calls")" -gt 1 ] && exit 0 ;;
  broken) echo "E: Unable to locate package nonesuch"; exit 100 ;;
esac
echo "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (unattended-upgr)"
echo "E: Unable to acquire the dpkg frontend lock (/var/lib/dpkg/lock-frontend), is another process using it?"
exit 100
END_OF_APT
cat >"$tmp/bin/sudo" <<'END_OF_SUDO'
#!/bin/sh
exec "$@"
END_OF_SUDO
chmod +x "$tmp/bin/apt-get" "$tmp/bin/sudo"

setup() {
  status=0
  PATH=$tmp/bin:$PATH TESSAROC_SETUP_LOCK_WAIT=$1 sh "$script" >"$tmp/out" 2>&1 || status=$?
}
says() { grep -qF -- "$1" "$tmp/out"; }
calls() { wc -l <"$tmp/calls"; }

case $case_name in
  WaitsForAHeldLock)
    FAKE_APT=lock-once setup 20
    [ "$status" = 0 ] || fail "status $status"
    says "waiting for it, up to 20 seconds" || fail "the wait is not said"
    [ "$(calls)" = 3 ] || fail "$(calls) calls of apt-get, not update twice and install"
    ;;

  GivesUpOnceTheLimitHasPassed)
    FAKE_APT=lock-always setup 3
    [ "$status" != 0 ] || fail "status 0"
    says "still held after 3 seconds" || fail "the end of the wait is not said"
    if ! grep -q '^update' "$tmp/calls" || grep -q '^install' "$tmp/calls"; then
      fail "installs without the package lists"
    fi
    ;;

  OtherFailuresFailAtOnce)
    FAKE_APT=broken setup 20
    [ "$status" != 0 ] || fail "status 0"
    ! says "waiting" || fail "waits for a lock nobody holds"
    [ "$(calls)" = 1 ] || fail "$(calls) calls of apt-get"
    ;;

  *) echo "setup-test.sh: no case $case_name" >&2; exit 2 ;;
esac
echo "ok ($case_name)"
