#!/bin/sh
# Installs what is missing, builds, and starts Morphocalcule.
set -eu
cd "$(dirname "$0")"
./scripts/setup.sh
if [ -z "${DISPLAY:-}" ]; then
    echo "Morphocalcule a besoin d'un affichage graphique X11 : la variable DISPLAY n'est pas définie." >&2
    echo "Lancez cette commande depuis une session graphique." >&2
    exit 1
fi
exec ./build/app/morphocalcule
