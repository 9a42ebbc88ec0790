#!/usr/bin/env bash
# Enter in the sign-in window signs in once: one box per Enter, then a real sign-in.
source "$(dirname "$0")/session.sh"

tray_entry 1 # "Ajouter une fiche" needs someone signed in
focus "Veuillez entrer vos informations"
type_text personne
keys Tab
type_text admin
keys Return
focus "Erreur!"
keys Return
expect 5 "la fenêtre d'ouverture de session ne reprend pas le clavier" \
    active "Veuillez entrer vos informations"
! within 2 window "Erreur!" || fail "une seule Entrée a montré le message d'erreur deux fois"

keys shift+Tab ctrl+a
type_text admin
keys Tab ctrl+a
type_text admin
keys Return
expect 10 "la fiche ne s'ouvre pas après l'ouverture de session" window "Fiche"
no_window "Erreur!" || fail "un message d'erreur est apparu pour un usager valide"
