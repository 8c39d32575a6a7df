// A browser's database, cleared through SQLite itself: never by editing its bytes or deleting the
// file. Freed pages are zeroed and the file is rebuilt afterwards, so the erased text is not left
// in it; a database the browser holds, or that is not what its definition says, stays untouched.
#pragma once
#include <string>

#include "BrowserDefinitions.h"
#include "Result.h"

namespace engine {

// How long a clear waits for a database another program holds before it reports it in use.
unsigned& DatabaseBusyMs();

// The rows a clear would delete, touching nothing: adds one item (the file, its size, the rows)
// or one problem. Returns the rows.
unsigned long long CountDatabase(const std::wstring& path, const DatabaseClear& what, const std::wstring& browser, Listing& out);
// Deletes the rows in one transaction, then rebuilds the file. Adds the rows deleted to erased,
// or one failure with the reason ("Close Google Chrome first: its history is in use.").
void ClearDatabase(const std::wstring& path, const DatabaseClear& what, const std::wstring& browser, Result& out);

}  // namespace engine
