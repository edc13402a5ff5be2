#!/usr/bin/env bash
# Builds the 64-bit installer and runs it under wine64, as a user would start it; the README's run
# command. Arguments are handed to the installer (for example -downloadtype=3). Prints its log.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
source tools/wine-env.sh

bash tools/bootstrap.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target ZavixInstaller

demo="$ROOT/build/win64/demo"
mkdir -p "$demo"
cp build/win64/bin/ZavixInstaller.exe "$demo/"
rm -f "$demo/installer.log"
zavix_wine_prefix build/win64/wineprefix
set +e
"$WINE64" "$demo/ZavixInstaller.exe" "-log=Z:${demo//\//\\}\\installer.log" "$@"
code=$?
set -e
cat "$demo/installer.log" 2>/dev/null || true
echo "ZavixInstaller.exe exited with $code"
[ "$code" -eq 0 ]
