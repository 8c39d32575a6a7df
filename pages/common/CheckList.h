// The Select All and Clear All of the pages whose rows carry check boxes.
#pragma once
#include "afxwin.h"

namespace checklist {
// Checks (or unchecks) every row, from the first to the last.
inline void SetAll(CListCtrl& list, BOOL check) {
    int count = static_cast<int>(::SendMessageW(list.m_hWnd, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) list.SetCheck(i, check);
}
// Turns the rows' check boxes on: exactly LVS_EX_CHECKBOXES.
inline void EnableCheckBoxes(CListCtrl& list) {
    ::SendMessageW(list.m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES);
}
}  // namespace checklist
