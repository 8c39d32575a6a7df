// The rows of an owner-data list (LVS_OWNERDATA): the page keeps the texts, the list holds only
// their count and asks for the rows it shows, so that tens of thousands of names cost no more
// than the few on screen.
#pragma once
#include <string>
#include <vector>

#include "afxwin.h"

class OwnerDataRows {
public:
    // newestFirst: the last row added shows at the top.
    explicit OwnerDataRows(bool newestFirst) : m_newestFirst(newestFirst) {}

    void Add(std::vector<std::wstring>& names, CListCtrl& list) {
        for (std::wstring& name : names) m_rows.push_back(std::move(name));
        list.SendMessage(LVM_SETITEMCOUNT, m_rows.size(), LVSICF_NOSCROLL);
        list.Invalidate();
    }
    void Clear(CListCtrl& list) {
        m_rows.clear();
        list.DeleteAllItems();
    }
    // LVN_GETDISPINFO: the text of the row the list shows.
    void Answer(NMHDR* nm) const {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
        if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0) return;
        size_t row = static_cast<size_t>(item.iItem);
        const wchar_t* text = L"";
        if (row < m_rows.size()) text = m_rows[m_newestFirst ? m_rows.size() - 1 - row : row].c_str();
        ::lstrcpynW(item.pszText, text, item.cchTextMax);
    }
    size_t Size() const { return m_rows.size(); }

private:
    bool m_newestFirst;
    std::vector<std::wstring> m_rows;
};
