# Shared by the desktop tests: a virtual X server with a window manager and a notification
# area, the real program on a small demo base, and what a user does and sees there.
# Sourced with the folder of the built programs as the first argument of the test.
set -euo pipefail

BIN="$(cd "$1" && pwd)"
WORK="$(mktemp -d)"
PIDS=()
# Well before the test runner's own limit, which would kill the test without a word: the
# failure then says which step was under way and shows the screen.
DEADLINE_S=200

# Every step goes to a trace; a failure shows its end.
exec {TRACE_FD}>"$WORK/trace.txt"
BASH_XTRACEFD=$TRACE_FD
set -x

finish() {
    local status=$?
    if ((status != 0)); then
        echo "Échec sur l'écran ${DISPLAY:-?} ; fenêtres visibles :" >&2
        visible_titles >&2 || true
        cat "$WORK"/*.log >&2 2>/dev/null || true
        echo "Dernières étapes :" >&2
        tail -n 25 "$WORK/trace.txt" >&2 || true
        if command -v import >/dev/null 2>&1; then
            timeout 10 import -window root "$WORK/failure.png" 2>/dev/null &&
                cp "$WORK/failure.png" "${TMPDIR:-/tmp}/lexivar-desktop-$(basename "$0" .sh).png" ||
                true
        fi
    fi
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do kill "${PIDS[i]}" 2>/dev/null || true; done
    # A process that ignores the request is not waited for forever.
    within 5 none_alive || kill -KILL "${PIDS[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$WORK"
    exit "$status"
}
trap finish EXIT
trap 'fail "le test dépasse ${DEADLINE_S} s"' TERM

none_alive() { ! kill -0 "${PIDS[@]}" 2>/dev/null; }

# X clients wait on the server, some without end (a --sync that never sees its event): each is
# bounded, so a stuck one fails its step.
xdo() { timeout 10 xdotool "$@"; }
x_client() { timeout 10 "$@"; }

fail() {
    echo "ÉCHEC : $*" >&2
    exit 1
}

now_ms() { date +%s%3N; }

# Runs a command until it succeeds; false once the deadline (seconds) has passed.
within() {
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@" >/dev/null 2>&1; do
        (($(now_ms) < deadline)) || return 1
        sleep 0.05
    done
}

# Waits for a condition, or fails the test with a message.
expect() {
    local seconds=$1 message=$2
    shift 2
    within "$seconds" "$@" || fail "$message"
}

# The X server takes the first free display itself and tells which one: parallel runs never
# collide on a display number.
start_desktop() {
    exec 3< <(Xvfb -displayfd 1 -screen 0 1024x640x24 -nolisten tcp -noreset 2>/dev/null &
        echo "pid $!")
    local line display=""
    while read -r -t 10 line <&3; do
        case "$line" in
        pid*) PIDS+=("${line#pid }") ;;
        *) display="$line" && break ;;
        esac
    done
    [[ -n "$display" ]] || fail "le serveur X virtuel ne démarre pas"
    export DISPLAY=":$display"
    expect 10 "le serveur X virtuel ne répond pas" xdo getdisplaygeometry
    openbox >"$WORK/openbox.log" 2>&1 &
    PIDS+=($!)
    trayer --edge top --align right --widthtype pixel --width 60 --heighttype pixel --height 28 \
        --transparent false --tint 0xdddddd >"$WORK/trayer.log" 2>&1 &
    PIDS+=($!)
    expect 30 "la zone de notification n'apparaît pas" xdo search --name '^panel$'
}

# Starts the program on the demo base, configured beside it, and waits for its tray icon.
start_lexivar() {
    cp "$BIN/lexivar" "$WORK/"
    "$BIN/lexivar-admin" demo "$WORK/Lexivar4.mdb" >/dev/null
    printf '[Database]\r\nPath=%s\r\n' "$WORK/Lexivar4.mdb" >"$WORK/Lexivar.ini"
    mkdir -m 700 "$WORK/run"
    QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$WORK/run" XDG_CONFIG_HOME="$WORK/config" \
        LEXIVAR_REGISTRY="$WORK/registry.ini" LANG=fr_CA.UTF-8 LC_ALL=fr_CA.UTF-8 \
        "$WORK/lexivar" \
        >"$WORK/lexivar.log" 2>&1 &
    PIDS+=($!)
    expect 30 "l'icône n'arrive pas dans la zone de notification" tray_icon_ready
    # The splash window closes by itself.
    expect 20 "la fenêtre d'accueil ne se ferme pas" no_splash
}

# The program's icon, as the notification area's panel holds it.
tray_icon() {
    local panel
    panel=$(xdo search --name '^panel$' | head -1)
    [[ -n "$panel" ]] && x_client xwininfo -tree -id "$panel" | grep -m1 '("lexivar"'
}

tray_icon_ready() { [[ -n "$(tray_icon)" ]]; }

# The centre of the icon in the notification area.
tray_point() {
    tray_icon |
        sed -E 's/.* ([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+).*/\3 \4 \1 \2/' |
        awk '{print $1 + int($3 / 2), $2 + int($4 / 2)}'
}

