#!/usr/bin/env bash
# Installs what Voltara needs, builds it and starts it; arguments go to voltara.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec build/voltara "$@"
