#!/usr/bin/env bash
# The include check on a tree with one planted fault of each kind: each must be named, with its
# line, and nothing else.
# usage: check_includes_test.sh [<Qt include folder>]
set -euo pipefail
here=$(dirname "$0")
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

plant() { mkdir -p "$(dirname "$tree/$1")" && printf '%b' "$2" >"$tree/$1"; }
plant core/db/Fine.cpp '#include "core/db/Connection.h"\n#include <QString>\n#include <QtCore/QDate>\n'
plant core/db/Window.cpp '\n#include "gui/dialogs/ErrorBox.h"\n'
plant core/text/Icon.h '#pragma once\n  #  include <QIcon>\n'
plant core/reports/Print.cpp '#include <QString>\n#include <QtPrintSupport/QPrinter>\n'
plant core/files/Widgets.cpp '#include <QtWidgets>\n'
plant core/files/Tool.cpp '#include "tools/admin/AdminTool.h"\n'
plant core/session/Main.cpp '#include "app/Main.h"\n'
plant gui/records/App.cpp '#include "core/AppError.h"\n#include "app/Main.h"\n'
plant gui/records/Tool.h '#include "gui/widgets/Named.h"\n#include "tools/bench/Bench.h"\n'
plant gui/records/Fine.cpp '#include "gui/records/RecordEditor.h"\n#include <QWidget>\n'

set +e
output=$(bash "$here/check_includes.sh" "$tree" "${1:-}")
code=$?
set -e
echo "$output"
found=$(echo "$output" | grep -oE '^[^:]+:[0-9]+' | sed "s|^$tree/||" | sort)
expected=$(sort <<'LIST'
core/db/Window.cpp:2
core/text/Icon.h:2
core/reports/Print.cpp:2
core/files/Widgets.cpp:1
core/files/Tool.cpp:1
core/session/Main.cpp:1
gui/records/App.cpp:2
gui/records/Tool.h:2
LIST
)
if [[ $code -eq 0 ]]; then
    echo "FAIL: the check passed a tree with planted faults"
    exit 1
fi
if [[ $found != "$expected" ]]; then
    echo "FAIL: expected exactly:"
    echo "$expected"
    exit 1
fi
