// Helpers shared by the tests: pumping messages, answering message boxes, seeding the registry
// and scratch files of the test prefix.
#pragma once
#include <functional>
#include <string>
#include <thread>
#include <atomic>
#include <mutex>
#include <vector>

#include "TestFiles.h"
#include "afxwin.h"

namespace testkit {

// Handles every message waiting now (through the application's pre-translation when there is one).
void Pump();
// Pumps until cond holds or the time runs out; returns cond's last answer.
bool PumpUntil(const std::function<bool()>& cond, int timeoutMs = 5000);

// A message box or dialog that appeared while a watcher was running, and how it was answered.
struct SeenDialog {
    std::wstring caption;
    std::wstring text;   // the message text (static 0xFFFF) for message boxes
    DWORD exStyle = 0;
    HICON icon = nullptr;  // the icon shown by a message box
};

// Watches, on a thread of its own, for top-level dialogs of this process with the given caption
// and answers each by pressing the button with answerId; a Yes or No answerer presses OK where
// the dialog shows no such button, so that it also closes the messages between the questions.
// Everything it saw is kept.
class DialogAnswerer {
public:
    explicit DialogAnswerer(std::wstring caption, int answerId = IDOK, int delayMs = 0);
    ~DialogAnswerer();
    std::vector<SeenDialog> Seen();
    size_t Count();

private:
    void Run();
    std::wstring m_caption;
    int m_answer;
    int m_delayMs;
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    std::vector<SeenDialog> m_seen;
    std::thread m_thread;
};

// Registry of HKEY_CURRENT_USER in the test prefix.
void RegSetString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value);
void RegSetBinary(HKEY root, const std::wstring& key, const std::wstring& name, const void* data, DWORD size, DWORD type);
void RegSetDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value);
void RegDeleteTree(HKEY root, const std::wstring& key);
bool RegKeyExists(HKEY root, const std::wstring& key);
bool RegValueExists(HKEY root, const std::wstring& key, const std::wstring& name);
// Points the user's "Cache" shell folder at a folder.
void PointCacheAt(const std::wstring& folder);
// An application's numbered list as its definition names it (its first source): the key, and
// the value names from first to last.
struct NumberedList {
    std::wstring key, pattern;
    int first = 0, last = 0;
    std::wstring Name(int n) const;
};
NumberedList NumberedListOf(const std::string& category);

// Denies setting and deleting values of a key below HKEY_CURRENT_USER while it lives; the
// registry enforces it.
class LockedKey {
public:
    explicit LockedKey(std::wstring key);
    ~LockedKey();
    bool Locked() const { return m_locked; }

private:
    LONG SetDacl(const wchar_t* sddl);
    std::wstring m_key;
    bool m_locked = false;
};

// Puts data (or text) on the clipboard as the only format; false when it could not be opened.
bool PutClipboard(UINT format, HANDLE data);
bool PutClipboardText(const wchar_t* text);

// A visible dialog (#32770) with this caption, of this thread or (thread 0) of this process.
HWND FindDialog(const std::wstring& caption, DWORD thread = 0);

// A window's text, read without sending it a message.
std::wstring TextOf(HWND h);

// Reads a pixel of a window's client area from the screen.
COLORREF ClientPixel(HWND h, int x, int y);

}  // namespace testkit
