#!/bin/sh
# Runs the home page's helper scripts in a sandbox: a bundle folder of their own, a home folder,
# and a search path that holds only the few system tools they need plus stand-ins for the
# commands they must (or must not) call. Prints each failed check; exits 1 if any failed.
# Usage: ScriptsTest.sh BUNDLE_FILES_DIR
set -u

src=$(CDPATH='' cd -- "${1:?usage: ScriptsTest.sh BUNDLE_FILES_DIR}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

expect_in() { # file text what
  grep -qF -- "$2" "$1" || fail "$3: '$2' not in $(basename "$1")"
}

# A fresh sandbox: $bin (the whole search path), $home, $bundle with the scripts, $log.
sandbox() {
  rm -rf "$work/case" && mkdir -p "$work/case/bin" "$work/case/home" "$work/case/bundle" \
    "$work/case/tmp"
  bin=$work/case/bin home=$work/case/home bundle=$work/case/bundle log=$work/case/log
  : >"$log"
  for tool in sh sed head awk date tr uname timeout dirname cat sleep grep chmod mktemp; do
    ln -s "$(command -v "$tool")" "$bin/$tool"
  done
  cp -R "$src/Acrobat" "$src/Support" "$bundle/"
}

stub() { # name body: a command on the search path that runs body
  # In place of a link to a system tool, never through it.
  rm -f "$bin/$1"
  printf '#!/bin/sh\n%s\n' "$2" >"$bin/$1"
  chmod +x "$bin/$1"
}

run_script() { # script: runs it in the sandbox, output in $work/case/out
  (cd "$bundle" && env -i PATH="$bin" ${home:+HOME=$home} TMPDIR="$work/case/tmp" \
    ${display:+DISPLAY=$display} \
    XDG_DATA_HOME="$home/.local/share" XDG_DATA_DIRS="$work/case/share" \
    sh "$bundle/$1" </dev/null >"$work/case/out" 2>&1)
}

# SupportDesk: the report, the gateway from the routes, and the LAN test to it by the
# modemctl beside the wizard.
display=""
sandbox
stub ip 'case "$*" in
  "-4 route show default") echo "default via 192.168.1.1 dev eth0 proto dhcp" ;;
  "route") echo "default via 192.168.1.1 dev eth0"; echo "192.168.1.0/24 dev eth0 scope link" ;;
  "-4 addr") echo "2: eth0    inet 192.168.1.33/24 brd 192.168.1.255 scope global eth0" ;;
esac'
printf '#!/bin/sh\necho "modemctl $*" >>"%s"\necho "connection accepted"\necho "result=0"\n' \
  "$log" >"$bundle/modemctl"
chmod +x "$bundle/modemctl"
run_script Support/SupportDesk || fail "SupportDesk exit status"
report=""
for file in "$home"/SetupPilot-support-*.txt; do
  [ -f "$file" ] && report=$file
done
if [ -z "$report" ]; then
  fail "SupportDesk wrote no report in the home folder"
else
  expect_in "$report" "inet 192.168.1.33/24" "addresses"
  expect_in "$report" "192.168.1.0/24 dev eth0" "routes"
  expect_in "$report" "== Default gateway ==" "gateway section"
  expect_in "$report" "result=0" "LAN test output"
  expect_in "$log" "modemctl 192.168.1.1 lan-test" "LAN test goes to the gateway"
  expect_in "$work/case/out" "$report" "report path printed"
fi

# SupportDesk without a gateway: no exchange with anything.
sandbox
stub ip 'exit 0'
printf '#!/bin/sh\necho "modemctl $*" >>"%s"\n' "$log" >"$bundle/modemctl"
chmod +x "$bundle/modemctl"
run_script Support/SupportDesk || fail "SupportDesk exit status without gateway"
[ -s "$log" ] && fail "modemctl was called without a default gateway"
expect_in "$home"/SetupPilot-support-*.txt "no default gateway" "missing gateway explained"

# SupportDesk when a command hangs: every one is cut off, and the report is still written.
sandbox
stub ip 'exec sleep 60'
started=$(date +%s)
run_script Support/SupportDesk || fail "SupportDesk exit status with a hanging command"
elapsed=$(($(date +%s) - started))
[ "$elapsed" -lt 30 ] || fail "SupportDesk took ${elapsed}s with a hanging command"
expect_in "$home"/SetupPilot-support-*.txt "timed out" "hanging command reported"

