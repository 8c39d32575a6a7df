// A browser's database, cleared through SQLite itself: never by editing its bytes or deleting the
// file. The file is opened as data, never as code: its triggers do not run, its schema is not
// trusted, and every statement is bounded by limits, the stop request and a time budget. Freed
// pages are zeroed, the file is rebuilt afterwards, and the journal or write-ahead log that held
// the old pages goes through the one delete (overwritten when overwriting is on), so the erased
// text is left nowhere. A database the browser holds, or that is not what its definition says,
// stays untouched.
#pragma once
#include <string>

#include "BrowserDefinitions.h"
#include "Options.h"
#include "Result.h"

namespace engine {

// How long a clear waits for a database another program holds before it reports it in use.
unsigned& DatabaseBusyMs();
// How long one database may take, counted or cleared, before the work is given up.
unsigned& DatabaseBudgetMs();

// The rows a clear would delete, touching nothing: adds one item (the file, its size, the rows)
// or one problem. Returns the rows.
unsigned long long CountDatabase(const std::wstring& path, const DatabaseClear& what, const std::wstring& browser,
                                 const Options& options, Listing& out);
// Deletes the rows in one transaction, then rebuilds the file. Adds the rows deleted to erased
// and the bytes the files gave back to bytes, or one failure with the reason ("Close Google
// Chrome first: its history is in use.").
void ClearDatabase(const std::wstring& path, const DatabaseClear& what, const std::wstring& browser,
                   const Options& options, Result& out);

}  // namespace engine
