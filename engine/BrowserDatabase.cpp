#include "BrowserDatabase.h"

#include <windows.h>

#include <memory>
#include <set>
#include <sqlite3.h>

#include "Handles.h"
#include "Text.h"
#include "Walk.h"
#include "Worker.h"

namespace engine {
namespace {

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Db = std::unique_ptr<sqlite3, Closer>;

// Why a database was left as it was; thrown inside this file only.
struct Refusal {
    std::wstring reason;
};

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// Bounds for a file that may have been made to hurt: a browser's own data stays far below them.
constexpr std::pair<int, int> kLimits[] = {
    {SQLITE_LIMIT_LENGTH, 256 << 20},       {SQLITE_LIMIT_SQL_LENGTH, 1 << 20}, {SQLITE_LIMIT_COLUMN, 500},
    {SQLITE_LIMIT_EXPR_DEPTH, 100},         {SQLITE_LIMIT_COMPOUND_SELECT, 8},  {SQLITE_LIMIT_VDBE_OP, 1 << 20},
    {SQLITE_LIMIT_FUNCTION_ARG, 8},         {SQLITE_LIMIT_ATTACHED, 1},         {SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 64},
    {SQLITE_LIMIT_VARIABLE_NUMBER, 16},     {SQLITE_LIMIT_TRIGGER_DEPTH, 1},
};

class Session {
public:
    Session(const std::wstring& path, const DatabaseClear& what, const std::wstring& browser, const Options& options)
        : m_path(path), m_what(what), m_browser(browser), m_stop(options.stop),
          m_deadline(::GetTickCount64() + DatabaseBudgetMs()) {}

    void Open(bool write) {
        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(Utf8(m_path).c_str(), &db, write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr);
        m_db.reset(db);
        if (rc != SQLITE_OK) Check(rc);
        // Data, never code: no trigger or view of the file runs, no function its schema names is
        // trusted, nothing is attached or loaded, and the schema cannot be written.
        for (int op : {SQLITE_DBCONFIG_ENABLE_TRIGGER, SQLITE_DBCONFIG_ENABLE_VIEW, SQLITE_DBCONFIG_TRUSTED_SCHEMA,
                       SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION})
            sqlite3_db_config(db, op, 0, nullptr);
        sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        for (const auto& limit : kLimits) sqlite3_limit(db, limit.first, limit.second);
        sqlite3_progress_handler(db, 1000, &Session::Progress, this);
        sqlite3_busy_timeout(db, static_cast<int>(DatabaseBusyMs()));
        sqlite3_extended_result_codes(db, 1);
        Exec("PRAGMA trusted_schema=0");
        if (write && sqlite3_db_readonly(db, "main") == 1) throw Refusal{InUse()};
        // A cache big enough for a long history: each page is read and written once. (No file
        // mapping: a view of ours would make a browser that opens the file meanwhile fail to
        // shorten it.)
        Exec("PRAGMA cache_size=-32768");
    }
    void Close() { m_db.reset(); }
    // Between statements too: a statement too short for the progress handler still ends the work.
    void Due() {
        if (Progress(this)) Check(SQLITE_INTERRUPT);
    }
    void Exec(const std::string& sql) {
        Due();
        Check(sqlite3_exec(m_db.get(), sql.c_str(), nullptr, nullptr, nullptr));
    }
    // The first column of every row of a query, as text.
    std::vector<std::string> Column(const std::string& sql) {
        Due();
        sqlite3_stmt* st = nullptr;
        Check(sqlite3_prepare_v2(m_db.get(), sql.c_str(), -1, &st, nullptr));
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> hold(st, sqlite3_finalize);
        std::vector<std::string> rows;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(st, 0);
            rows.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
        }
        if (rc != SQLITE_DONE) Check(rc);
        return rows;
    }
    // The tables of the definition that this file holds: it must hold every table that identifies
    // it and pass its integrity check; a table to clear that it lacks is simply not there.
    std::vector<const TableClear*> Expected() {
        m_present.clear();
        for (std::string& name : Column("SELECT name FROM sqlite_master WHERE type='table'")) m_present.insert(name);
        for (const std::string& t : m_what.identify)
            if (!m_present.count(t)) throw Refusal{NotExpected(L"it has no table " + FromUtf8(t))};
        std::vector<std::string> integrity = Column("PRAGMA integrity_check(1)");
        if (integrity.size() != 1 || integrity[0] != "ok")
            throw Refusal{NotExpected(L"its integrity check failed" +
                                      (integrity.empty() ? std::wstring() : L" (" + FromUtf8(integrity[0]) + L")"))};
        std::vector<const TableClear*> tables;
        for (const TableClear& t : m_what.tables)
            if (m_present.count(t.table)) tables.push_back(&t);
        return tables;
    }
    unsigned long long Count(const TableClear& t) { return std::stoull(Column("SELECT count(*) FROM " + Rows(t))[0]); }
    unsigned long long Delete(const TableClear& t) {
        Exec("DELETE FROM " + Rows(t));
        return static_cast<unsigned long long>(sqlite3_changes64(m_db.get()));
    }
    bool InWal() { return Column("PRAGMA journal_mode")[0] == "wal"; }
    // The journal or log stays when the connection ends, holding what it held, for the one delete.
    void KeepJournal(bool wal) {
        if (wal) {
            int keep = 1;
            sqlite3_file_control(m_db.get(), "main", SQLITE_FCNTL_PERSIST_WAL, &keep);
        } else if (Column("PRAGMA journal_mode=PERSIST")[0] != "persist") {
            throw Refusal{m_path + L": its journal cannot be kept for overwriting; left untouched."};
        }
    }
    // Every page of the log copied back into the file; false when a reader holds some back.
    bool Checkpoint() {
        int log = 0, done = 0;
        Check(sqlite3_wal_checkpoint_v2(m_db.get(), "main", SQLITE_CHECKPOINT_FULL, &log, &done));
        return log == done;
    }
    void Rollback() { sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr); }

