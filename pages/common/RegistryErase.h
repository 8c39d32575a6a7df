// Registry values and keys below HKEY_CURRENT_USER, read and deleted safely: a key that is a
// registry link is never used as a way into the key it points to, and a name read from the
// registry is used as a path step only when it is a plain name. Keys go through SafeRegistry's
// delete; this adds the accounting of an erase.
#pragma once
#include <string>
#include <vector>

#include "EraseResult.h"
#include "afxwin.h"

namespace regerase {

// A key name read from the registry that may be joined to a path: not empty, no '\'.
bool IsPlainKeyName(const std::wstring& name);
// Whether the key at the path is a registry link (its last step is checked without following it).
bool IsLink(HKEY root, const std::wstring& path);
// Opens a key that is not a link at its last step; a link gives ERROR_ACCESS_DENIED.
LONG OpenPlainKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key);

// The plain, non-link subkeys of a key, in registry order.
std::vector<std::wstring> SubkeyNames(HKEY root, const std::wstring& path);
// The value names of a key, in registry order; none when the key is a link.
std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& path);
// A value's raw data and type; false when the key is a link or the value cannot be read.
bool ReadValue(HKEY root, const std::wstring& path, const std::wstring& name, std::vector<unsigned char>& data,
               DWORD* type = nullptr);

// Deletes one value. A value (or key) already missing is counted as neither erased nor failed;
// any other failure is counted with its reason.
void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name, EraseResult& result);
// Deletes a key with everything below it. A registry link below it (or the key itself, when it is
// one) is deleted as a link; the key it points to is never touched. A missing key counts as done.
void DeleteKey(HKEY root, const std::wstring& path, EraseResult& result);
// Writes binary or text data to a value of an existing, plain key.
LONG WriteValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                const std::vector<unsigned char>& data);

}  // namespace regerase
