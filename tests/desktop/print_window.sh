#!/usr/bin/env bash
# Printing asks once whether to print everything when nothing is chosen, and leaves what the
# user chose chosen.
source "$(dirname "$0")/session.sh"

# The menu bar stands above the window's controls.
shows() { list_bottom "Imprimer une fiche" 8 105 769 393; }
rows_shown() { (($(shows) > 0)); }

# "Impression" > "Imprimer (court)".
print_short() {
    click_in "Imprimer une fiche" 40 10
    expect 5 "le menu Impression ne s'ouvre pas" menu_shown
    keys Down Down Return
}

# The print dialog comes; the user closes it.
cancel_print_dialog() {
    within 10 print_dialog_shown || {
        question "Lexivar" && fail "$1"
        fail "la fenêtre d'impression n'apparaît pas"
    }
    keys Escape
    expect 5 "la fenêtre d'impression ne se ferme pas" not_print_dialog_shown
    focus "Imprimer une fiche"
}

tray_entry 3 # "Imprimer des fiches"
sign_in admin admin
focus "Imprimer une fiche"
keys alt+r
expect 10 "la recherche n'affiche aucune fiche" rows_shown

for round in 1 2; do
    print_short
    expect 5 "la question d'impression n'apparaît pas" question "Lexivar"
    keys alt+o # Oui
    cancel_print_dialog "tour $round : la question est posée une seconde fois"
done

click_in "Imprimer une fiche" 200 145
for round in 1 2; do
    print_short
    cancel_print_dialog "tour $round : la fiche choisie ne l'est plus"
done
