// The one way the pages delete a registry key with what lies below it: a registry link below
// the key is deleted as a link, and the key it points to keeps its values and subkeys.
#pragma once
#include <string>

#include "afxwin.h"

namespace safereg {
// Deletes subKey of root and everything below it. ERROR_SUCCESS when it is gone now,
// ERROR_FILE_NOT_FOUND when it was not there, another error when (some of) it stayed.
LONG DeleteKeyTree(HKEY root, const std::wstring& subKey);
}  // namespace safereg
