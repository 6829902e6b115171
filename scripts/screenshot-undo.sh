#!/usr/bin/env bash
# Takes the user guide's picture of an unsaved change: the sample workspace opened, a recolour
# made, then the context menu (Undo, recent files) and the question on leaving photographed.
# Usage: scripts/screenshot-undo.sh [output.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec "$root/scripts/screenshot-tour.sh" editor-tour "${1:-$root/docs/editor-undo.png}"
