#!/usr/bin/env bash
# sweepmere.exe's reports of /preview, /erase and /wipe-unused validated against
# docs/report.schema.json, and what Group Policy changes in it: machine over user, policy over the
# command line, a category turned off, the report folder. Every policy key is removed at the end.
# Usage: reports_and_policy.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
export HOME="$build/test-home" WINEPREFIX="$build/test-prefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" CORVANE_PACING_PERCENT=0
[ -f "$WINEPREFIX/.corvane-ready" ] || "$src/scripts/prepare-prefix.sh" "$build"

fail() { echo "FAIL: $*" >&2; exit 1; }
policy='Software\Policies\Corvane-Sweepmere'
typed='HKCU\Software\Microsoft\Internet Explorer\TypedURLs'
reg() { wine reg "$@" </dev/null >/dev/null 2>&1; }
clear_policy() { reg delete "HKLM\\$policy" /f || true; reg delete "HKCU\\$policy" /f || true; }
trap clear_policy EXIT
clear_policy
folder="$WINEPREFIX/drive_c/corvane-scratch/reports"
rm -rf "$folder"; mkdir -p "$folder"
win='C:\corvane-scratch\reports'

# Runs sweepmere.exe; its output in $out, its exit code in $code.
sweep() { set +e; out=$(wine 'Y:\sweepmere.exe' "$@" </dev/null 2>&1 | tr -d '\r'); code=${PIPESTATUS[0]}; set -e; }
valid() { /usr/bin/python3 "$src/tests/cli/validate_report.py" "$src/docs/report.schema.json" "$folder/$1" || fail "$1"; }
field() { /usr/bin/python3 -c 'import json,sys; r=json.load(open(sys.argv[1])); print(json.dumps(eval(sys.argv[2], {}, {"r": r})))' "$folder/$1" "$2"; }

reg add "$typed" /v url1 /d http://example.com/ /f
sweep /preview internet.cache internet.typed-urls /report "$win\\preview.json"
[ "$code" = 0 ] || fail "preview exited $code: $out"
valid preview.json
sweep /erase internet.typed-urls /report "$win\\erase.json"
[ "$code" = 0 ] || fail "erase exited $code: $out"
valid erase.json
[ "$(field erase.json '[r["overwrite"], r["passes"], r["exitCode"]]')" = '[false, 1, 0]' ] || fail "erase.json: $(cat "$folder/erase.json")"
sweep /wipe-unused Q: /report "$win\\wipe.json"
[ "$code" = 1 ] || fail "a wipe of a missing drive exited $code: $out"
valid wipe.json
[ "$(field wipe.json 'r["drives"][0]["failure"]')" = '"Q: is not a drive of this computer."' ] || fail "wipe.json: $(cat "$folder/wipe.json")"

# Machine over user for each value; a turned-off category is refused, its data stays.
reg add "HKLM\\$policy" /v Overwrite /t REG_DWORD /d 1 /f
reg add "HKCU\\$policy" /v Overwrite /t REG_DWORD /d 0 /f
reg add "HKLM\\$policy" /v OverwritePasses /t REG_DWORD /d 2 /f
reg add "HKCU\\$policy" /v OverwritePasses /t REG_DWORD /d 3 /f
reg add "HKCU\\$policy" /v DisabledCategories /t REG_MULTI_SZ /d 'Internet.Typed-URLs\0apps' /f
reg add "HKLM\\$policy" /v ReportFolder /d "$win" /f
reg add "$typed" /v url1 /d http://example.com/ /f
sweep /erase internet.typed-urls internet.history /report policy.json
[ "$code" = 1 ] || fail "a turned-off category exited $code: $out"
grep -qx 'internet.typed-urls  0 erased, 0 bytes, 1 stayed: turned off by policy' <<<"$out" || fail "not refused: $out"
wine reg query "$typed" /v url1 </dev/null >/dev/null 2>&1 || fail "the turned-off category was erased"
valid policy.json
[ "$(field policy.json '[r["overwrite"], r["passes"]]')" = '[true, 2]' ] || fail "policy.json: $(cat "$folder/policy.json")"
sweep /preview apps.paint
[ "$code" = 1 ] && grep -q '^apps.paint  .*turned off by policy' <<<"$out" || fail "a turned-off group was previewed ($code): $out"
reg delete "HKLM\\$policy" /v Overwrite /f
sweep /erase internet.history /overwrite /report "$win\\user.json"
[ "$(field user.json '[r["overwrite"], r["passes"]]')" = '[false, 2]' ] || fail "user policy lost to the command line: $(cat "$folder/user.json")"
reg delete "$typed" /v url1 /f
echo "reports match the schema; policy: machine over user, turned off refused, report folder used"
