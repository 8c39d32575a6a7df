"""The browser files of ../shared/realdata put into the test prefix as a user's own, and what an
independent reader (Python's sqlite3) finds in them before and after sweepmere ran.

Usage: real_profiles.py setup USER_FOLDER REALDATA STATE   copies the files, notes what they hold
       real_profiles.py preview STATE REPORT              the preview counts what was noted
       real_profiles.py erased STATE REPORT               nothing noted as erased is left
"""
import hashlib
import json
import os
import shutil
import sqlite3
import sys

# Where each real file goes, relative to the user's AppData, and the category that takes it.
CHROME = "Local/Google/Chrome/User Data/"
FIREFOX = "Roaming/Mozilla/Firefox/Profiles/"
PLACES = [
    ("chrome/History", CHROME + "Default/History", "browser.chrome.history"),
    ("chrome/cookies.db", CHROME + "Default/Cookies", "browser.chrome.cookies"),
    ("chrome/History-57.0.2987.133", CHROME + "Profile 1/History", "browser.chrome.history"),
    ("chrome/Cookies-68.0.3440.106", CHROME + "Profile 1/Network/Cookies", "browser.chrome.cookies"),
    ("chrome/History-58.0.3029.96", CHROME + "Profile 2/History", "browser.chrome.history"),
    ("chrome/History-59.0.3071.86", CHROME + "Profile 3/History", "browser.chrome.history"),
    ("firefox/places.sqlite", FIREFOX + "a.real/places.sqlite", "browser.firefox.history"),
    ("firefox/firefox_10_cookies.sqlite", FIREFOX + "a.real/cookies.sqlite", "browser.firefox.cookies"),
    ("firefox/firefox_2_cookies.sqlite", FIREFOX + "b.real/cookies.sqlite", "browser.firefox.cookies"),
]
NEIGHBOUR = ("chrome/Web Data", CHROME + "Profile 2/Web Data")  # no category's: stays byte for byte

# What goes, as this reader understands each browser: (table, rows that go, addresses in them).
CHROME_HISTORY = ["urls", "visits", "visit_source", "keyword_search_terms", "segments", "segment_usage", "downloads",
                  "downloads_url_chains", "downloads_slices", "presentation"]
KEPT_PLACE = "id IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL)"
RULES = {
    "History": [(t, "1", None) for t in CHROME_HISTORY] + [("urls", None, "url"), ("downloads_url_chains", None, "url")],
    "Cookies": [("cookies", "1", "host_key")],
    "places.sqlite": [("moz_historyvisits", "1", None), ("moz_inputhistory", "1", None),
                      ("moz_annos", f"place_id NOT IN (SELECT id FROM moz_places WHERE {KEPT_PLACE})", None),
                      ("moz_places", f"NOT ({KEPT_PLACE})", "url"),
                      ("moz_favicons", f"id NOT IN (SELECT favicon_id FROM moz_places WHERE favicon_id IS NOT NULL AND {KEPT_PLACE})", "url")],
    "cookies.sqlite": [("moz_cookies", "1", "host")],
}


def connect(path):
    return sqlite3.connect(f"file:{path}?mode=ro&immutable=1", uri=True)


def sizes(path):
    return sum(os.path.getsize(path + s) for s in ("", "-wal", "-journal") if os.path.exists(path + s))


def note(path):
    db = connect(path)
    tables = {r[0] for r in db.execute("SELECT name FROM sqlite_master WHERE type='table'")}
    count, addresses, kept = 0, set(), []
    for table, where, column in RULES[os.path.basename(path)]:
        if table not in tables:
            continue
        if column is None or where is not None:
            count += db.execute(f"SELECT count(*) FROM {table} WHERE {where or '0'}").fetchone()[0]
        if column:
            rows = db.execute(f"SELECT {column} FROM {table} WHERE {where or '1'}").fetchall()
            addresses |= {r[0] for r in rows if r[0] and len(r[0]) >= 8}
    if "moz_bookmarks" in tables:
        kept = [r[0] for r in db.execute(f"SELECT url FROM moz_places WHERE {KEPT_PLACE}")]
    # An erased address that a kept one contains would be found in the kept one.
    addresses = sorted(a for a in addresses if not any(a in k for k in kept))
    bookmarks = db.execute("SELECT count(*) FROM moz_bookmarks").fetchone()[0] if "moz_bookmarks" in tables else None
    return {"count": count, "addresses": addresses, "bookmarks": bookmarks, "bytes": sizes(path)}