    std::wstring InUse() const { return L"Close " + m_browser + L" first: " + m_what.inUse + L"."; }
    std::wstring NotExpected(const std::wstring& why) const {
        return m_path + L": not the database " + m_browser + L" keeps there (" + why + L"); left untouched.";
    }

private:
    // The rows of a table that a clear takes: all, or those its rules do not keep.
    std::string Rows(const TableClear& t) const {
        if (t.keep.empty() && t.drop.empty()) return Quoted(t.table);
        return Quoted(t.table) + " WHERE NOT coalesce(" + Kept(t.table) + ", 0)";
    }
    // Whether a row of a table stays after the clear, as an SQL condition on that row. A rule that
    // names a table the file lacks finds nothing.
    std::string Kept(const std::string& table) const {
        for (const TableClear& t : m_what.tables) {
            if (t.table != table || !m_present.count(table)) continue;
            std::string keep = "0", drop = "0";
            for (const RowRef& r : t.keep) keep += " OR " + Refers(table, r);
            for (const RowRef& r : t.drop) drop += " OR " + Refers(table, r);
            return "((" + keep + ") AND NOT (" + drop + "))";
        }
        return "1";
    }
    std::string Refers(const std::string& table, const RowRef& r) const {
        if (!m_present.count(r.in)) return "0";
        std::string in = Quoted(r.in) + "." + Quoted(r.as);
        return Quoted(table) + "." + Quoted(r.column) + " IN (SELECT " + in + " FROM " + Quoted(r.in) + " WHERE " + in +
               " IS NOT NULL" + (r.named.empty() ? "" : " AND " + Quoted(r.in) + ".\"name\" LIKE '" + r.named + "'") +
               " AND " + Kept(r.in) + ")";
    }
    static int Progress(void* self) {
        auto* s = static_cast<Session*>(self);
        s->m_stopped = s->m_stop && s->m_stop->Requested();
        s->m_late = ::GetTickCount64() > s->m_deadline;
        return s->m_stopped || s->m_late;
    }
    void Check(int rc) {
        if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return;
        int primary = rc & 0xff;
        if (primary == SQLITE_INTERRUPT && m_stopped) throw Refusal{m_path + L": stopped; its entries stayed."};
        if (primary == SQLITE_INTERRUPT && m_late)
            throw Refusal{m_path + L": not done within " + std::to_wstring(DatabaseBudgetMs() / 1000) +
                          L" seconds; stopped, its entries stayed."};
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_READONLY ||
            primary == SQLITE_CANTOPEN || primary == SQLITE_PERM)
            throw Refusal{InUse()};
        if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) throw Refusal{NotExpected(FromUtf8(sqlite3_errstr(rc)))};
        const char* message = m_db ? sqlite3_errmsg(m_db.get()) : sqlite3_errstr(rc);
        throw Refusal{m_path + L": " + FromUtf8(message)};
    }

    std::wstring m_path;
    const DatabaseClear& m_what;
    std::wstring m_browser;
    const StopToken* m_stop;
    ULONGLONG m_deadline;
    bool m_stopped = false, m_late = false;
    std::set<std::string> m_present;
    Db m_db;
};

