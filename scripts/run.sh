#!/usr/bin/env bash
# Installs what is needed, builds, and shows the bundled sample catalog.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
# The viewer's window is not built yet; until it is, the companion tool
# shows the side bar the viewer would show for the sample catalog, grouped
# by category.
exec build/bin/elkcat sidebar build/bin/Sample.qzt --group 1
