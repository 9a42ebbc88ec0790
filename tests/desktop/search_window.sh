#!/usr/bin/env bash
# The search window keeps the user's choice when its own question closes, and shows at once
# what the record editor changed.
source "$(dirname "$0")/session.sh"

# The list of the search window, in the window's coordinates.
shows() { list_bottom "Rechercher une fiche" 8 80 769 393; }
rows_shown() { (($(shows) > 0)); }
shorter_than() { (($(shows) < $1)); }

tray_entry 2 # "Rechercher une fiche"
focus "Rechercher une fiche"
keys alt+r # every record
expect 10 "la recherche n'affiche aucune fiche" rows_shown

# No to the delete question: the list stays as it was, the chosen record still chosen.
click_in "Rechercher une fiche" 200 120
keys alt+s
sign_in admin admin
focus "Suppression d'une fiche?"
keys Escape
focus "Rechercher une fiche"
keys alt+s
within 10 window "Suppression d'une fiche?" ||
    fail "après Non, la fiche choisie ne l'est plus (la liste a été remplie de nouveau)"
keys Escape

# A record deleted in the editor leaves the list as soon as the user comes back, every time.
for round in 1 2; do
    focus "Rechercher une fiche"
    before=$(shows)
    click_in "Rechercher une fiche" 200 120
    keys End alt+a # the last record, opened in the editor
    focus "Fiche"
    keys alt+s
    focus "Suppression d'une fiche?"
    keys Return # Oui
    expect 5 "la question ne se ferme pas" no_window "Suppression d'une fiche?"
    # Closing the question gives the editor back the keyboard; coming back to the search window
    # before that happens would lose the race and leave the editor on top.
    within 5 active "Fiche" || true
    focus "Rechercher une fiche"
    within 10 shorter_than "$before" ||
        fail "tour $round : la fiche supprimée est toujours dans la liste"
done
