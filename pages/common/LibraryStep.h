// The maker's outside library, called after the cache and cookie erases.
#pragma once

// Calls one export of Kestrix.dll; silent when the library or the export is not there. Only the
// program's own folder or the system folder is searched: never the current folder or PATH.
void RunLibraryStep(const char* exportName);
