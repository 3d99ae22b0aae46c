#!/usr/bin/env bash
# Installs what is needed, builds, and starts the viewer on the bundled
# sample catalog (build/bin/Config.ini opens it).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'TEXT'
There is no display to show the viewer's window on (neither DISPLAY nor
WAYLAND_DISPLAY is set). On a machine without a desktop, run it on a virtual
display instead:

    xvfb-run -a -s "-screen 0 1280x800x24" build/bin/elk-viewer

TEXT
  exit 1
fi
exec build/bin/elk-viewer
