#include "Shutdown.h"

#include "Text.h"

namespace cli {

namespace {
// Turning the computer off is a right the user has but must switch on first.
void EnableShutdownRight() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    TOKEN_PRIVILEGES p{};
    p.PrivilegeCount = 1;
    if (::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &p.Privileges[0].Luid)) {
        p.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        ::AdjustTokenPrivileges(token, FALSE, &p, 0, nullptr, nullptr);
    }
    ::CloseHandle(token);
}
}  // namespace

ShutdownCalls& Shutdown() {
    static ShutdownCalls calls{&::InitiateSystemShutdownExW, &::AbortSystemShutdownW};
    return calls;
}

std::wstring TurnOffAfterErase() {
    EnableShutdownRight();
    wchar_t message[] = L"Corvane-Sweepmere has finished its erase task: the computer turns off in one minute.";
    if (!Shutdown().start(nullptr, message, 60, FALSE, FALSE, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_FLAG_PLANNED))
        return engine::Reason(L"the computer cannot be turned off", ::GetLastError());
    int answer = ::MessageBoxW(nullptr, L"The erase task has finished. The computer turns off in one minute.\n\n"
                                        L"Press Cancel to keep it running.",
                               L"Corvane-Sweepmere", MB_OKCANCEL | MB_ICONWARNING | MB_SYSTEMMODAL | MB_SETFOREGROUND);
    if (answer == IDCANCEL && !Shutdown().abort(nullptr))
        return engine::Reason(L"the turning off could not be cancelled", ::GetLastError());
    return L"";
}

}  // namespace cli
