// The shared reader of registry string values and of the shell's special folders.
#pragma once
#include <list>

#include "afxwin.h"

// One item of a special folder.
struct ShellItem {
    std::wstring Name;           // display name inside its folder, 8-bit text
    HICON SmallIcon = nullptr;  // 16 x 16, or null when none could be extracted
    HICON LargeIcon = nullptr;  // 32 x 32, or null
};

// Made for one fill or one erase and dropped afterwards; it never has a window.
class CSpecialFolderEnum : public CWnd {
public:
    static constexpr DWORD kTextSize = 260;  // the caller's buffer of ReadRegString

    CSpecialFolderEnum();
    ~CSpecialFolderEnum() override;

    // Reads a value into the caller's 260-byte buffer (always terminated); the buffer stays empty
    // when the key or value cannot be read or the data does not fit. Opens and closes the key.
    // Returns the result of closing the key, or the error of opening it.
    LONG ReadRegString(HKEY root, const wchar_t* subKey, const wchar_t* valueName, wchar_t* buffer);
    // Set when the last ReadRegString read its value.
    bool LastReadOk() const { return m_bLastRead; }

    // Each enumerates one special folder and returns its items (newest enumerated first), or null.
    // The list and its icons belong to this object and go with it.
    std::list<ShellItem>* EnumRecycleBin();
    std::list<ShellItem>* EnumRecent();
    std::list<ShellItem>* EnumNetworkPlaces();
    // Replaces the item list with the folder's items; on failure the list is left empty.
    HRESULT EnumSpecialFolder(int csidl);
    // Both icons of one item of the folder; on failure the icons are left untouched.
    HRESULT GetItemIcons(IShellFolder* folder, LPCITEMIDLIST item, HICON* small, HICON* large);
    // The text of a display name the shell gave; frees the shell's string.
    std::wstring StrRetToText(LPCITEMIDLIST item, STRRET* strret);

    std::list<ShellItem>& Items() { return m_items; }

private:
    HRESULT Initialise();
    std::list<ShellItem>* ListOf(int csidl);
    HRESULT EnumFolder(IShellFolder* folder);
    void FreeItems();

    bool m_bInitialised = false;
    IMalloc* m_pMalloc = nullptr;
    IShellFolder* m_pDesktop = nullptr;
    bool m_bLastRead = false;
    std::list<ShellItem> m_items;
};
