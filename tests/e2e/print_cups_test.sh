#!/usr/bin/env bash
# End-to-end print journey: a private print server with a PDF-writing queue,
# the real program under its own X server, Ctrl+P, the queue picked in the
# print dialog, Print. The PDF that comes out of the queue must be one
# landscape page for the wide picture, with the picture centred on it inside
# a thin frame.
#
# Usage: print_cups_test.sh PATH/TO/tintwell PATH/TO/tintwell-config
# Exit status: 0 passed, 1 failed, 77 skipped (the reason is printed).
#
# The print server needs root (its PDF backend only runs as root) and the
# Debian packages cups and printer-driver-cups-pdf; without them the journey
# is skipped, never passed. Everything it starts is stopped by process id.
set -uo pipefail

App=${1:?usage: print_cups_test.sh TINTWELL TINTWELL_CONFIG}
Config=${2:?usage: print_cups_test.sh TINTWELL TINTWELL_CONFIG}
# The whole journey normally takes 10 to 20 seconds.
TimeLimit=60
# A wide picture of the shipped catalog (1176 x 629).
WidePicture=sleeping_cat.twf
Ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
Backend=/usr/lib/cups/backend/cups-pdf
# The PDF backend reads a per-queue configuration from this folder, named
# after the device URI, so the shared configuration file stays untouched.
PdfBackendConfigDir=/etc/cups

Skip() { echo "SKIPPED: $*"; exit 77; }
Fail() {
  echo "FAILED: $*"
  ShowLogs
  exit 1
}

[ -x "$App" ] || Skip "the program $App is not built"
[ -x "$Config" ] || Skip "the settings tool $Config is not built"
[ "$(id -u)" -eq 0 ] || Skip "the print server must be started as root (the PDF backend runs only as root)"
for Tool in cupsd lpadmin lpstat Xvfb xdotool pdftoppm pdfinfo convert; do
  command -v "$Tool" >/dev/null 2>&1 || Skip "$Tool is not installed (scripts/install-deps.sh installs it)"
done
[ -x "$Backend" ] || Skip "the PDF backend $Backend is not installed (printer-driver-cups-pdf)"
[ -r "$Ppd" ] || Skip "the PDF printer description $Ppd is missing (printer-driver-cups-pdf)"
[ -w "$PdfBackendConfigDir" ] ||
  Skip "$PdfBackendConfigDir is not writable for the PDF backend's queue configuration"

Work=$(mktemp -d /tmp/tintwell-print-cups.XXXXXX) || Fail "no temporary folder"
# The print server's filters run as user lp and must reach their files.
chmod 755 "$Work"
# Two PDF queues: the system's default one, which the dialog shows first,
# and the one the journey picks in the list. The print server lists queues
# by name, so "other" comes before "wide".
OtherQueue="tintwell_e2e_$$_other"
Queue="tintwell_e2e_$$_wide"
QueueConfigs=()
Pids=()

ShowLogs() {
  for Log in "$Work"/cups/log/error_log "$Work"/pdf-log/cups-pdf_log "$Work"/app.log "$Work"/cupsd.out; do
    [ -s "$Log" ] || continue
    echo "--- $Log (last lines)"
    tail -n 25 "$Log"
  done
}

