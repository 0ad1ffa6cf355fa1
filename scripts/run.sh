#!/usr/bin/env bash
# Installs what is missing, builds, and starts one program: corvix, pellor or ambrel.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program="${1:-}"
shift || true
case "$program" in
    corvix | pellor | ambrel) ;;
    *)
        echo "Aufruf: scripts/run.sh corvix|pellor|ambrel [Argumente ...]" >&2
        exit 2
        ;;
esac
"$root/scripts/setup.sh"
exe="${BUILD_DIR:-$root/build}/programs/$program/$program"
if [[ ! -x "$exe" ]]; then
    echo "Das Programm '$program' gibt es noch nicht: es ist noch nicht gebaut worden." >&2
    exit 1
fi
exec "$exe" "$@"
