// The one registry key class. A path is opened step by step, each step with REG_OPTION_OPEN_LINK,
// and a step that is a registry link is refused: nothing is read or deleted through a link. Names
// are UTF-16; a value is deleted by the exact name that was listed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "Result.h"

namespace engine {

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(RegKey&& other) noexcept : m_key(other.m_key) { other.m_key = nullptr; }
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Opens root\path step by step ("" opens a new handle to root itself). ERROR_SUCCESS,
    // ERROR_FILE_NOT_FOUND, kRegLinkRefused when a step is a registry link, or another error.
    LONG Open(HKEY root, const std::wstring& path, REGSAM access = KEY_READ);
    // The same, creating missing steps (never through a link).
    LONG Create(HKEY root, const std::wstring& path, REGSAM access = KEY_READ | KEY_WRITE);
    bool IsOpen() const { return m_key != nullptr; }
    HKEY Get() const { return m_key; }
    void Close();

    std::vector<std::wstring> ValueNames() const;
    // Subkey names that are plain (not empty, no '\').
    std::vector<std::wstring> SubkeyNames() const;
    // A string value (REG_SZ; REG_EXPAND_SZ expanded); false when missing or not a string.
    bool ReadString(const std::wstring& name, std::wstring& text) const;
    bool ReadBinary(const std::wstring& name, std::vector<unsigned char>& data, DWORD* type = nullptr) const;
    bool ReadDword(const std::wstring& name, DWORD& value) const;
    LONG Write(const std::wstring& name, DWORD type, const void* data, DWORD size) const;
    LONG DeleteValue(const std::wstring& name) const;
    // Whether the key at root\path is a registry link (its last step opened without following it).
    static bool IsLink(HKEY root, const std::wstring& path);

private:
    HKEY m_key = nullptr;
};

// The error Open gives when a step is a registry link.
constexpr LONG kRegLinkRefused = ERROR_CANT_ACCESS_FILE;

// "HKCU\Software\x" style text for a key, for reasons and listings.
std::wstring KeyText(HKEY root, const std::wstring& path);

// Deletes one value; a value or key already missing counts as done (neither erased nor failed).
void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name, Result& result);
// Deletes a key with everything below it without following links: a link inside (or the key
// itself, when it is one) is deleted as a link, the key it points to keeps its contents. A link
// at a step above the key refuses the whole delete. A missing key counts as done.
void DeleteKeyTree(HKEY root, const std::wstring& path, Result& result);

}  // namespace engine
