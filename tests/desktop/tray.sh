#!/usr/bin/env bash
# The notification-area icon: a click opens the menu, a double click the search window only.
source "$(dirname "$0")/session.sh"

click_tray
expect 5 "un clic sur l'icône n'ouvre pas le menu" menu_shown
keys Escape
expect 5 "le menu ne se ferme pas" not_menu_shown

double_click_tray
expect 10 "un double-clic sur l'icône n'ouvre pas la fenêtre de recherche" \
    window "Rechercher une fiche"
! within 2 menu_shown || fail "le double-clic a aussi ouvert le menu"
for title in "Veuillez entrer vos informations" "Fiche"; do
    no_window "$title" || fail "le double-clic a ouvert « $title »"
done
