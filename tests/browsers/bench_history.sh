#!/usr/bin/env bash
# A history of VISITS visits (100,000 by default) cleared by the engine under Wine, and a copy of
# it cleared by the native sqlite3 shell with the same statements, in the same run; prints both
# times and the ratio. Usage: bench_history.sh BUILD_DIR [VISITS]
set -euo pipefail
build=$(cd "$1" && pwd)
visits=${2:-100000}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
[ -f "$build/test-prefix/.corvane-ready" ] || "$root/scripts/prepare-prefix.sh" "$build" >/dev/null
folder="$build/test-prefix/drive_c/corvane-bench"
rm -rf "$folder" && mkdir -p "$folder"
python3 "$here/profiles.py" --history "$folder/History" "$visits"
cp "$folder/History" "$folder/History-shell"
# The engine's statements for Chrome's history, from its definition.
statements=$(python3 - "$root/engine/browsers/chrome.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
t = [x["table"] for c in d["categories"] if c["key"] == "history" for x in c["database"]["tables"]]
print("PRAGMA secure_delete=ON; BEGIN IMMEDIATE; SELECT name FROM sqlite_master WHERE type='table';"
      " PRAGMA integrity_check(1);")
for name in t[:8]:
    print(f'DELETE FROM "{name}";')
print("COMMIT; VACUUM; PRAGMA journal_mode;")
PY
)
shell=$(python3 -c '
import subprocess, sys, time
t0 = time.perf_counter()
subprocess.run(["sqlite3", sys.argv[1]], input=sys.argv[2], text=True, check=True, stdout=subprocess.DEVNULL)
print(f"{time.perf_counter() - t0:.3f}")' "$folder/History-shell" "$statements")
engine=$("$root/scripts/wine-run.sh" "$build" "$build/bin/bench_browser_history.exe" 'C:\corvane-bench\History' | tr -d '\r')
seconds=$(echo "$engine" | awk '{print $2}')
echo "history of $visits visits: $engine; sqlite3 shell $shell s; ratio $(awk -v a="$seconds" -v b="$shell" 'BEGIN{printf "%.2f", a/b}')"
rm -rf "$folder"