Cleanup() {
  local Index
  for ((Index = ${#Pids[@]} - 1; Index >= 0; Index--)); do
    kill "${Pids[Index]}" 2>/dev/null
  done
  for ((Index = ${#Pids[@]} - 1; Index >= 0; Index--)); do
    # A process that ignores the polite request gets the hard one after 5 s.
    for _ in $(seq 50); do
      kill -0 "${Pids[Index]}" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "${Pids[Index]}" 2>/dev/null
    wait "${Pids[Index]}" 2>/dev/null
  done
  ((${#QueueConfigs[@]})) && rm -f "${QueueConfigs[@]}"
  # TINTWELL_E2E_KEEP=1 keeps the logs, the PDF and its rendering to look at.
  if [ "${TINTWELL_E2E_KEEP:-0}" = 1 ]; then echo "kept $Work"; else rm -rf "$Work"; fi
}
trap Cleanup EXIT
trap 'exit 1' INT TERM

# Whether the process is alive (an ended child not yet waited for is not).
Running() {
  local State
  State=$(ps -o stat= -p "$1" 2>/dev/null) && [[ $State != Z* ]]
}

TimeLeft() { [ "$SECONDS" -lt "$TimeLimit" ]; }

# Waits (polling every 0.2 s, at most Seconds) until the command succeeds.
WaitFor() {
  local Seconds=$1
  shift
  local Tries=$((Seconds * 5))
  while ((Tries-- > 0)) && TimeLeft; do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}

StartPrintServer() {
  local Root="$Work/cups"
  mkdir -p "$Root/etc/ppd" "$Root/spool/tmp" "$Root/cache" "$Root/state" "$Root/log"
  chmod -R 755 "$Root"
  Socket="$Root/cups.sock"
  cat >"$Root/etc/cupsd.conf" <<EOF
LogLevel info
Listen $Socket
Browsing No
WebInterface No
DefaultAuthType None
MaxJobs 10
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
EOF
  cat >"$Root/etc/cups-files.conf" <<EOF
ServerRoot $Root/etc
RequestRoot $Root/spool
TempDir $Root/spool/tmp
CacheDir $Root/cache
StateDir $Root/state
Printcap $Root/printcap
ErrorLog $Root/log/error_log
AccessLog $Root/log/access_log
PageLog $Root/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
User lp
Group lp
SystemGroup root
FileDevice No
EOF
  cupsd -f -c "$Root/etc/cupsd.conf" -s "$Root/etc/cups-files.conf" >"$Work/cupsd.out" 2>&1 &
  CupsPid=$!
  Pids+=("$CupsPid")
  export CUPS_SERVER="$Socket"
  local Tries=50
  until [ -S "$Socket" ] && lpstat -r >/dev/null 2>&1; do
    Running "$CupsPid" ||
      Skip "cupsd could not start: $(cat "$Work/cupsd.out" "$Root/log/error_log" 2>/dev/null | tail -n 3 | tr '\n' ' ')"
    if ((Tries-- <= 0)) || ! TimeLeft; then Fail "cupsd did not answer on $Socket within 10 s"; fi
    sleep 0.2
  done
}

# Adds a PDF queue named $1 that writes into the folder $2.
AddPdfQueue() {
  local Name=$1 Folder=$2
  local QueueConfig="$PdfBackendConfigDir/cups-pdf-$Name.conf"
  mkdir -p "$Folder" "$Work/pdf-spool" "$Work/pdf-log"
  chmod 1777 "$Folder"
  QueueConfigs+=("$QueueConfig")
  cat >"$QueueConfig" <<EOF
Out $Folder
AnonDirName $Folder
UserUMask 0022
Spool $Work/pdf-spool
Log $Work/pdf-log
LogType 3
Grp root
Label 0
EOF
  lpadmin -p "$Name" -E -v "cups-pdf:/$Name" -P "$Ppd" >"$Work/lpadmin.out" 2>&1 ||
    Fail "lpadmin could not add the queue $Name: $(cat "$Work/lpadmin.out")"
  WaitFor 5 sh -c "lpstat -p '$Name' | grep -q enabled" || Fail "the queue $Name is not enabled"
}

AddQueues() {
  Out="$Work/out"
  OtherOut="$Work/other-out"
  AddPdfQueue "$OtherQueue" "$OtherOut"
  AddPdfQueue "$Queue" "$Out"
  lpadmin -d "$OtherQueue" >/dev/null 2>&1 || Fail "lpadmin could not make $OtherQueue the default"
}

StartDisplay() {
  local Number
  for _ in $(seq 20); do
    Number=$((90 + RANDOM % 400))
    [ -e "/tmp/.X11-unix/X$Number" ] || [ -e "/tmp/.X$Number-lock" ] || break
  done
  Xvfb ":$Number" -screen 0 1280x800x24 -nolisten tcp >"$Work/xvfb.out" 2>&1 &
  Pids+=("$!")
  export DISPLAY=":$Number"
  WaitFor 10 xdotool getdisplaygeometry || Fail "Xvfb did not start on $DISPLAY: $(cat "$Work/xvfb.out")"
}

StartProgram() {
  export HOME="$Work/home" XDG_CONFIG_HOME="$Work/home/.config" TINTWELL_SOUND=silent
  export XDG_RUNTIME_DIR="$Work/runtime"
  mkdir -p "$HOME/Pictures" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  local Defaults
  Defaults="$(dirname "$App")/default/default.ini"
  "$Config" --defaults "$Defaults" set Main CurrentPicture "$WidePicture" >"$Work/config.out" 2>&1 ||
    Fail "tintwell-config could not choose the wide picture: $(cat "$Work/config.out")"
  "$App" >"$Work/app.log" 2>&1 &
  AppPid=$!
  Pids+=("$AppPid")
  MainWindow=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tintwell$' 2>/dev/null | head -n 1)
  [ -n "$MainWindow" ] || Fail "the main window did not appear"
}

# Ctrl+P; in the dialog the list shows the default queue, so the journey
# opens the list, steps down to the next queue and presses Print. The
# dialog's design: 481 x 178, printer list at (32, 84) 417 x 24, Print
# button at (341, 128) 124 x 36.
PrintFromDialog() {
  eval "$(xdotool getwindowgeometry --shell "$MainWindow")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  xdotool windowfocus --sync "$MainWindow" 2>/dev/null
  sleep 0.5
  xdotool key --clearmodifiers ctrl+p
  local Dialog
  Dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Print picture$' 2>/dev/null | head -n 1)
  [ -n "$Dialog" ] || Fail "the print dialog did not open on Ctrl+P"
  xdotool windowfocus --sync "$Dialog" 2>/dev/null
  eval "$(xdotool getwindowgeometry --shell "$Dialog")"
  sleep 0.5
  xdotool mousemove $((X + 32 + 208)) $((Y + 84 + 12)) click 1
  sleep 0.5
  xdotool key Down
  sleep 0.2
  xdotool key Return
  sleep 0.5
  xdotool mousemove $((X + 341 + 62)) $((Y + 128 + 18)) click 1
}

WaitForPdf() {
  local Seconds=$1
  while TimeLeft && ((Seconds-- > 0)); do
    [ -z "$(find "$OtherOut" -name '*.pdf' 2>/dev/null)" ] ||
      Fail "the picture was printed on the default queue $OtherQueue, not on the chosen $Queue"
    Pdf=$(find "$Out" -name '*.pdf' -size +0 2>/dev/null | head -n 1)
    # The backend writes the file in one go and then ends; the job is done
    # when the queue holds no job any more.
    if [ -n "$Pdf" ] && [ -z "$(lpstat -o "$Queue" 2>/dev/null)" ]; then return 0; fi
    sleep 1
  done
  return 1
}

# Prints the colour of the pixel (X, Y) of the image as "R,G,B".
Pixel() {
  convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)],%[fx:int(255*p{'"$2"','"$3"'}.g)],%[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}

IsDark() {
  local R G B
  IFS=, read -r R G B <<<"$1"
  [ "$R" -lt 100 ] && [ "$G" -lt 100 ] && [ "$B" -lt 100 ]
}

IsWhite() {
  local R G B
  IFS=, read -r R G B <<<"$1"
  [ "$R" -gt 240 ] && [ "$G" -gt 240 ] && [ "$B" -gt 240 ]
}

CheckPdf() {
  local Pages
  Pages=$(pdfinfo "$Pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
  [ "$Pages" = 1 ] || Fail "the PDF has ${Pages:-no} pages, expected one"
  pdftoppm -r 50 -aa no -aaVector no -singlefile -png "$Pdf" "$Work/page" || Fail "pdftoppm could not render $Pdf"
  local Page="$Work/page.png" PageW PageH
  read -r PageW PageH < <(convert "$Page" -format '%w %h' info:)
  echo "page rendered at ${PageW}x${PageH}"
  # The drawing's bounding box on the white page: the frame around the
  # picture is its outermost ink.
  local Box BoxW BoxH BoxX BoxY
  Box=$(convert "$Page" -fuzz 10% -trim -format '%w %h %X %Y' info:)
  read -r BoxW BoxH BoxX BoxY <<<"${Box//+/}"
  echo "drawing at ${BoxW}x${BoxH}+${BoxX}+${BoxY}"
  local Left=$BoxX Right=$((PageW - BoxX - BoxW)) Top=$BoxY Bottom=$((PageH - BoxY - BoxH))
  echo "margins left $Left right $Right top $Top bottom $Bottom"
  # Centred within a pixel or two of rounding at this resolution.
  ((Left - Right <= 2 && Right - Left <= 2)) || Fail "not centred across: left margin $Left, right $Right"
  ((Top - Bottom <= 2 && Bottom - Top <= 2)) || Fail "not centred down: top margin $Top, bottom $Bottom"
  ((Left > 0 && Top > 0)) || Fail "the picture touches the page edge"
  # Landscape: the wide picture runs along the paper's long side. A queue
  # may hand over a landscape job either as a landscape page or, as paper
  # is fed, as a portrait page with the picture turned a quarter.
  local Long Short
  if ((PageW > PageH)); then
    ((BoxW > BoxH)) || Fail "a ${BoxW}x${BoxH} picture on a landscape page: printed in portrait"
    Long=$BoxW Short=$BoxH
    echo "landscape page"
  else
    ((BoxH > BoxW)) || Fail "the wide picture lies across the short side of the ${PageW}x${PageH} page: printed in portrait"
    Long=$BoxH Short=$BoxW
    echo "portrait paper with the picture turned for landscape"
  fi
  # Fitted to the page without distortion: the sides keep 1176 : 629, and
  # the long side fills the paper's long side up to a small margin.
  local Ratio=$((Long * 1000 / Short)) PageLong=$((PageW > PageH ? PageW : PageH))
  ((Ratio > 1800 && Ratio < 1940)) || Fail "the picture's proportions changed: ${BoxW}x${BoxH}"
  ((Long * 100 > PageLong * 85)) || Fail "the picture is not fitted: $Long of $PageLong pixels along the paper"

  # The frame: dark at the middle of each side of the box.
  local MidX=$((BoxX + BoxW / 2)) MidY=$((BoxY + BoxH / 2)) Last
  local -a Probes=("$MidX $BoxY top" "$MidX $((BoxY + BoxH - 1)) bottom"
    "$BoxX $MidY left" "$((BoxX + BoxW - 1)) $MidY right")
  for Probe in "${Probes[@]}"; do
    read -r PX PY Side <<<"$Probe"
    Last=$(Pixel "$Page" "$PX" "$PY")
    IsDark "$Last" || Fail "no frame at the $Side side: pixel ($PX, $PY) is $Last"
  done
  # Inside the frame the picture: mostly white paper with black line art.
  local Ink
  Ink=$(convert "$Page" -crop "$((BoxW - 6))x$((BoxH - 6))+$((BoxX + 3))+$((BoxY + 3))" +repage \
    -colorspace Gray -format '%[fx:int(1000*(1-mean))]' info:)
  echo "ink inside the frame: $Ink per mille"
  ((Ink > 5 && Ink < 300)) || Fail "inside the frame $Ink per mille is ink, not a line-art picture"
  # Outside the frame the paper stays white.
  Last=$(Pixel "$Page" "$MidX" $((BoxY - 2)))
  IsWhite "$Last" || Fail "the paper above the frame is $Last, not white"
  Last=$(Pixel "$Page" $((BoxX - 2)) "$MidY")
  IsWhite "$Last" || Fail "the paper left of the frame is $Last, not white"
}

StartPrintServer
AddQueues
StartDisplay
StartProgram
PrintFromDialog
WaitForPdf 30 || Fail "no PDF appeared in $Out"
echo "printed: $Pdf"
# The program saw the print server's queues through Qt's print support:
# with no printer it would have written its own PDF into the pictures
# folder instead.
[ -z "$(find "$HOME" -name '*.pdf' 2>/dev/null)" ] ||
  Fail "the program wrote a PDF file of its own: it did not see the print queues"
[ -n "$(lpstat -W completed -o "$Queue" 2>/dev/null)" ] || Fail "the queue $Queue has no completed job"
CheckPdf
echo "PASSED: the wide picture came out of the queue $Queue as a centred, framed landscape page"
