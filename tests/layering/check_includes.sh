#!/usr/bin/env bash
# Fails when an include points the wrong way, and names each offending file and line:
#   src/core/ includes no gui/, tools/ or app/ header and no Qt Gui, Widgets or PrintSupport
#   header (it links Qt Core only);
#   src/gui/ includes no tools/ or app/ header.
# usage: check_includes.sh <source folder> [<Qt include folder>]
set -euo pipefail
src=$1
qt=${2:-}

# The forbidden Qt headers by class name (<QWidget>): the installed module folders list them all;
# a few common ones stand in when the folders are not where they are expected.
names=(QApplication QGuiApplication QWidget QDialog QIcon QPixmap QImage QColor QFont QPainter
       QTextDocument QPrinter QPrintDialog QPageSetupDialog QDesktopServices QClipboard)
if [[ -n $qt ]]; then
    for module in QtGui QtWidgets QtPrintSupport; do
        for header in "$qt/$module"/Q*; do
            name=${header##*/}
            [[ -f $header && $name != *.* ]] && names+=("$name")
        done
    done
fi
qt_headers="(QtGui|QtWidgets|QtPrintSupport)(/[^>\"]*)?|$(IFS='|'; echo "${names[*]}")"

status=0
# Lists the includes under <folder> whose target matches <pattern>, with <why>.
forbid() {
    local folder=$1 pattern=$2 why=$3 hits
    [[ -d $folder ]] || return 0
    hits=$(grep -rnE --include='*.h' --include='*.hpp' --include='*.cpp' \
               "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($pattern)[>\"]" "$folder" || true)
    if [[ -n $hits ]]; then
        while IFS= read -r hit; do
            echo "$hit    <- $why"
        done <<<"$hits"
        status=1
    fi
}

forbid "$src/core" '(gui|tools|app)/[^>"]*' 'core includes no window, tool or program header'
forbid "$src/core" "$qt_headers" 'core includes no Qt Gui, Widgets or PrintSupport header'
forbid "$src/gui" '(tools|app)/[^>"]*' 'windows include no tool or program header'

if [[ $status -eq 0 ]]; then
    echo "includes point one way: core <- gui <- tools, app"
fi
exit $status
