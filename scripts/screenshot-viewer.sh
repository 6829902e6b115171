#!/usr/bin/env bash
# Takes the user guide's picture of the Viewer: the sample workspace opened, the Viewer opened
# with the Scene and a railing sprite at 4x.
# Usage: scripts/screenshot-viewer.sh [output.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec "$root/scripts/screenshot-tour.sh" viewer-tour "${1:-$root/docs/viewer.png}"
