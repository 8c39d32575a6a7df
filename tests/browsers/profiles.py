"""Browser profiles for the tests, with the tables the browsers really have (the columns the
engine touches and those a browser needs to open the file), built from the Linux side.

Usage: profiles.py USER_FOLDER SCRATCH      (both inside the test prefix's drive C:)
       profiles.py --history FILE VISITS [TAG]   (one History database, its addresses at TAG.example)
"""
import os
import sqlite3
import sys

CHROME_META = "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
CHROME_HISTORY = CHROME_META + """
CREATE TABLE urls(id INTEGER PRIMARY KEY AUTOINCREMENT, url LONGVARCHAR, title LONGVARCHAR,
  visit_count INTEGER DEFAULT 0 NOT NULL, typed_count INTEGER DEFAULT 0 NOT NULL,
  last_visit_time INTEGER NOT NULL, hidden INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE visits(id INTEGER PRIMARY KEY AUTOINCREMENT, url INTEGER NOT NULL, visit_time INTEGER NOT NULL,
  from_visit INTEGER, transition INTEGER DEFAULT 0 NOT NULL, segment_id INTEGER,
  visit_duration INTEGER DEFAULT 0 NOT NULL, incremented_omnibox_typed_score BOOLEAN DEFAULT FALSE NOT NULL,
  opener_visit INTEGER, originator_cache_guid TEXT, originator_visit_id INTEGER,
  originator_from_visit INTEGER, originator_opener_visit INTEGER,
  is_known_to_sync BOOLEAN DEFAULT FALSE NOT NULL, external_referrer_url TEXT);
CREATE TABLE visit_source(id INTEGER PRIMARY KEY, source INTEGER NOT NULL);
CREATE TABLE keyword_search_terms(keyword_id INTEGER NOT NULL, url_id INTEGER NOT NULL,
  term LONGVARCHAR NOT NULL, normalized_term LONGVARCHAR NOT NULL);
CREATE TABLE segments(id INTEGER PRIMARY KEY, name VARCHAR, url_id INTEGER NON NULL);
CREATE TABLE segment_usage(id INTEGER PRIMARY KEY, segment_id INTEGER NOT NULL, time_slot INTEGER NOT NULL,
  visit_count INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE downloads(id INTEGER PRIMARY KEY, guid VARCHAR NOT NULL, current_path LONGVARCHAR NOT NULL,
  target_path LONGVARCHAR NOT NULL, start_time INTEGER NOT NULL, received_bytes INTEGER NOT NULL,
  total_bytes INTEGER NOT NULL, state INTEGER NOT NULL, danger_type INTEGER NOT NULL,
  interrupt_reason INTEGER NOT NULL, hash BLOB NOT NULL, end_time INTEGER NOT NULL, opened INTEGER NOT NULL,
  last_access_time INTEGER NOT NULL, transient INTEGER NOT NULL, referrer VARCHAR NOT NULL,
  site_url VARCHAR NOT NULL, tab_url VARCHAR NOT NULL, tab_referrer_url VARCHAR NOT NULL,
  http_method VARCHAR NOT NULL, mime_type VARCHAR(255) NOT NULL, original_mime_type VARCHAR(255) NOT NULL);
CREATE TABLE downloads_url_chains(id INTEGER NOT NULL, chain_index INTEGER NOT NULL, url LONGVARCHAR NOT NULL,
  PRIMARY KEY (id, chain_index));
CREATE INDEX visits_url_index ON visits (url);
CREATE INDEX urls_url_index ON urls (url);
CREATE INDEX segments_name ON segments(name);
CREATE INDEX keyword_search_terms_index1 ON keyword_search_terms (keyword_id, normalized_term);
"""
CHROME_COOKIES = CHROME_META + """
CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT NULL, top_frame_site_key TEXT NOT NULL,
  name TEXT NOT NULL, value TEXT NOT NULL, encrypted_value BLOB NOT NULL, path TEXT NOT NULL,
  expires_utc INTEGER NOT NULL, is_secure INTEGER NOT NULL, is_httponly INTEGER NOT NULL,
  last_access_utc INTEGER NOT NULL, has_expires INTEGER NOT NULL, is_persistent INTEGER NOT NULL,
  priority INTEGER NOT NULL, samesite INTEGER NOT NULL, source_scheme INTEGER NOT NULL,
  source_port INTEGER NOT NULL, last_update_utc INTEGER NOT NULL);
CREATE UNIQUE INDEX cookies_unique_index ON cookies(host_key, top_frame_site_key, name, path, source_scheme, source_port);
"""
FIREFOX_PLACES = """
CREATE TABLE moz_origins(id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL,
  frecency INTEGER NOT NULL, UNIQUE (prefix, host));
CREATE TABLE moz_places(id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,
  visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL,
  frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, guid TEXT,
  foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL, description TEXT,
  preview_image_url TEXT, site_name TEXT, origin_id INTEGER REFERENCES moz_origins(id));
CREATE TABLE moz_historyvisits(id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, visit_date INTEGER,
  visit_type INTEGER, session INTEGER, source INTEGER DEFAULT 0 NOT NULL, triggeringPlaceId INTEGER);
CREATE TABLE moz_inputhistory(place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER,
  PRIMARY KEY (place_id, input));
CREATE TABLE moz_bookmarks(id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
  position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER,
  lastModified INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0, syncChangeCounter INTEGER NOT NULL DEFAULT 1);
CREATE INDEX moz_places_url_hashindex ON moz_places (url_hash);
CREATE UNIQUE INDEX moz_places_guid_uniqueindex ON moz_places (guid);
CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date);
CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);
"""
FIREFOX_ANNOS = """
CREATE TABLE moz_anno_attributes(id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
CREATE TABLE moz_annos(id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER, content LONGVARCHAR,
  flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0, dateAdded INTEGER DEFAULT 0,
  lastModified INTEGER DEFAULT 0);
"""
FIREFOX_FAVICONS = """
CREATE TABLE moz_icons(id INTEGER PRIMARY KEY, icon_url TEXT NOT NULL, fixed_icon_url_hash INTEGER NOT NULL,
  width INTEGER NOT NULL DEFAULT 0, root INTEGER NOT NULL DEFAULT 0, color INTEGER, expire_ms INTEGER NOT NULL DEFAULT 0,
  data BLOB);
CREATE TABLE moz_pages_w_icons(id INTEGER PRIMARY KEY, page_url TEXT NOT NULL, page_url_hash INTEGER NOT NULL);
CREATE TABLE moz_icons_to_pages(page_id INTEGER NOT NULL, icon_id INTEGER NOT NULL, expire_ms INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (page_id, icon_id));
"""
# The other stores of a Chromium profile that keep visited addresses.
CHROME_TOP_SITES = CHROME_META + "CREATE TABLE top_sites(url LONGVARCHAR NOT NULL PRIMARY KEY, url_rank INTEGER NOT NULL, title LONGVARCHAR NOT NULL);"
CHROME_SHORTCUTS = """CREATE TABLE omni_box_shortcuts(id VARCHAR PRIMARY KEY, text VARCHAR, fill_into_edit VARCHAR,
  url VARCHAR, contents VARCHAR, last_access_time INTEGER, number_of_hits INTEGER);"""