def setup(user, realdata, state):
    appdata = os.path.join(user, "AppData")
    for folder in (CHROME, "Roaming/Mozilla/Firefox/", "Local/Mozilla/Firefox/"):
        shutil.rmtree(os.path.join(appdata, folder), ignore_errors=True)
    files = {}
    for source, target, key in PLACES + [NEIGHBOUR + (None,)]:
        path = os.path.join(appdata, target)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copyfile(os.path.join(realdata, source), path)
        os.chmod(path, 0o644)
        if key:
            files[path] = dict(note(path), key=key, windows=target.replace("/", "\\"))
    with open(os.path.join(appdata, "Roaming/Mozilla/Firefox/profiles.ini"), "w") as f:
        f.write("[Profile0]\nName=a\nIsRelative=1\nPath=Profiles/a.real\n\n[Profile1]\nName=b\nIsRelative=1\nPath=Profiles/b.real\n")
    neighbour = os.path.join(appdata, NEIGHBOUR[1])
    json.dump({"files": files, "neighbour": [neighbour, digest(neighbour)]}, open(state, "w"), indent=1)


def digest(path):
    return hashlib.sha256(open(path, "rb").read()).hexdigest()


def categories(report):
    return {c["key"]: c for c in json.load(open(report, encoding="utf-8"))["categories"]}


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    return ok


def preview(state, report):
    files, cats, good = json.load(open(state))["files"], categories(report), True
    for path, f in files.items():
        texts = [i["text"] for i in cats[f["key"]]["items"] if i["text"].split(" (")[0].endswith(f["windows"])]
        found = texts[0].rsplit("(", 1)[1].split(" ")[0] if texts else "none"
        good &= check(found == str(f["count"]), f"{f['windows']}: preview {found}, sqlite3 {f['count']}")
    return good


def erased(state, report):
    noted, cats, good = json.load(open(state)), categories(report), True
    files = noted["files"]
    for key, c in cats.items():
        mine = [f for f in files.values() if f["key"] == key]
        expected = sum(f["count"] for f in mine)
        gone = sum(f["bytes"] for f in mine) - sum(sizes(p) for p, f in files.items() if f["key"] == key)
        good &= check(c["erased"] == expected and c["stayed"] == 0 and c["bytes"] == gone,
                      f"{key}: report {c['erased']} erased, {c['bytes']} bytes, {c['stayed']} stayed; "
                      f"sqlite3 {expected} entries, {gone} bytes given back")
    for path, f in files.items():
        logs = [s for s in ("-wal", "-journal") if os.path.exists(path + s)]
        data = open(path, "rb").read()
        left = [a for a in f["addresses"] if a.encode() in data]
        now = note(path)
        db = connect(path)
        sound = db.execute("PRAGMA integrity_check").fetchone()[0]
        good &= check(not logs and not left and now["count"] == 0 and sound == "ok" and now["bookmarks"] == f["bookmarks"],
                      f"{f['windows']}: {now['count']} entries left, {len(left)} of {len(f['addresses'])} addresses in its "
                      f"bytes, logs {logs}, integrity {sound}, bookmarks {now['bookmarks']} of {f['bookmarks']}")
    neighbour, before = noted["neighbour"]
    good &= check(digest(neighbour) == before, "Web Data untouched")
    return good


if __name__ == "__main__":
    mode, args = sys.argv[1], sys.argv[2:]
    if mode == "setup":
        setup(*args)
    else:
        sys.exit(0 if {"preview": preview, "erased": erased}[mode](*args) else 1)
