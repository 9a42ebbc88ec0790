#!/usr/bin/env bash
# Builds the Debian package from the build folder and reads it back: files, control fields,
# dependencies, the installed program, and lintian.
# Usage: package_contents.sh BUILD_DIR VERSION
source "$(dirname "$0")/common.sh"

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/lexivar_"$version"_*.deb)

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = lexivar ] || fail "Package"
[ "$(field Version)" = "$version" ] || fail "Version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture"
[ -n "$(field Maintainer)" ] || fail "Maintainer"
depends=$(field Depends)
for library in libqt6widgets6 libqt6printsupport6 libsqlcipher0 libmdb3 libc6 qt6-qpa-plugins libpq5; do
    [[ "$depends" == *"$library"* ]] || fail "Depends ne nomme pas $library : $depends"
done
dpkg-deb -I "$deb" >/dev/null

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/lexivar ./usr/bin/lexivar-admin ./usr/share/applications/lexivar.desktop \
    ./usr/share/icons/hicolor/48x48/apps/lexivar.png ./usr/share/man/man1/lexivar-admin.1.gz \
    ./usr/share/doc/lexivar/copyright ./usr/share/lexivar/translations/qtbase_fr.qm; do
    grep -qxF "$file" <<<"$contents" || fail "$file manque dans le paquet"
done
outside=$(grep -v '^\./usr/' <<<"$contents" | grep -vx '\./' || true)
[ -z "$outside" ] || fail "fichiers hors de /usr : $outside"

# The packaged program runs from where the package puts it.
dpkg-deb -x "$deb" "$work/root"
[ "$("$work/root/usr/bin/lexivar" --version)" = "Lexivar $version" ] || fail "lexivar --version"
file "$work/root/usr/bin/lexivar" | grep -q ', stripped' || fail "programme non dépouillé"

lintian --fail-on error --no-tag-display-limit "$deb" || fail "lintian"
echo "Paquet conforme : $deb"
