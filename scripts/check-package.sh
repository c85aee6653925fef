#!/usr/bin/env bash
# Builds the release preset, checks what `cmake --install` puts down, makes the
# .deb with CPack and runs lintian on it, has apt-get simulate its install (its
# dependencies must resolve), unpacks it into a scratch root in a temporary
# folder and checks from there the programs on the PATH, their manual pages and
# their answers without a display, the menu entries and the menu start folder,
# the logger's unit (systemd-analyze verify and security, offline) and the
# logger run as the unit runs it. Also what they say: manual pages, README,
# licence, and the log's file type (built into a database in the temporary
# folder, never the machine's). Nothing is installed into or removed from the
# machine, no unit is enabled or started: a workstation with the package keeps
# its copy, one without it stays without it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
package=zrv02-controller
version=$(sed -n 's/^project([^)]*VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

fail() {
  echo "check-package: $*" >&2
  exit 1
}

work=$(mktemp -d)
pids=() # what the logger's run starts
cleanup() {
  [[ -n "${controller:-}" ]] && kill "$controller" 2>/dev/null
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
# Canonical, so that it compares with what /proc reports for a started program.
work=$(realpath "$work")
# Temporary files of the tools below stay in it too (lintian leaves a database
# file behind in TMPDIR, xvfb-run its display's authority file until it ends).
mkdir "$work/tmp"
export TMPDIR="$work/tmp"

# The machine's record of the package (or its absence), the same at the end.
package_state() {
  dpkg-query -W -f='${db:Status-Abbrev} ${Version}' "$package" 2>/dev/null || echo absent
}
state_before=$(package_state)

cmake --preset release >/dev/null
cmake --build --preset release

# Exactly the programs, menu entries, icons, manual pages, the operator's
# documents and the logger's service: nothing from tests or benchmarks.
programs=(zrv02-controller zrv02-sim zrv02-trend zrv02-logger)
unit=zrv02-logger@.service
expected=$(
  printf 'bin/%s\n' "${programs[@]}"
  printf 'share/applications/%s.desktop\n' zrv02-controller zrv02-trend
  printf 'share/icons/hicolor/scalable/apps/%s.svg\n' zrv02-controller zrv02-trend
  printf "share/mime/packages/$package.xml\n"
  printf "share/doc/$package/%s\n" README copyright changelog.gz
  printf 'share/man/man1/%s.1.gz\n' "${programs[@]}"
  printf "share/$package/monitoring/%s\n" zrv02-alerts.yml zrv02-dashboard.json
  printf '%s\n' "lib/systemd/system/$unit" "lib/sysusers.d/$package.conf" \
    "share/$package/zrv02-logger.conf.example"
)
cmake --install build-release --prefix "$work/stage" >"$work/install.log"
staged=$(cd "$work/stage" && find . -type f -o -type l | sed 's|^\./||' | sort)
[[ "$staged" == "$(sort <<<"$expected")" ]] ||
  fail "cmake --install put down:"$'\n'"$staged"$'\n'"expected:"$'\n'"$expected"
desktop-file-validate "$work"/stage/share/applications/*.desktop

(cd build-release && cpack -G DEB >/dev/null)
deb=build-release/${package}_${version}_$(dpkg --print-architecture).deb
[[ -f "$deb" ]] || fail "no $deb"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in fonts-ipafont-gothic qt6-qpa-plugins libqt6widgets6 libqt6network6 libsystemd0 \
  libqt6serialbus6; do
  grep -q "\b$needed\b" <<<"$depends" || fail "Depends lacks $needed"
done

# Errors fail the check; the warnings that remain are explained in the README.
lintian --fail-on error "$deb" 2>&1 | { grep -v "running with root privileges" || true; } ||
  fail "lintian found errors"

# The dependencies resolve on this machine, found by a simulated install of the
# local file: nothing is installed, and the planner log and package caches that
# apt would write under /var go to the temporary folder or nowhere.
simulated=$(apt-get install --simulate -o Dir::Log="$work/apt-log" \
  -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache= "$root/$deb" 2>&1) ||
  fail "apt-get cannot install $deb:"$'\n'"$simulated"
grep '^Inst ' <<<"$simulated" || true
! grep -q '^Remv ' <<<"$simulated" ||
  fail "installing $deb would remove packages:"$'\n'"$(grep '^Remv ' <<<"$simulated")"

# The package's files, unpacked as dpkg would put them under /, in a scratch root.
scratch=$work/root
dpkg-deb -x "$deb" "$scratch"
# The unit where Debian 12 keeps those of packages, the user made by the
# postinst from the sysusers.d file, and no maintainer script that enables or
# starts a unit.
[[ -f "$scratch/lib/systemd/system/$unit" ]] || fail "no /lib/systemd/system/$unit"
dpkg-deb -e "$deb" "$work/control"
! grep -v '^\s*#' "$work/control"/post* | grep -E '\b(enable|start|deb-systemd-(helper|invoke))\b' ||
  fail "a maintainer script enables or starts a unit"
mkdir -p "$scratch/etc"
systemd-sysusers --root="$scratch" "$package.conf"
grep -q '^zrv02:x:[0-9]*:[0-9]*:[^:]*:[^:]*:/usr/sbin/nologin$' "$scratch/etc/passwd" ||
  fail "$package.conf makes no user zrv02"
grep -q '^zrv02:x:' "$scratch/etc/group" || fail "$package.conf makes no group zrv02"
# Its programs come first on the PATH, its manual pages are the only ones man
# sees, and what the programs write (Qt's runtime folder, caches, settings) stays
# in the temporary folder.
export PATH="$scratch/usr/bin:$PATH" MANPATH="$scratch/usr/share/man"
mkdir -p "$work/check-home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$work/check-home" XDG_RUNTIME_DIR="$work/runtime"
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME XDG_STATE_HOME

for program in "${programs[@]}"; do
  [[ "$(command -v "$program")" == "$scratch/usr/bin/$program" ]] || fail "$program is not on the PATH"
  [[ "$(man -w "$program" 2>/dev/null)" == "$scratch/usr/share/man/man1/$program.1.gz" ]] ||
    fail "man finds no page of $program in the package"
done
for program in "${programs[@]}"; do
  # Over ssh or in a script there is no display: the answers must not need one.
  help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --help) ||
    fail "$program --help without a display exits with $?"
  [[ "$help" == *--version* ]] || fail "$program --help without a display: $help"
  LC_ALL=C.UTF-8 MANWIDTH=80 man "$program" 2>/dev/null | grep -q "^$program $version" ||
    fail "man $program shows no page of $program $version"
done
# Without any display a window program says so in one line, not with Qt's abort.
log_line='2026/12/07 06:00:00 95.0 25.3 %&DEG'
printf '%s\r\n' "$log_line" >"$work/some.log"
for program in zrv02-controller "zrv02-trend $work/some.log"; do
  # shellcheck disable=SC2086 # the program and its argument
  said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $program 2>&1) && status=0 || status=$?
  [[ $status == 1 && $(wc -l <<<"$said") == 1 && "$said" == *"set DISPLAY"* ]] ||
    fail "$program without a display: status $status, \"$said\""
done

# What the manual pages and the operator's README must say, as written.
readme=$scratch/usr/share/doc/$package/README
page() { LC_ALL=C MANWIDTH=200 man "$1" 2>/dev/null | col -b; }
for text in "yyyy/mm/dd hh:nn:ss <purity> <temperature> %&DEG" "Wrong Parameter !" \
  "Can't connected !" "no response from the host !" "Wrong drive !" "Illegal Input !" \
  "Can't write log file !" "are ignored: press stop first" "~/ZRV-02/zrv02-controller.conf"; do
  grep -qF -- "$text" <<<"$(page zrv02-controller)" || fail "man zrv02-controller lacks \"$text\""
  grep -qF -- "$text" "$readme" || fail "the README lacks \"$text\""
done
for text in "zrv02-trend zrv-02.log --export-png chart.png" "--stats" "time,event,purity,temperature" \
  "TZ" "sample standard deviation" "<name>_<yyyymmdd-hhnnss>.log"; do
  grep -qF -- "$text" <<<"$(page zrv02-trend)" || fail "man zrv02-trend lacks \"$text\""
done

# The licence: GPL-3+, its text where Debian keeps it.
copyright=$scratch/usr/share/doc/$package/copyright
[[ $(grep -c '^License: GPL-3+$' "$copyright") == 2 ]] &&
  grep -q '/usr/share/common-licenses/GPL-3' "$copyright" ||
  fail "$copyright does not give the GPL-3+ with a License stanza"

# The log's file type: the package's definition, built with Debian's own into a
# database in the temporary folder, tells the controller's logs from other .log
# and text files by name and content, and the trend view's menu entry takes it.
mime=$work/mime
mkdir -p "$mime/mime/packages" "$mime/files"
xmllint --noout "$scratch/usr/share/mime/packages/$package.xml"
cp /usr/share/mime/packages/freedesktop.org.xml "$scratch/usr/share/mime/packages/$package.xml" \
  "$mime/mime/packages/"
built=$(XDG_DATA_DIRS=$mime XDG_DATA_HOME=$mime update-mime-database "$mime/mime" 2>&1)
[[ -z "$built" ]] || fail "update-mime-database on $package.xml: $built"
printf '%s\r\n' "$log_line" | tee "$mime/files/zrv-02_20261207-060000.log" "$mime/files/line3.log" \
  "$mime/files/notes.txt" >"$mime/files/zrv-02.log"
printf 'not a record\n' >"$mime/files/other.log"
for expected in zrv-02.log:application/x-zrv02-log zrv-02_20261207-060000.log:application/x-zrv02-log \
  line3.log:application/x-zrv02-log other.log:text/x-log notes.txt:text/plain; do
  file=${expected%%:*}
  type=$(GIO_USE_VFS=local XDG_DATA_DIRS=$mime XDG_DATA_HOME=$mime gio info -a standard::content-type \
    "$mime/files/$file" | sed -n 's/.*standard::content-type: //p')
  [[ "$type" == "${expected#*:}" ]] || fail "$file is $type, not ${expected#*:}"
done
grep -qx 'MimeType=application/x-zrv02-log;' "$scratch"/usr/share/applications/zrv02-trend.desktop ||
  fail "the trend view's menu entry does not take application/x-zrv02-log"

head -1 "$scratch/usr/share/doc/$package/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "/usr/share/doc/$package/copyright is not machine-readable"
export QT_QPA_PLATFORM=offscreen
[[ "$(zrv02-controller --version)" == "zrv02-controller $version" ]] ||
  fail "zrv02-controller --version: $(zrv02-controller --version)"
zrv02-sim --help | grep -q -- '--port' || fail "zrv02-sim --help lists no --port"
[[ "$(zrv02-trend --version)" == "zrv02-trend $version" ]] ||
  fail "zrv02-trend --version: $(zrv02-trend --version)"
[[ "$(zrv02-logger --version)" == "zrv02-logger $version" ]] ||
  fail "zrv02-logger --version: $(zrv02-logger --version)"
menu_entries=("$scratch"/usr/share/applications/zrv02-controller.desktop "$scratch"/usr/share/applications/zrv02-trend.desktop)
desktop-file-validate "${menu_entries[@]}"
[[ -f "$scratch"/usr/share/icons/hicolor/scalable/apps/zrv02-controller.svg ]] || fail "no icon"

# The logger's unit, checked offline in a root of its own: the unit and the
# program from the package, the targets and slices it refers to from this
# machine's systemd. verify must say nothing; security must keep the exposure
# at 1.2 or below (1.1 as shipped: what is left is the network it needs and
# logs its group reads).
unit_root=$work/unit-root
mkdir -p "$unit_root/lib/systemd/system" "$unit_root/usr/bin"
cp -a /lib/systemd/system/*.target /lib/systemd/system/*.slice "$unit_root/lib/systemd/system/"
cp "$scratch/lib/systemd/system/$unit" "$unit_root/lib/systemd/system/"
cp "$scratch/usr/bin/zrv02-logger" "$unit_root/usr/bin/"
instance=${unit/@/@lab1}
verified=$(systemd-analyze verify --root="$unit_root" "$instance" 2>&1) ||
  fail "systemd-analyze verify $instance:"$'\n'"$verified"
[[ -z "$verified" ]] || fail "systemd-analyze verify $instance:"$'\n'"$verified"
security=$(systemd-analyze security --offline=yes --root="$unit_root" --threshold=12 \
  --no-pager "$instance" 2>&1) ||
  fail "systemd-analyze security $instance: exposure above 1.2:"$'\n'"$(grep '✗\|Overall' <<<"$security")"
grep 'Overall exposure' <<<"$security"

# The logger as its unit runs it, from the scratch root against the packaged
# simulator: with the shipped example configuration (only the instrument, the
# log and the metrics port changed), the unit's environment, the notification
# socket and a watchdog, in a working folder of its own; as root, as nobody
# with no capabilities and no new privileges, like User= and
# CapabilityBoundingSet=. Under strace, so that what it did can be held
# against the unit's sandbox: its system calls within SystemCallFilter=, no
# memory both writable and executable (MemoryDenyWriteExecute=), sockets only
# of RestrictAddressFamilies=, files written only in its log folder and
# working folder (ProtectSystem=strict).
service=$work/service
mkdir -p "$service/log" "$service/state"
for sim_port in $(shuf -i 20000-32767 -n 20); do
  zrv02-sim --port "$sim_port" >"$service/sim.out" 2>&1 &
  sim=$!
  for _ in $(seq 30); do grep -q listening "$service/sim.out" && break; sleep 0.1; done
  grep -q listening "$service/sim.out" && break
  kill "$sim" 2>/dev/null || true
done
pids+=("$sim")
logger_metrics=$(shuf -i 20000-32767 -n 1)
sed -e "s/^host=.*/host=127.0.0.1/" -e "s/^port=.*/port=$sim_port/" -e "s/^interval=.*/interval=1/" \
  -e "s|^log=.*|log=$service/log/lab1.log|" -e "s/^listen=.*/listen=127.0.0.1:$logger_metrics/" \
  "$scratch/usr/share/$package/zrv02-logger.conf.example" >"$service/lab1.conf"
logger_modbus=$(shuf -i 20000-32767 -n 1)
printf '[modbus]\nlisten=127.0.0.1:%s\n' "$logger_modbus" >>"$service/lab1.conf"
# A service with no display: no Qt GUI or Widgets library.
! ldd "$scratch/usr/bin/zrv02-logger" | grep -E 'libQt6(Gui|Widgets)' ||
  fail "zrv02-logger links Qt GUI or Qt Widgets"
# systemd's notification socket: one line per message.
python3 -c '
import os, socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
os.umask(0)
s.bind(sys.argv[1])
with open(sys.argv[2], "a") as heard:
    while True:
        heard.write(s.recv(4096).decode() + "\n")
        heard.flush()' "$service/notify" "$service/notify.log" &
pids+=($!)
for _ in $(seq 50); do [[ -S "$service/notify" ]] && break; sleep 0.1; done
as_unit=()
if ((EUID == 0)); then
  chmod 711 "$work" "$service" # nobody passes through to its files
  chown 65534:65534 "$service/log" "$service/state"
  as_unit=(setpriv --reuid=65534 --regid=65534 --clear-groups --no-new-privs --bounding-set=-all --inh-caps=-all)
fi
unit_environment=$(sed -n 's/^Environment=//p' "$scratch/lib/systemd/system/$unit")
# shellcheck disable=SC2086 # the unit's assignments, one word each
(cd "$service/state" && exec env -i PATH="$PATH" HOME=/nonexistent $unit_environment \
  NOTIFY_SOCKET="$service/notify" WATCHDOG_USEC=2000000 \
  strace -f -qq -e signal=none -o "$service/strace.log" "${as_unit[@]}" \
  zrv02-logger --config "$service/lab1.conf") 2>"$service/stderr" &
logger=$!
pids+=("$logger")
lines() { { cat "$service/log/lab1.log" 2>/dev/null || true; } | grep -c 'DEG' || true; }
for _ in $(seq 100); do (($(lines) >= 3)) && grep -q '^WATCHDOG=1$' "$service/notify.log" && break; sleep 0.1; done
(($(lines) >= 3)) || fail "the logger as its unit runs it recorded $(lines) lines:"$'\n'"$(cat "$service/stderr")"
for message in '^READY=1$' '^WATCHDOG=1$' '^STATUS=recording: last record '; do
  grep -q "$message" "$service/notify.log" || fail "the logger told systemd no $message"
done
{ printf 'GET /metrics HTTP/1.1\r\n\r\n' >&3 && grep -q '^zrv02_runs_started_again_total 0' <&3; } \
  3<>"/dev/tcp/127.0.0.1/$logger_metrics" || fail "the logger serves no metrics as its configuration asks"
grep -q "^$sim_port," "$service/state/ZRV-02_PortList.Log" || fail "the logger keeps no history in its working folder"
mbpoll -m tcp -a 1 -r 5 -c 2 -t 3:int -B -1 -p "$logger_modbus" 127.0.0.1 | grep -qE '^\[5\]:\s+[1-9]' ||
  fail "the logger serves no Modbus registers as its configuration asks"
# SIGTERM, as systemctl stop sends it: status 0 within 3 s.
kill -TERM "$(sed -n 's/^\([0-9]*\) *execve(".*\/zrv02-logger".* = 0$/\1/p' "$service/strace.log")"
for _ in $(seq 30); do kill -0 "$logger" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$logger" 2>/dev/null || fail "the logger did not end within 3 s of SIGTERM"
wait "$logger" || fail "the logger ended with status $? on SIGTERM:"$'\n'"$(cat "$service/stderr")"

# What the logger itself did: from its execve on.
awk 'found || /execve\(".*\/zrv02-logger"/ {found = 1; print}' "$service/strace.log" >"$service/calls"
# The unit's system call filter: its groups expanded as systemd-analyze lists
# them, an allow list with the groups after a ~ taken out.
systemd-analyze syscall-filter --no-pager >"$service/groups" 2>/dev/null
filter=$(sed -n 's/^SystemCallFilter=//p' "$scratch/lib/systemd/system/$unit")
allowed=$(awk -v filter="$filter" '
  /^@/ { group = $1; next }
  /^ +[@a-z0-9_]/ { members[group] = members[group] " " $1 }
  function expand(name, into, allow,   i, n, parts) {
    if (name !~ /^@/) { if (allow) into[name] = 1; else delete into[name]; return }
    n = split(members[name], parts, " ")
    for (i = 1; i <= n; i++) expand(parts[i], into, allow)
  }
  END {
    n = split(filter, lines, "\n")
    for (i = 1; i <= n; i++) {
      allow = substr(lines[i], 1, 1) != "~"
      k = split(allow ? lines[i] : substr(lines[i], 2), names, " ")
      for (j = 1; j <= k; j++) expand(names[j], set, allow)
    }
    for (name in set) print name
  }' "$service/groups" | sort)
used=$(sed -n 's/^[0-9]* *\([a-z0-9_]*\)(.*/\1/p' "$service/calls" | sort -u)
refused=$(comm -23 <(echo "$used") <(echo "$allowed"))
[[ -z "$refused" ]] || fail "the logger makes system calls its unit's filter refuses: $refused"
! grep -E '^[0-9]+ +(mmap\(.*PROT_WRITE\|PROT_EXEC|(pkey_)?mprotect\(.*PROT_EXEC)' "$service/calls" ||
  fail "the logger asks for memory MemoryDenyWriteExecute= refuses"
families=$(grep -oE '^[0-9]+ +socket(pair)?\(AF_[A-Z0-9]+' "$service/calls" | sed 's/.*(//' | sort -u)
! grep -vxE 'AF_(UNIX|INET|INET6)' <<<"$families" ||
  fail "the logger opens sockets its unit's RestrictAddressFamilies= refuses"
written=$(grep -E '^[0-9]+ +((open|openat|creat)\(.*O_(WRONLY|RDWR|CREAT)|(rename|renameat2?|unlink|unlinkat|mkdir|mkdirat|rmdir|truncate|link|linkat|symlink|symlinkat)\()' \
  "$service/calls" | grep -oE '"[^"]*"' | tr -d '"' | sort -u)
outside=$(grep -vE "^([^/.][^/]*|$service/log/[^/]+)$" <<<"$written" || true)
[[ -z "$outside" ]] || fail "the logger writes outside its log and working folders: $outside"
echo "zrv02-logger as its unit runs it: $(lines) records, $(wc -l <<<"$used") kinds of system call, all allowed"

# Waits until `controller` runs the packaged program, then prints its working directory.
controller_cwd() {
  for _ in $(seq 50); do
    if [[ "$(readlink "/proc/$controller/exe" 2>/dev/null)" == "$scratch/usr/bin/zrv02-controller" ]]; then
      sleep 0.5 # past the start-up, where a menu start changes directory
      readlink "/proc/$controller/cwd"
      return
    fi
    kill -0 "$controller" 2>/dev/null || break
    sleep 0.1
  done
  fail "the controller did not start"
}
local_history() {
  mkdir -p "$1"
  printf '127.0.0.1,,,,,,\r\n' >"$1/ZRV-02_IPAddressList.Log"
  printf '7777,,,,,,\r\n' >"$1/ZRV-02_PortList.Log"
}

# Started the way the menu entry says, from an unrelated folder: it works in ~/ZRV-02.
mkdir -p "$work/home" "$work/elsewhere"
local_history "$work/home/ZRV-02"
# and it serves the metrics and the Modbus registers its settings ask for
read -r metrics_port modbus_port < <(shuf -i 20000-32767 -n 2 | xargs)
printf '[metrics]\nlisten=127.0.0.1:%s\n[modbus]\nlisten=127.0.0.1:%s\n' "$metrics_port" "$modbus_port" \
  >"$work/home/ZRV-02/zrv02-controller.conf"
exec_line=$(sed -n 's/^Exec=//p' "$scratch"/usr/share/applications/zrv02-controller.desktop)
# shellcheck disable=SC2086 # the Exec line is split into words as a launcher does
(cd "$work/elsewhere" && HOME="$work/home" exec $exec_line) &
controller=$!
[[ "$(controller_cwd)" == "$work/home/ZRV-02" ]] || fail "a menu start does not work in ~/ZRV-02"
{ printf 'GET /metrics HTTP/1.1\r\n\r\n' >&3 && grep -q '^zrv02_run_active 0' <&3; } \
  3<>"/dev/tcp/127.0.0.1/$metrics_port" || fail "a menu start serves no metrics as its setting asks"
# No record yet: the status word holds only "value missing" (16).
[[ "$(mbpoll -m tcp -1 -0 -r 12 -t 3 -p "$modbus_port" 127.0.0.1 2>&1 | sed -n 's/^\[12\]:\s*//p')" == 16 ]] ||
  fail "a menu start serves no Modbus registers as its setting asks"
kill "$controller"
wait "$controller" 2>/dev/null || true

# Started from a shell: it keeps the shell's folder and makes no ~/ZRV-02.
mkdir -p "$work/fresh-home"
local_history "$work/shell"
(cd "$work/shell" && HOME="$work/fresh-home" exec zrv02-controller) &
controller=$!
[[ "$(controller_cwd)" == "$work/shell" ]] || fail "a shell start leaves the shell's folder"
[[ ! -e "$work/fresh-home/ZRV-02" ]] || fail "a shell start made ~/ZRV-02"
kill "$controller"
wait "$controller" 2>/dev/null || true
controller=

# A menu entry that takes a file (%f, %F, %u, %U) opens the one handed to it,
# started from an unrelated folder: its window, on a virtual display, names it.
# The display listens on no socket file, so no /tmp/.X11-unix is made.
printf '2026/12/07 06:00:00 95.0 25.3 %%&DEG\r\n' >"$work/handed.log"
for entry in "${menu_entries[@]}"; do
  exec_line=$(sed -n 's/^Exec=//p' "$entry")
  [[ "$exec_line" =~ %[fFuU] ]] || continue
  # shellcheck disable=SC2016 # the inner shell expands its own arguments
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-nolisten unix -screen 0 1280x1024x24" bash -c '
    cd "$1" && HOME="$2" $3 >/dev/null 2>&1 &
    opened=$!
    found=1
    for _ in $(seq 100); do
      xdotool search --name "$4" >/dev/null 2>&1 && { found=0; break; }
      sleep 0.1
    done
    kill $opened
    exit $found' check "$work/elsewhere" "$work/home" "${exec_line//%[fFuU]/$work/handed.log}" \
    "$work/handed.log" || fail "$(basename "$entry") does not open a file handed to it"
done

[[ "$(package_state)" == "$state_before" ]] ||
  fail "the machine's $package changed from \"$state_before\" to \"$(package_state)\""
echo "check-package: $(basename "$deb") builds, resolves its dependencies, and runs from a scratch root"
