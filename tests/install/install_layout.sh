#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop expects there.
# Usage: install_layout.sh BUILD_DIR VERSION
source "$(dirname "$0")/common.sh"

cmake --install "$build" --prefix "$work" >/dev/null

expected=(
    bin/lexivar
    bin/lexivar-admin
    share/applications/lexivar.desktop
    share/lexivar/translations/qtbase_fr.qm
    share/man/man1/lexivar.1.gz
    share/man/man1/lexivar-admin.1.gz
    share/doc/lexivar/copyright
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/lexivar.png")
done
for file in "${expected[@]}"; do
    [ -s "$work/$file" ] || fail "$file manque dans l'installation"
done
[ -x "$work/bin/lexivar" ] && [ -x "$work/bin/lexivar-admin" ] || fail "programmes non exécutables"

# Nothing of the build or the tests is installed.
unexpected=$(cd "$work" && find . -type f | sed 's|^\./||' | grep -vxF -f <(printf '%s\n' "${expected[@]}") |
    grep -v '^share/doc/lexivar/changelog.gz$' || true)
[ -z "$unexpected" ] || fail "fichiers inattendus : $unexpected"

# Each icon has the size its folder names.
for size in 16 48 256; do
    got=$(identify -format '%wx%h' "$work/share/icons/hicolor/${size}x${size}/apps/lexivar.png")
    [ "$got" = "${size}x${size}" ] || fail "icône ${size}x${size} mesure $got"
done

desktop="$work/share/applications/lexivar.desktop"
desktop-file-validate "$desktop" || fail "lexivar.desktop n'est pas valide"
grep -qx 'Exec=lexivar' "$desktop" || fail "Exec"
grep -qx 'Icon=lexivar' "$desktop" || fail "Icon"
grep -qx 'Categories=Office;' "$desktop" || fail "Categories"
grep -q '^Comment=.*français' "$desktop" || fail "commentaire en français"

for page in lexivar lexivar-admin; do
    gzip -t "$work/share/man/man1/$page.1.gz" || fail "page de manuel $page"
    zcat "$work/share/man/man1/$page.1.gz" | grep -q "^\.TH ${page^^} 1 .*Lexivar $version" ||
        fail "en-tête de la page de manuel $page"
done

# The installed programs answer without a display, and find nothing of the build folder.
[ "$(env -u DISPLAY "$work/bin/lexivar" --version)" = "Lexivar $version" ] || fail "lexivar --version"
[ "$("$work/bin/lexivar-admin" --version)" = "lexivar-admin $version" ] || fail "lexivar-admin --version"
env -u DISPLAY "$work/bin/lexivar" --help | grep -q 'XDG_CONFIG_HOME' || fail "lexivar --help"
echo "Installation conforme dans $work"
