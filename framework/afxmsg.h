// Command targets and their message tables.
//
// Every class that handles commands or notifications keeps one static table of entries chained
// to its base class's table; one dispatcher walks the chain. A table is plain data, so the
// framework can ask whether a command has a handler (toolbar buttons are enabled by that).
#pragma once
#include "afxbase.h"

class CCmdTarget;
class CCmdUI;

using AFX_PMSG = void (CCmdTarget::*)();

enum class MsgKind {
    Command,         // WM_COMMAND from a menu, an accelerator or a button click (BN_CLICKED == 0)
    Control,         // WM_COMMAND with a control notification code
    Notify,          // WM_NOTIFY from a child, by id and code
    ControlReflect,  // WM_COMMAND handled by the control that sent it
    NotifyReflect,   // WM_NOTIFY handled by the control that sent it
    UpdateUI,        // the enabled/checked state of a command's menu item or button
    Message,         // any window message by number
    Registered,      // a message whose number is registered at run time
};

struct MsgEntry {
    MsgKind kind;
    UINT message;          // Message
    const UINT* pMessage;  // Registered: where the registered number is kept
    int code;              // notification code
    UINT id;               // command or control id
    AFX_PMSG pfn;
};

struct MsgMap {
    const MsgMap* base;
    std::vector<MsgEntry> entries;
};

enum { CN_COMMAND = 0, CN_UPDATE_COMMAND_UI = -1 };

struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
    const MsgEntry* pEntry = nullptr;
};

// Handler signatures.
using AFX_PMSG_NOTIFY = void (CCmdTarget::*)(NMHDR*, LRESULT*);
using AFX_PMSG_UPDATE = void (CCmdTarget::*)(CCmdUI*);
using AFX_PMSG_MESSAGE = LRESULT (CCmdTarget::*)(WPARAM, LPARAM);

// Entry builders: each returns one table row.
namespace msg {
template <class T>
MsgEntry Command(UINT id, void (T::*fn)()) {
    return {MsgKind::Command, WM_COMMAND, nullptr, CN_COMMAND, id, static_cast<AFX_PMSG>(fn)};
}
template <class T>
MsgEntry Control(int code, UINT id, void (T::*fn)()) {
    return {MsgKind::Control, WM_COMMAND, nullptr, code, id, static_cast<AFX_PMSG>(fn)};
}
template <class T>
MsgEntry ControlReflect(int code, void (T::*fn)()) {
    return {MsgKind::ControlReflect, WM_COMMAND, nullptr, code, 0, static_cast<AFX_PMSG>(fn)};
}
template <class T>
MsgEntry Notify(int code, UINT id, void (T::*fn)(NMHDR*, LRESULT*)) {
    return {MsgKind::Notify, WM_NOTIFY, nullptr, code, id,
            reinterpret_cast<AFX_PMSG>(static_cast<AFX_PMSG_NOTIFY>(fn))};
}
template <class T>
MsgEntry NotifyReflect(int code, void (T::*fn)(NMHDR*, LRESULT*)) {
    return {MsgKind::NotifyReflect, WM_NOTIFY, nullptr, code, 0,
            reinterpret_cast<AFX_PMSG>(static_cast<AFX_PMSG_NOTIFY>(fn))};
}
template <class T>
MsgEntry UpdateUI(UINT id, void (T::*fn)(CCmdUI*)) {
    return {MsgKind::UpdateUI, WM_COMMAND, nullptr, CN_UPDATE_COMMAND_UI, id,
            reinterpret_cast<AFX_PMSG>(static_cast<AFX_PMSG_UPDATE>(fn))};
}
template <class T>
MsgEntry Message(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return {MsgKind::Message, message, nullptr, 0, 0,
            reinterpret_cast<AFX_PMSG>(static_cast<AFX_PMSG_MESSAGE>(fn))};
}
template <class T>
MsgEntry Registered(const UINT* pMessage, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return {MsgKind::Registered, 0, pMessage, 0, 0,
            reinterpret_cast<AFX_PMSG>(static_cast<AFX_PMSG_MESSAGE>(fn))};
}
}  // namespace msg

// Declares a class's table; its rows are defined beside the class's code.
#define DECLARE_MESSAGE_MAP()                                              \
public:                                                                    \
    static const MsgMap messageMap;                                        \
    const MsgMap* GetMessageMap() const override { return &messageMap; }  \
                                                                           \
private:

class CCmdTarget : public CObject {
public:
    static const MsgMap messageMap;
    virtual const MsgMap* GetMessageMap() const { return &messageMap; }

    // Handles (or, with pHandlerInfo, only looks for) the command nID with code nCode.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The first entry of this object's table chain that matches; null when none does.
    const MsgEntry* FindEntry(MsgKind kind, int code, UINT id) const;
    const MsgEntry* FindMessageEntry(UINT message) const;

    void CallVoid(const MsgEntry& e) { (this->*e.pfn)(); }
    void CallNotify(const MsgEntry& e, NMHDR* nm, LRESULT* res) {
        (this->*reinterpret_cast<AFX_PMSG_NOTIFY>(e.pfn))(nm, res);
    }
    LRESULT CallMessage(const MsgEntry& e, WPARAM w, LPARAM l) {
        return (this->*reinterpret_cast<AFX_PMSG_MESSAGE>(e.pfn))(w, l);
    }
};

// The state of one user-interface item (menu item, toolbar button, status pane) for a command.
class CCmdUI {
public:
    UINT m_nID = 0;
    BOOL m_bEnabled = TRUE;
    BOOL m_bEnableChanged = FALSE;
    int m_nCheck = 0;
    BOOL m_bContinueRouting = FALSE;
    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL bOn = TRUE) { m_bEnabled = bOn; m_bEnableChanged = TRUE; }
    virtual void SetCheck(int nCheck = 1) { m_nCheck = nCheck; }
    virtual void SetText(const wchar_t*) {}
    void ContinueRouting() { m_bContinueRouting = TRUE; }
    // Asks the target's chain for the state; an item with no handler at all is disabled.
    void DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};
