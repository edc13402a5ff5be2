#!/usr/bin/env bash
# Builds every preset (host, host-tsan, win64, win32) and runs every test; the README's test command and CI's.
# Installs what is missing first (tools/bootstrap.sh). Ends with one line "total: N passed, N failed".
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
source tools/wine-env.sh

bash tools/bootstrap.sh

PRESETS=(host host-tsan win64 win32)
for p in "${PRESETS[@]}"; do
  echo "== build $p"
  cmake --preset "$p" >/dev/null
  cmake --build --preset "$p"
done

# Nothing the tests started may outlive the run: the wineserver, Xvfb, fixture servers.
cleanup() {
  zavix_wine_stop build/win64/wineprefix
  for f in build/*/fixtures/*.pid; do
    [ -e "$f" ] && tools/fixture stop "$(basename "$f" .pid)" "$(dirname "$f")"
  done
  return 0
}
trap cleanup EXIT

passed=0
failed=0
for p in "${PRESETS[@]}"; do
  echo "== test $p"
  log="build/$p/ctest-output.txt"
  set +e
  ctest --preset "$p" 2>&1 | tee "$log"
  set -e
  summary="$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)"
  if [ -z "$summary" ]; then
    echo "ctest for $p printed no summary"
    failed=$((failed + 1))
    continue
  fi
  f="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")"
  n="$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")"
  passed=$((passed + n - f))
  failed=$((failed + f))
done
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