CHROME_FAVICONS = CHROME_META + """
CREATE TABLE icon_mapping(id INTEGER PRIMARY KEY, page_url LONGVARCHAR NOT NULL, icon_id INTEGER);
CREATE TABLE favicons(id INTEGER PRIMARY KEY, url LONGVARCHAR NOT NULL, icon_type INTEGER DEFAULT 1);
CREATE TABLE favicon_bitmaps(id INTEGER PRIMARY KEY, icon_id INTEGER NOT NULL, last_updated INTEGER DEFAULT 0,
  image_data BLOB, width INTEGER DEFAULT 0, height INTEGER DEFAULT 0);
"""
FIREFOX_COOKIES = """
CREATE TABLE moz_cookies(id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT,
  value TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER,
  isSecure INTEGER, isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, sameSite INTEGER DEFAULT 0,
  rawSameSite INTEGER DEFAULT 0, schemeMap INTEGER DEFAULT 0,
  CONSTRAINT moz_uniqueid UNIQUE (name, host, path, originAttributes));
"""


def make(path, schema, fill, wal=False):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    if wal:
        db.execute("PRAGMA journal_mode=WAL")
    db.executescript(schema)
    fill(db)
    db.commit()
    db.close()


def chrome_history(visits, tag="erase-me"):
    def fill(db):
        db.execute("INSERT INTO meta VALUES ('version', '67')")
        urls = max(1, visits // 5)
        db.executemany("INSERT INTO urls(id, url, title, visit_count, last_visit_time) VALUES (?,?,?,5,1)",
                       ((i, f"https://{tag}.example/secret-path-{i}", f"Secret title {i}") for i in range(1, urls + 1)))
        db.executemany("INSERT INTO visits(url, visit_time, segment_id) VALUES (?,?,1)",
                       ((1 + i % urls, 13300000000000000 + i) for i in range(visits)))
        db.execute("INSERT INTO visit_source VALUES (1, 0)")
        db.execute(f"INSERT INTO keyword_search_terms VALUES (2, 1, '{tag} search', '{tag} search')")
        db.execute(f"INSERT INTO segments VALUES (1, 'http://{tag}.example/', 1)")
        db.execute("INSERT INTO segment_usage VALUES (1, 1, 0, 3)")
        db.execute("INSERT INTO downloads VALUES (1,'g','C:\\d\\secret.zip','C:\\d\\secret.zip',1,2,2,1,0,0,x'00',"
                   f"2,0,0,0,'','https://{tag}.example/','','','GET','application/zip','application/zip')")
        db.execute(f"INSERT INTO downloads_url_chains VALUES (1, 0, 'https://{tag}.example/secret.zip')")
    return fill


def chrome_cookies(db):
    db.execute("INSERT INTO meta VALUES ('version', '21')")
    db.executemany("INSERT INTO cookies VALUES (1,?,'',?,?,x'',?,0,1,1,1,1,1,1,0,2,443,1)",
                   ((f".erase-me{i}.example", f"sid{i}", f"cookie-value-secret-{i}", "/") for i in range(40)))


def firefox_places(db):
    db.execute("INSERT INTO moz_origins VALUES (1, 'https://', 'erase-me.example', 1), (2, 'https://', 'keep-me.example', 1)")
    db.executemany("INSERT INTO moz_places(id, url, title, guid, origin_id, foreign_count) VALUES (?,?,?,?,?,?)",
                   [(i, f"https://erase-me.example/secret-path-{i}", f"Secret {i}", f"g{i}", 1, 0) for i in range(1, 30)]
                   + [(100, "https://keep-me.example/bookmarked", "Kept", "gkeep", 2, 1)])
    db.executemany("INSERT INTO moz_historyvisits(place_id, visit_date, visit_type) VALUES (?,?,1)",
                   [(1 + i % 29, i) for i in range(60)] + [(100, 99)])
    db.execute("INSERT INTO moz_inputhistory VALUES (1, 'erase-me typed', 2)")
    db.execute("INSERT INTO moz_bookmarks(id, type, fk, parent, position, title, guid) VALUES "
               "(1, 2, NULL, 0, 0, '', 'root________'), (2, 1, 100, 1, 0, 'Kept bookmark', 'bkeep')")
    db.execute("INSERT INTO moz_anno_attributes VALUES (1, 'downloads/destinationFileURI'), (2, 'bookmarkProperties/description')")
    db.execute("INSERT INTO moz_annos(place_id, anno_attribute_id, content) VALUES (1, 1, 'file:///C:/erase-me-download.zip'),"
               " (100, 1, 'file:///C:/erase-me-kept-page.zip'), (100, 2, 'Kept description')")


def firefox_favicons(db):
    db.execute("INSERT INTO moz_icons(id, icon_url, fixed_icon_url_hash) VALUES (1, 'https://erase-me.example/favicon.ico', 1)")
    db.execute("INSERT INTO moz_pages_w_icons VALUES (1, 'https://erase-me.example/secret-path-1', 1)")
    db.execute("INSERT INTO moz_icons_to_pages VALUES (1, 1, 0)")


def chrome_stores(folder):
    """Top Sites, Shortcuts, Favicons, Visited Links and Sessions, one address each."""
    url = "https://erase-me.example/secret-path-1"
    make(os.path.join(folder, "Top Sites"), CHROME_TOP_SITES,
         lambda db: db.execute("INSERT INTO top_sites VALUES (?, 1, 'Secret')", (url,)))
    make(os.path.join(folder, "Shortcuts"), CHROME_SHORTCUTS,
         lambda db: db.execute("INSERT INTO omni_box_shortcuts(id, text, url) VALUES ('s1', 'erase-me', ?)", (url,)))
    make(os.path.join(folder, "Favicons"), CHROME_FAVICONS, lambda db: db.executescript(
        f"INSERT INTO favicons VALUES (1, '{url}/favicon.ico', 1); INSERT INTO icon_mapping VALUES (1, '{url}', 1);"
        "INSERT INTO favicon_bitmaps(icon_id, image_data) VALUES (1, x'00');"))
    files(folder, ["Visited Links", "Sessions/Session_13300000000000000", "Sessions/Tabs_13300000000000000"])


def firefox_cookies(db):
    db.executemany("INSERT INTO moz_cookies(name, value, host, path) VALUES (?,?,?,'/')",
                   ((f"sid{i}", f"cookie-value-secret-{i}", f".erase-me{i}.example") for i in range(40)))


def files(folder, names):
    for name in names:
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write("cached " * 100)


def chromium_profile(folder):
    make(os.path.join(folder, "History"), CHROME_HISTORY, chrome_history(200))
    make(os.path.join(folder, "Network", "Cookies"), CHROME_COOKIES, chrome_cookies)
    files(folder, ["Cache/Cache_Data/f_000001", "Cache/Cache_Data/index", "Code Cache/js/abc_0", "GPUCache/data_0"])


def broken_profile(folder):
    """A History without visits, and Cookies whose index does not match its rows."""
    make(os.path.join(folder, "History"), CHROME_HISTORY.replace("visits(", "visits_gone(").replace(
        "CREATE INDEX visits_url_index ON visits (url);", ""),
         lambda db: db.execute("INSERT INTO urls(url, last_visit_time) VALUES ('https://erase-me.example/x', 1)"))
    path = os.path.join(folder, "Network", "Cookies")
    make(path, CHROME_COOKIES, chrome_cookies)
    db = sqlite3.connect(path)
    db.execute("PRAGMA writable_schema=ON")
    db.execute("UPDATE sqlite_master SET sql='CREATE UNIQUE INDEX cookies_unique_index ON cookies(name, host_key, "
               "top_frame_site_key, path, source_scheme, source_port)' WHERE name='cookies_unique_index'")
    db.commit()
    db.close()


def main():
    if sys.argv[1] == "--history":
        make(sys.argv[2], CHROME_HISTORY, chrome_history(int(sys.argv[3]), *sys.argv[4:5]))
        return
    user, scratch = sys.argv[1], sys.argv[2]
    local, roaming = os.path.join(user, "AppData", "Local"), os.path.join(user, "AppData", "Roaming")
    chrome = os.path.join(local, "Google", "Chrome", "User Data")
    for name in ("Default", "Profile 1"):
        chromium_profile(os.path.join(chrome, name))
    chrome_stores(os.path.join(chrome, "Default"))
    # Cookies where Chrome kept them before Network\Cookies.
    make(os.path.join(chrome, "Profile 1", "Cookies"), CHROME_COOKIES, chrome_cookies)
    broken_profile(os.path.join(chrome, "Profile 3"))
    os.makedirs(os.path.join(chrome, "Crashpad"), exist_ok=True)  # not a profile
    edge = os.path.join(local, "Microsoft", "Edge", "User Data")
    chromium_profile(os.path.join(edge, "Default"))
    # A profile folder that is a link to a sentinel profile: never entered.
    sentinel = os.path.join(scratch, "sentinel")
    chromium_profile(sentinel)
    os.symlink(os.path.relpath(sentinel, edge), os.path.join(edge, "Profile 2"))
    # Firefox: one profile relative to its folder (cache in the local folder), one at an absolute path.
    firefox = os.path.join(roaming, "Mozilla", "Firefox")
    absolute = os.path.join(scratch, "ff-absolute")
    for folder in (os.path.join(firefox, "Profiles", "abcd.default-release"), absolute):
        make(os.path.join(folder, "places.sqlite"), FIREFOX_PLACES + FIREFOX_ANNOS, firefox_places, wal=True)
        make(os.path.join(folder, "favicons.sqlite"), FIREFOX_FAVICONS, firefox_favicons, wal=True)
        files(folder, ["sessionstore-backups/recovery.jsonlz4"])
        make(os.path.join(folder, "cookies.sqlite"), FIREFOX_COOKIES, firefox_cookies, wal=True)
    files(os.path.join(local, "Mozilla", "Firefox", "Profiles", "abcd.default-release"), ["cache2/entries/0A1B", "cache2/index"])
    files(absolute, ["cache2/entries/9F8E"])
    # Opera: the profile is one folder of its own, its cache in the local folder of the same name.
    opera = os.path.join(roaming, "Opera Software", "Opera Stable")
    make(os.path.join(opera, "History"), CHROME_HISTORY, chrome_history(200))
    files(os.path.join(local, "Opera Software", "Opera Stable"), ["Cache/Cache_Data/f_000001"])
    # A History whose trigger would never end, were it run.
    make(os.path.join(scratch, "trigger", "History"), CHROME_HISTORY + """
CREATE TRIGGER endless BEFORE DELETE ON urls BEGIN
  INSERT INTO meta SELECT 'x' || n, n FROM (WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c) SELECT n FROM c);
END;""", chrome_history(200))
    with open(os.path.join(firefox, "profiles.ini"), "w") as f:
        f.write("[Install308046B0AF4A39CB]\nDefault=Profiles/abcd.default-release\n\n"
                "[Profile0]\nName=default-release\nIsRelative=1\nPath=Profiles/abcd.default-release\n\n"
                "[Profile1]\nName=elsewhere\nIsRelative=0\nPath=C:\\corvane-browsers\\ff-absolute\n\n"
                "[Profile2]\nName=escape\nIsRelative=1\nPath=Profiles/../../../../escape\n\n"
                "[General]\nStartWithLastProfile=1\nVersion=2\n")


if __name__ == "__main__":
    main()
