#!/usr/bin/env bash
# A history of VISITS visits (100,000 by default) cleared by the engine under Wine, and a copy of
# it cleared by the native sqlite3 shell with the same statements, in the same run; ROUNDS times
# (5 by default), printing each round and the median ratio of the times.
# Usage: bench_history.sh BUILD_DIR [VISITS] [ROUNDS]
set -euo pipefail
build=$(cd "$1" && pwd)
visits=${2:-100000}
rounds=${3:-5}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
[ -f "$build/test-prefix/.corvane-ready" ] || "$root/scripts/prepare-prefix.sh" "$build" >/dev/null
folder="$build/test-prefix/drive_c/corvane-bench"
trap 'rm -rf "$folder"' EXIT
# The engine's statements for Chrome's history, from its definition (the tables this History has).
statements=$(python3 - "$root/engine/browsers/chrome.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
made = {"urls", "visits", "visit_source", "keyword_search_terms", "segments", "segment_usage", "downloads",
        "downloads_url_chains"}
tables = [t for c in d["categories"] if c["key"] == "history"
          for t in c["databases"][0]["tables"] if t in made]
print("PRAGMA cache_size=-32768; PRAGMA journal_mode=PERSIST; PRAGMA secure_delete=ON; BEGIN IMMEDIATE;"
      " SELECT name FROM sqlite_master WHERE type='table'; PRAGMA integrity_check(1);")
print("".join(f'DELETE FROM "{t}";' for t in tables))
print("COMMIT; VACUUM; PRAGMA journal_mode;")
PY
)
ratios=()
for _ in $(seq "$rounds"); do
  rm -rf "$folder" && mkdir -p "$folder"
  python3 "$root/tests/browsers/profiles.py" --history "$folder/History" "$visits"
  cp "$folder/History" "$folder/History-shell"
  shell=$(python3 -c '
import resource, subprocess, sys, time
t0 = time.perf_counter()
subprocess.run(["sqlite3", sys.argv[1]], input=sys.argv[2], text=True, check=True, stdout=subprocess.DEVNULL)
print(f"{time.perf_counter() - t0:.3f}")' "$folder/History-shell" "$statements")
  engine=$("$root/scripts/wine-run.sh" "$build" "$build/bin/bench_browser_history.exe" 'C:\corvane-bench\History' | tr -d '\r')
  wall=$(echo "$engine" | awk '{print $2}')
  ratio=$(awk -v a="$wall" -v b="$shell" 'BEGIN{printf "%.2f", a/b}')
  ratios+=("$ratio")
  echo "history of $visits visits: $engine; sqlite3 shell $shell s; ratio $ratio"
done
echo "median ratio $(printf '%s\n' "${ratios[@]}" | sort -n | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}') over $rounds rounds"
