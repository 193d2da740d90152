#!/bin/sh
# scripts/play against stand-ins for the table server, the hall stand-in and
# the client in a build tree of its own: what it says and how it ends when
# they fail. Each case ends within seconds.
#
#   play-test.sh SCRIPT CASE
set -eu

. "$(dirname "$0")/case.sh"

# The stand-ins: FAKE_SERVER and FAKE_HALL choose how they behave; each
# writes the runtime folder it was given to $tmp/<name>.env.
build=$tmp/build
mkdir -p "$build/src/app" "$build/tools/tableserver" "$build/tools/hall" \
  "$build/tools/screenshot"
cat >"$build/tools/tableserver/tessaroc-tableserver" <<EOF
#!/bin/sh
echo "\${XDG_RUNTIME_DIR-unset}" >"$tmp/server.env"
echo "tessaroc-tableserver: listening on 127.0.0.1:4242"
# It stays itself (no exec): scripts/play knows it by its command line.
case \${FAKE_SERVER:-stays} in
  dies) sleep 1; exit 1 ;;
  *) trap 'kill \$! 2>/dev/null; exit 0' TERM; sleep 30 & wait ;;
esac
EOF
cat >"$build/tools/hall/tessaroc-hall" <<EOF
#!/bin/sh
echo "\${XDG_RUNTIME_DIR-unset}" >"$tmp/hall.env"
case \${FAKE_HALL:-plays} in
  caption-taken)
    echo "tessaroc-hall: another window already has the caption Ombrevale" >&2
    exit 1 ;;
  lock-held)
    echo "[    0.010] client started: x"
    echo "tessaroc: another client already runs" >&2
    exit 4 ;;
  no-client)
    echo "[    0.010] client failed to start: no such file" >&2
    exit 127 ;;
  plays)
    echo "[    0.100] table posts 0x303 connected"
    echo "[    0.200] table posts 0x467 hand start"
    sleep 3
    exit 0 ;;
  silent)
    sleep 1
    exit 3 ;;
esac
EOF
cat >"$build/src/app/tessaroc" <<'EOF'
#!/bin/sh
exit 0
EOF
cat >"$build/tools/screenshot/tessaroc-screenshot" <<'EOF'
#!/bin/sh
echo picture >"$1"
EOF
chmod +x "$build/src/app/tessaroc" "$build/tools/tableserver/tessaroc-tableserver" \
  "$build/tools/hall/tessaroc-hall" "$build/tools/screenshot/tessaroc-screenshot"

# Runs scripts/play on the stand-ins, its folders made in $tmp; its status
# goes to $status, what it wrote (both outputs) to $tmp/out.
play() {
  status=0
  TMPDIR=$tmp DISPLAY=${DISPLAY:-:99} sh "$script" --no-build --build-dir "$build" "$@" \
    >"$tmp/out" 2>&1 || status=$?
}
says() { grep -qF -- "$1" "$tmp/out"; }

case $case_name in
  HelpIsTheHeaderOnly)
    play --help
    [ "$status" = 0 ] || fail "status $status"
    says "--screenshot" || fail "the options are not listed"
    ! says "set -e" || fail "the help shows the script's code"
    [ -n "$(tail -n 1 "$tmp/out")" ] || fail "the help ends with a blank line"
    ;;

  OptionsWithoutAValueSayWhatTheyWant)
    for option in --seed --build-dir --screenshot; do
      play "$option"
      [ "$status" = 2 ] || fail "$option: status $status"
      [ "$(wc -l <"$tmp/out")" = 1 ] || fail "$option: more than one line"
      grep -q "^play: $option wants " "$tmp/out" || fail "$option: not said plainly"
    done
    play --seed 12x
    [ "$status" = 2 ] || fail "--seed 12x: status $status"
    says "play: --seed wants a number" || fail "--seed 12x is taken"
    ;;

  ASecondTableSaysSoAndFails)
    for hall in caption-taken lock-held; do
      FAKE_HALL=$hall play --seed 3
      [ "$status" != 0 ] || fail "$hall: status 0"
      says "a table is already open" || fail "$hall: not said"
      ! says "press the ready button" || fail "$hall: asks for the ready button"
    done
    ;;

  AClientThatCannotStartFails)
    FAKE_HALL=no-client play --seed 3
    [ "$status" = 127 ] || fail "status $status"
    says "the client could not be started" || fail "not said"
    ;;

  AServerThatWentAwayIsSaid)
    FAKE_SERVER=dies FAKE_HALL=plays play --seed 3
    [ "$status" != 0 ] || fail "status 0"
    says "the game server went away" || fail "not said"
    ;;

  ALeftTableEndsWell)
    FAKE_HALL=plays play --seed 3
    [ "$status" = 0 ] || fail "status $status"
    says "play: the table is closed" || fail "not said"
    ! says "went away" || fail "a stopped server is said to have gone away"
    ;;

  WithoutARuntimeFolderTheUsersOwnIsUsed)
    (unset XDG_RUNTIME_DIR && FAKE_HALL=plays play --seed 3)
    [ "$(cat "$tmp/hall.env")" = unset ] ||
      fail "the hall was given a runtime folder of its own: $(cat "$tmp/hall.env")"
    mkdir -m 700 "$tmp/runtime"
    XDG_RUNTIME_DIR=$tmp/runtime FAKE_HALL=plays play --seed 3
    [ "$(cat "$tmp/hall.env")" = "$tmp/runtime" ] || fail "the session's folder is not passed on"
    ;;

  AScreenshotRunNamesOnlyLogsItKeeps)
    for hall in plays silent; do
      TESSAROC_PLAY_ON_XVFB=1 FAKE_HALL=$hall play --seed 3 --screenshot "$tmp/shot.png"
      if [ "$hall" = plays ]; then
        [ "$status" = 0 ] || fail "$hall: status $status"
      else
        [ "$status" != 0 ] || fail "$hall: status 0"
      fi
      for named in $(grep -o "/[^ ]*tessaroc-play\.[A-Za-z0-9]*[^ )]*" "$tmp/out" | sort -u); do
        [ -e "$named" ] || fail "$hall: names $named, which is gone"
      done
      if [ "$hall" = silent ]; then
        says "hall.log" || fail "$hall: the logs of a failed run are not named"
      fi
    done
    ;;

  *) echo "play-test.sh: no case $case_name" >&2; exit 2 ;;
esac
echo "ok ($case_name)"