# SupportDesk where a link waits at the report's old, predictable name: the report is a new
# file of the user's alone, and what the link points to is left as it was.
fixed_date() {
  # shellcheck disable=SC2016 # expanded by the stand-in, not here
  stub date 'case "$1" in +*) echo 2030-01-02-030405 ;; *) echo "Wed, 02 Jan 2030" ;; esac'
}
sandbox
stub ip 'exit 0'
fixed_date
echo precious >"$work/case/victim"
ln -s "$work/case/victim" "$home/SetupPilot-support-2030-01-02-030405.txt"
run_script Support/SupportDesk || fail "SupportDesk exit status beside a planted link"
report=$(sed -n 's/^Support report written to //p' "$work/case/out")
case $report in
  "$home"/SetupPilot-support-2030-01-02-030405-*.txt) ;;
  *) fail "report not in the home folder under a new name: '$report'" ;;
esac
{ [ -f "$report" ] && [ ! -L "$report" ]; } || fail "the report is not a plain new file"
[ "$(stat -c %a "$report" 2>/dev/null)" = 600 ] || fail "the report is readable by others"
[ "$(cat "$work/case/victim")" = precious ] || fail "SupportDesk wrote through a planted link"

# SupportDesk without a home folder: the report goes to a private folder in the temporary
# folder, never to a fixed name there.
sandbox
stub ip 'exit 0'
fixed_date
ln -s "$work/case/victim" "$work/case/tmp/SetupPilot-support-2030-01-02-030405.txt"
home="" run_script Support/SupportDesk || fail "SupportDesk exit status without HOME"
report=$(sed -n 's/^Support report written to //p' "$work/case/out")
case $report in
  "$work/case/tmp"/SetupPilot-support-*/SetupPilot-support-*.txt) ;;
  *) fail "report without HOME not in a private temporary folder: '$report'" ;;
esac
[ "$(stat -c %a "$(dirname "$report")" 2>/dev/null)" = 700 ] || fail "the folder is not private"
expect_in "$report" "== Default gateway ==" "report without HOME"
[ -e "$work/case/victim" ] && fail "SupportDesk wrote through a link in the temporary folder"

# AdbeRdr with a viewer registered: names it, installs nothing.
sandbox
mkdir -p "$work/case/share/applications"
printf '[Desktop Entry]\nName=Test Viewer\nExec=testviewer %%f\n' \
  >"$work/case/share/applications/testviewer.desktop"
stub xdg-mime 'echo testviewer.desktop'
stub apt-get 'exit 0'
stub pkexec "echo \"pkexec \$*\" >>\"$log\""
run_script Acrobat/AdbeRdr || fail "AdbeRdr exit status with a viewer"
expect_in "$work/case/out" "already installed: Test Viewer" "registered viewer named"
[ -s "$log" ] && fail "AdbeRdr installed something although a viewer is registered"

# AdbeRdr without a viewer and no way to ask: installs nothing.
sandbox
stub xdg-mime 'exit 0'
stub apt-get 'exit 0'
stub pkexec "echo \"pkexec \$*\" >>\"$log\""
run_script Acrobat/AdbeRdr && fail "AdbeRdr succeeded without a viewer and without asking"
[ -s "$log" ] && fail "AdbeRdr installed without asking"
expect_in "$work/case/out" "Nothing was installed" "refusal reported"

# AdbeRdr without a viewer on a desktop: asks, installs evince through pkexec, reports it.
display=":99"
sandbox
stub xdg-mime 'exit 0'
stub apt-get 'exit 0'
stub zenity "echo \"zenity \$*\" >>\"$log\"; exit 0"
stub pkexec "echo \"pkexec \$*\" >>\"$log\"; printf '#!/bin/sh\\n' >\"$bin/evince\"; chmod +x \"$bin/evince\""
run_script Acrobat/AdbeRdr || fail "AdbeRdr exit status after installing"
expect_in "$log" "zenity --question" "asked before installing"
expect_in "$log" "pkexec apt-get install -y evince" "installs evince as administrator"
expect_in "$log" "The Document Viewer is installed" "outcome reported"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
