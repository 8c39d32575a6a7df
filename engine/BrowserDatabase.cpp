#include "BrowserDatabase.h"

#include <windows.h>

#include <memory>
#include <set>
#include <sqlite3.h>

#include "Text.h"

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

// The rows of a table that a clear takes: all, or those no row of the keep table refers to.
std::string Rows(const TableClear& t) {
    std::string sql = Quoted(t.table);
    if (!t.keepIn.empty())
        sql += " WHERE " + Quoted(t.keepColumn) + " NOT IN (SELECT " + Quoted(t.keepAs) + " FROM " + Quoted(t.keepIn) +
               " WHERE " + Quoted(t.keepAs) + " IS NOT NULL)";
    return sql;
}

class Session {
public:
    Session(const std::wstring& path, const DatabaseClear& what, const std::wstring& browser)
        : m_path(path), m_what(what), m_browser(browser) {}

    void Open(bool write) {
        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(Utf8(m_path).c_str(), &db, write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr);
        m_db.reset(db);
        if (rc != SQLITE_OK) Check(rc);
        if (write && sqlite3_db_readonly(db, "main") == 1) throw Refusal{InUse()};
        sqlite3_busy_timeout(db, static_cast<int>(DatabaseBusyMs()));
        sqlite3_extended_result_codes(db, 1);
        // A cache big enough for a long history: each page is read and written once. (No file
        // mapping: a view of ours would make a browser that opens the file meanwhile fail to
        // shorten it.)
        Exec("PRAGMA cache_size=-32768");
    }
    void Exec(const std::string& sql) { Check(sqlite3_exec(m_db.get(), sql.c_str(), nullptr, nullptr, nullptr)); }
    // The first column of every row of a query, as text.
    std::vector<std::string> Column(const std::string& sql) {
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
    // The tables of the definition that this file holds; a required one missing, or a failed
    // integrity check, refuses the database.
    std::vector<const TableClear*> Expected() {
        std::set<std::string> present;
        for (std::string& name : Column("SELECT name FROM sqlite_master WHERE type='table'")) present.insert(name);
        std::vector<const TableClear*> tables;
        for (const TableClear& t : m_what.tables) {
            for (const std::string* needed : {&t.table, &t.keepIn}) {
                if (needed->empty() || present.count(*needed)) continue;
                if (needed == &t.table && t.optional) continue;
                throw Refusal{NotExpected(L"it has no table " + FromUtf8(*needed))};
            }
            if (present.count(t.table)) tables.push_back(&t);
        }
        std::vector<std::string> integrity = Column("PRAGMA integrity_check(1)");
        if (integrity.size() != 1 || integrity[0] != "ok")
            throw Refusal{NotExpected(L"its integrity check failed" +
                                      (integrity.empty() ? std::wstring() : L" (" + FromUtf8(integrity[0]) + L")"))};
        return tables;
    }
    unsigned long long Count(const TableClear& t) {
        return std::stoull(Column("SELECT count(*) FROM " + Rows(t))[0]);
    }
    unsigned long long Delete(const TableClear& t) {
        Exec("DELETE FROM " + Rows(t));
        return static_cast<unsigned long long>(sqlite3_changes64(m_db.get()));
    }
    bool InWal() { return Column("PRAGMA journal_mode")[0] == "wal"; }
    void Rollback() { sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr); }

    std::wstring InUse() const { return L"Close " + m_browser + L" first: " + m_what.inUse + L"."; }
    std::wstring NotExpected(const std::wstring& why) const {
        return m_path + L": not the database " + m_browser + L" keeps there (" + why + L"); left untouched.";
    }

private:
    void Check(int rc) {
        if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return;
        int primary = rc & 0xff;
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
    Db m_db;
};

unsigned long long FileBytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

unsigned& DatabaseBusyMs() {
    static unsigned ms = 1000;
    return ms;
}

unsigned long long CountDatabase(const std::wstring& path, const DatabaseClear& what, const std::wstring& browser,
                                 Listing& out) {
    Session s(path, what, browser);
    try {
        s.Open(false);
        unsigned long long rows = 0;
        for (const TableClear* t : s.Expected()) rows += s.Count(*t);
        out.items.push_back({path + L" (" + std::to_wstring(rows) + L" entries)", FileBytes(path)});
        return rows;
    } catch (const Refusal& r) {
        out.problems.Failed(r.reason);
        return 0;
    }
}

void ClearDatabase(const std::wstring& path, const DatabaseClear& what, const std::wstring& browser, Result& out) {
    Session s(path, what, browser);
    unsigned long long rows = 0;
    try {
        s.Open(true);
        s.Exec("PRAGMA secure_delete=ON");
        // The write lock first: a database the browser holds is then found before anything is read.
        s.Exec("BEGIN IMMEDIATE");
        try {
            for (const TableClear* t : s.Expected()) rows += s.Delete(*t);
            s.Exec("COMMIT");
        } catch (...) {
            s.Rollback();
            throw;
        }
    } catch (const Refusal& r) {
        out.Failed(r.reason);
        return;
    }
    out.erased += static_cast<unsigned>(rows);
    try {
        // Rebuilt, the file keeps no free page that once held an erased row.
        s.Exec("VACUUM");
        if (s.InWal()) s.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
    } catch (const Refusal& r) {
        out.Failed(path + L": the entries are erased but the file could not be rebuilt: " + r.reason);
    }
}

}  // namespace engine