unsigned long long FileBytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
unsigned long long AllBytes(const std::wstring& path) {
    return FileBytes(path) + FileBytes(path + L"-journal") + FileBytes(path + L"-wal");
}

// Whether no one has the file open: a log another connection still uses must stay.
bool Unused(const std::wstring& path) {
    return static_cast<bool>(
        Handle(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr)));
}

// The kept journal or log, with the old pages it holds, through the one delete; what it says of
// overwriting and failures joins the result (its file is not an item of the user's).
void EraseJournal(const std::wstring& path, const Options& options, Result& out) {
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES || !Unused(path)) return;
    Result r = EraseFile(path, options);
    r.erased = 0;
    r.bytes = 0;
    out += r;
}

}  // namespace

unsigned& DatabaseBusyMs() {
    static unsigned ms = 1000;
    return ms;
}
unsigned& DatabaseBudgetMs() {
    static unsigned ms = 120000;
    return ms;
}

unsigned long long CountDatabase(const std::wstring& path, const DatabaseClear& what, const std::wstring& browser,
                                 const Options& options, Listing& out) {
    // A look at a database in WAL mode leaves an empty log and index behind: what the look made
    // goes again (through the one delete), so that looking changes nothing.
    const std::wstring logs[] = {path + L"-wal", path + L"-shm"};
    bool had[2];
    for (int i = 0; i < 2; ++i) had[i] = ::GetFileAttributesW(logs[i].c_str()) != INVALID_FILE_ATTRIBUTES;
    struct Tidy {
        const std::wstring* logs;
        const bool* had;
        ~Tidy() {
            for (int i = 0; i < 2; ++i)
                if (!had[i] && ::GetFileAttributesW(logs[i].c_str()) != INVALID_FILE_ATTRIBUTES) EraseFile(logs[i], {});
        }
    } tidy{logs, had};
    Session s(path, what, browser, options);
    try {
        s.Open(false);
        unsigned long long rows = 0;
        for (const TableClear* t : s.Expected()) rows += s.Count(*t);
        // An emptied database is no trace: only one holding entries is listed (and so read back).
        if (rows) out.items.push_back({path + L" (" + std::to_wstring(rows) + L" entries)", FileBytes(path)});
        return rows;
    } catch (const Refusal& r) {
        out.problems.Failed(r.reason);
        return 0;
    }
}

void ClearDatabase(const std::wstring& path, const DatabaseClear& what, const std::wstring& browser,
                   const Options& options, Result& out) {
    const unsigned long long before = AllBytes(path);
    Session s(path, what, browser, options);
    unsigned long long rows = 0;
    bool wal = false, wrote = false;
    try {
        s.Open(true);
        wal = s.InWal();
        s.KeepJournal(wal);
        s.Exec("PRAGMA secure_delete=ON");
        // The write lock first: a database the browser holds is then found before anything is read.
        s.Exec("BEGIN IMMEDIATE");
        wrote = true;
        try {
            for (const TableClear* t : s.Expected()) rows += s.Delete(*t);
            s.Exec("COMMIT");
        } catch (...) {
            s.Rollback();
            throw;
        }
        out.erased += static_cast<unsigned>(rows);
        try {
            // Rebuilt, the file keeps no free page that once held an erased row; in WAL mode the
            // log is copied back first, so the rebuild starts from every page.
            if (wal) s.Checkpoint();
            s.Exec("VACUUM");
            if (wal && !s.Checkpoint()) out.Note(path + L": another program still reads it; its log stays until it closes.");
        } catch (const Refusal& r) {
            out.Failed(path + L": the entries are erased but the file could not be rebuilt: " + r.reason);
        }
    } catch (const Refusal& r) {
        out.Failed(r.reason);
    }
    s.Close();
    if (wrote) EraseJournal(path + (wal ? L"-wal" : L"-journal"), options, out);
    const unsigned long long after = AllBytes(path);
    if (before > after) out.bytes += before - after;
}

}  // namespace engine
