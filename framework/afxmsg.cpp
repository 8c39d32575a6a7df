#include "afxmsg.h"

const MsgMap CCmdTarget::messageMap{nullptr, {}};

static bool Matches(const MsgEntry& e, MsgKind kind, int code, UINT id) {
    if (e.kind != kind) return false;
    switch (kind) {
    case MsgKind::Command:
    case MsgKind::UpdateUI:
        return e.id == id;
    case MsgKind::Control:
    case MsgKind::Notify:
        return e.id == id && e.code == code;
    case MsgKind::ControlReflect:
    case MsgKind::NotifyReflect:
        return e.code == code;
    default:
        return false;
    }
}

const MsgEntry* CCmdTarget::FindEntry(MsgKind kind, int code, UINT id) const {
    for (const MsgMap* m = GetMessageMap(); m; m = m->base)
        for (const MsgEntry& e : m->entries)
            if (Matches(e, kind, code, id)) return &e;
    return nullptr;
}

const MsgEntry* CCmdTarget::FindMessageEntry(UINT message) const {
    for (const MsgMap* m = GetMessageMap(); m; m = m->base)
        for (const MsgEntry& e : m->entries) {
            if (e.kind == MsgKind::Message && e.message == message) return &e;
            if (e.kind == MsgKind::Registered && e.pMessage && *e.pMessage == message && message != 0)
                return &e;
        }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (nCode == CN_UPDATE_COMMAND_UI) {
        const MsgEntry* e = FindEntry(MsgKind::UpdateUI, nCode, nID);
        if (!e) return FALSE;
        if (pHandlerInfo) {
            pHandlerInfo->pTarget = this;
            pHandlerInfo->pEntry = e;
            return TRUE;
        }
        auto* ui = static_cast<CCmdUI*>(pExtra);
        ui->m_bContinueRouting = FALSE;
        (this->*reinterpret_cast<AFX_PMSG_UPDATE>(e->pfn))(ui);
        return !ui->m_bContinueRouting;
    }
    const MsgEntry* e = nCode == CN_COMMAND ? FindEntry(MsgKind::Command, nCode, nID) : nullptr;
    if (!e) e = FindEntry(MsgKind::Control, nCode, nID);
    if (!e) return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pEntry = e;
        return TRUE;
    }
    CallVoid(*e);
    return TRUE;
}

void CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    if (!pTarget) return;
    m_bEnableChanged = FALSE;
    if (pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr)) return;
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
}