# The pointer moves without --sync: xdotool's --sync waits for motion that never comes when
# the pointer already stands there, and the X server handles the move before the click anyway.
click_tray() {
    local point
    point=$(tray_point)
    # shellcheck disable=SC2086
    xdo mousemove $point click "${1:-1}"
}

double_click_tray() {
    local point
    point=$(tray_point)
    # shellcheck disable=SC2086
    xdo mousemove $point click --repeat 2 --delay 60 1
}

visible_titles() {
    local id
    for id in $(xdo search --onlyvisible --name '.' 2>/dev/null); do
        xdo getwindowname "$id"
    done
}

# A shown window by its exact title.
window_of() {
    local pattern
    pattern=$(printf '%s' "$1" | sed 's/[][\.*^$?+(){}|]/\\&/g')
    xdo search --onlyvisible --name "^$pattern\$" | head -1
}
window() { [[ -n "$(window_of "$1")" ]]; }
no_window() { ! window "$1"; }
active() { [[ "$(xdo getactivewindow getwindowname 2>/dev/null)" == "$1" ]]; }

# Waits for a window by its title, brings it to the front and gives it the keyboard.
focus() {
    expect "${2:-10}" "la fenêtre « $1 » n'apparaît pas" window "$1"
    xdo windowactivate --sync "$(window_of "$1")" >/dev/null 2>&1 || true
    expect 5 "la fenêtre « $1 » ne prend pas le clavier" active "$1"
}

# The program's windows on the screen.
shown_windows() { xdo search --onlyvisible --class lexivar 2>/dev/null; }

# A pop-up menu of the program is on the screen: a window no manager frames, bigger than the
# notification-area icon.
menu_shown() {
    local id
    for id in $(shown_windows); do
        x_client xwininfo -id "$id" | awk '/Override Redirect State: yes/ {o = 1} /Height:/ {h = $2}
            END {exit !(o && h > 40)}' && return 0
    done
    return 1
}

# A window of the program of this kind (_NET_WM_WINDOW_TYPE_…, _NET_WM_STATE_…) is shown,
# with this title when one is given.
shown_with() {
    local id
    for id in $(shown_windows); do
        [[ -z "${2:-}" || "$(xdo getwindowname "$id")" == "$2" ]] || continue
        x_client xprop -id "$id" _NET_WM_WINDOW_TYPE _NET_WM_STATE 2>/dev/null | grep -q "$1" && return 0
    done
    return 1
}

# A box or question waiting for an answer, by its title.
question() { shown_with _NET_WM_STATE_MODAL "$1"; }
no_question() { ! question "$1"; }
no_splash() { ! shown_with _NET_WM_WINDOW_TYPE_SPLASH; }

not_menu_shown() { ! menu_shown; }

# The print dialog, under the title Qt's French translation gives it.
print_dialog_shown() { window "Imprimer" || window "Impression" || window "Print"; }
not_print_dialog_shown() { ! print_dialog_shown; }

keys() { xdo key --delay 40 "$@"; }
type_text() { xdo type --delay 30 "$1"; }

# Clicks inside a window, at a point given from its top left corner.
click_in() {
    local id
    id=$(window_of "$1")
    xdo mousemove --window "$id" "$2" "$3" click 1
}

# Signs in through the sign-in window, which must be open.
sign_in() {
    focus "Veuillez entrer vos informations"
    type_text "$1"
    keys Tab
    type_text "$2"
    keys Return
    expect 10 "la fenêtre d'ouverture de session reste ouverte" \
        no_window "Veuillez entrer vos informations"
}

# Chooses an entry of the tray menu by its position (1 = "Ajouter une fiche").
tray_entry() {
    click_tray
    expect 5 "le menu de l'icône ne s'ouvre pas" menu_shown
    local downs=()
    for ((i = 0; i < $1; i++)); do downs+=(Down); done
    keys "${downs[@]}" Return
}

# What the list of a window shows, seen as the user sees it: how far down (pixels from the
# list's top) its rows are drawn, or 0 when none is. The list stands at (left, top) in the
# window, width and height given; its frame, header and scroll bars are left out.
list_bottom() {
    local id geometry
    id=$(window_of "$1")
    geometry=$(x_client import -silent -window "$id" png:- 2>/dev/null |
        convert png:- -crop "$(($4 - 24))x$(($5 - 50))+$(($2 + 3))+$(($3 + 28))" +repage \
            -fuzz 8% -trim -format '%@' info: 2>/dev/null)
    # Nothing drawn trims to a one-pixel box.
    if [[ "$geometry" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] &&
        ((BASH_REMATCH[1] > 1 || BASH_REMATCH[2] > 1)); then
        echo $((BASH_REMATCH[2] + BASH_REMATCH[4] + 28))
    else
        echo 0
    fi
}

( sleep "$DEADLINE_S" && kill -TERM $$ ) >/dev/null 2>&1 &
PIDS+=($!)
start_desktop
start_lexivar
