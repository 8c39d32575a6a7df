#include "Schedule.h"

#include <windows.h>
#include <oleauto.h>
#include <taskschd.h>
#include <wrl/client.h>

#include <cstdio>

#include "Handles.h"
#include "Text.h"

namespace engine {

const wchar_t kTaskFolder[] = L"\\Corvane-Sweepmere";

namespace {
// The names the program registered, each with its description.
const wchar_t kOwnList[] = L"Software\\Local AppWizard-Generated Applications\\Application\\Scheduler";

std::wstring HresultText(const std::wstring& what, HRESULT hr) {
    std::wstring text = ErrorText(static_cast<DWORD>(hr));
    if (text.rfind(L"error ", 0) == 0) {
        wchar_t code[16];
        swprintf(code, 16, L"0x%08X", static_cast<unsigned>(hr));
        text = L"the Task Scheduler's error " + std::wstring(code);
    }
    return what + L": " + text;
}

class Bstr {
public:
    explicit Bstr(const std::wstring& s) : m_b(::SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
    Bstr() = default;
    ~Bstr() { ::SysFreeString(m_b); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return m_b; }
    BSTR* Out() { return &m_b; }
    std::wstring Text() const { return m_b ? std::wstring(m_b, ::SysStringLen(m_b)) : std::wstring(); }

private:
    BSTR m_b = nullptr;
};

// COM for the call's thread, undone when the call ends (a thread that has it already keeps it).
class ComScope {
public:
    ComScope() : m_hr(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }

private:
    HRESULT m_hr;
};

// The program's task folder, made when missing.
std::wstring OpenFolder(ComPtr<ITaskFolder>& folder) {
    ComPtr<ITaskService> service;
    HRESULT hr = ::CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                                    reinterpret_cast<void**>(service.GetAddressOf()));
    if (FAILED(hr)) return HresultText(L"The Task Scheduler cannot be reached", hr);
    VARIANT none{};
    hr = service->Connect(none, none, none, none);
    if (FAILED(hr)) return HresultText(L"The Task Scheduler cannot be reached", hr);
    Bstr name(kTaskFolder);
    if (SUCCEEDED(service->GetFolder(name, folder.GetAddressOf()))) return L"";
    ComPtr<ITaskFolder> root;
    Bstr rootName(L"\\");
    hr = service->GetFolder(rootName, root.GetAddressOf());
    if (SUCCEEDED(hr)) hr = root->CreateFolder(name, none, folder.GetAddressOf());
    return FAILED(hr) ? HresultText(L"The task folder cannot be made", hr) : L"";
}

std::wstring Registered(ITaskFolder* folder, const std::wstring& name, ComPtr<IRegisteredTask>& task) {
    Bstr b(name);
    HRESULT hr = folder->GetTask(b, task.GetAddressOf());
    return FAILED(hr) ? HresultText(L"The task \"" + name + L"\" cannot be found", hr) : L"";
}

// The program's folder and the task of that name in it.
std::wstring OpenTask(const std::wstring& name, ComPtr<ITaskFolder>& folder, ComPtr<IRegisteredTask>& task) {
    std::wstring problem = OpenFolder(folder);
    return problem.empty() ? Registered(folder.Get(), name, task) : problem;
}

std::wstring UserId() {
    wchar_t domain[256] = L"", user[256] = L"";
    ::GetEnvironmentVariableW(L"USERDOMAIN", domain, 256);
    DWORD n = 256;
    if (!::GetUserNameW(user, &n)) return L"";
    return domain[0] ? std::wstring(domain) + L"\\" + user : std::wstring(user);
}

bool Elevated() {
    Handle token;
    TOKEN_ELEVATION e{};
    DWORD n = 0;
    return ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Put()) &&
           ::GetTokenInformation(token.Get(), TokenElevation, &e, sizeof e, &n) && e.TokenIsElevated;
}

void KeepInOwnList(const std::wstring& name, const std::wstring& description) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kOwnList, name.c_str(), REG_SZ, description.c_str(),
                      static_cast<DWORD>((description.size() + 1) * sizeof(wchar_t)));
}
void DropFromOwnList(const std::wstring& name) { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kOwnList, name.c_str()); }

// The names and descriptions of the own list.
std::vector<std::pair<std::wstring, std::wstring>> OwnList() {
    std::vector<std::pair<std::wstring, std::wstring>> list;
    HKEY key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kOwnList, 0, KEY_READ, &key) != ERROR_SUCCESS) return list;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256], data[2048];
        DWORD nameLen = 256, size = sizeof data - sizeof(wchar_t), type = 0;
        LONG r = ::RegEnumValueW(key, i, name, &nameLen, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS || type != REG_SZ) continue;
        data[size / sizeof(wchar_t)] = L'\0';
        list.emplace_back(name, data);
    }
    ::RegCloseKey(key);
    return list;
}

std::wstring DescriptionOf(IRegisteredTask* task) {
    ComPtr<ITaskDefinition> definition;
    ComPtr<IRegistrationInfo> info;
    Bstr text;
    if (SUCCEEDED(task->get_Definition(definition.GetAddressOf())) && SUCCEEDED(definition->get_RegistrationInfo(info.GetAddressOf())))
        info->get_Description(text.Out());
    return text.Text();
}

std::wstring NextRunText(IRegisteredTask* task) {
    DATE when = 0;
    SYSTEMTIME t{};
    if (FAILED(task->get_NextRunTime(&when)) || when <= 0 || !::VariantTimeToSystemTime(when, &t)) return L"";
    wchar_t text[32];
    swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    return text;
}

// The plan of a registered task: from its own description, else from the own list's copy.
std::optional<TaskSpec> SpecOf(IRegisteredTask* task, const std::wstring& name) {
    if (auto plan = SpecFromDescription(name, DescriptionOf(task))) return plan;
    for (const auto& kept : OwnList())
        if (SameNoCase(kept.first, name)) return SpecFromDescription(name, kept.second);
    return std::nullopt;
}

std::wstring RegisterIn(ITaskFolder* folder, const TaskSpec& plan) {
    Bstr name(plan.name), xml(TaskXml(plan, SweepmerePath(), UserId(), Elevated()));
    VARIANT none{};
    ComPtr<IRegisteredTask> task;
    HRESULT hr = folder->RegisterTask(name, xml, TASK_CREATE_OR_UPDATE, none, none, TASK_LOGON_INTERACTIVE_TOKEN, none,
                                      task.GetAddressOf());
    if (FAILED(hr)) return HresultText(L"The Task Scheduler refused the task \"" + plan.name + L"\"", hr);
    KeepInOwnList(plan.name, TaskDescription(plan));
    return L"";
}
}  // namespace

std::wstring SweepmerePath() {
    wchar_t path[MAX_PATH * 4];
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring self(path, n);
    return self.substr(0, self.find_last_of(L'\\') + 1) + L"sweepmere.exe";
}

std::wstring RegisterTask(const TaskSpec& plan) {
    std::wstring problem = TaskSpecProblem(plan);
    if (!problem.empty()) return problem;
    ComScope com;
    ComPtr<ITaskFolder> folder;
    problem = OpenFolder(folder);
    return problem.empty() ? RegisterIn(folder.Get(), plan) : problem;
}

std::wstring ListTasks(std::vector<ScheduledTask>& tasks) {
    tasks.clear();
    ComScope com;
    ComPtr<ITaskFolder> folder;
    std::wstring problem = OpenFolder(folder);
    if (!problem.empty()) return problem;
    std::vector<std::wstring> names;
    for (const auto& kept : OwnList()) names.push_back(kept.first);
    // What the scheduler lists (on Windows; Wine lists none) joins the own list.
    ComPtr<IRegisteredTaskCollection> all;
    LONG count = 0;
    if (SUCCEEDED(folder->GetTasks(TASK_ENUM_HIDDEN, all.GetAddressOf())) && SUCCEEDED(all->get_Count(&count))) {
        for (LONG i = 1; i <= count; ++i) {
            ComPtr<IRegisteredTask> task;
            VARIANT index{};
            index.vt = VT_I4;
            index.lVal = i;
            Bstr name;
            if (FAILED(all->get_Item(index, task.GetAddressOf())) || FAILED(task->get_Name(name.Out()))) continue;
            bool known = false;
            for (const std::wstring& n : names) known = known || SameNoCase(n, name.Text());
            if (!known) names.push_back(name.Text());
        }
    }
    for (const std::wstring& name : names) {
        ComPtr<IRegisteredTask> task;
        if (!Registered(folder.Get(), name, task).empty()) {
            DropFromOwnList(name);  // removed in Windows' own Task Scheduler
            continue;
        }
        ScheduledTask t;
        t.plan = SpecOf(task.Get(), name).value_or(TaskSpec{});
        t.plan.name = name;
        VARIANT_BOOL enabled = VARIANT_TRUE;
        task->get_Enabled(&enabled);
        t.enabled = t.plan.enabled = enabled != VARIANT_FALSE;
        t.nextRun = NextRunText(task.Get());
        tasks.push_back(std::move(t));
    }
    return L"";
}

std::wstring RemoveTask(const std::wstring& name) {
    ComScope com;
    ComPtr<ITaskFolder> folder;
    std::wstring problem = OpenFolder(folder);
    if (!problem.empty()) return problem;
    Bstr b(name);
    HRESULT hr = folder->DeleteTask(b, 0);
    if (FAILED(hr) && hr != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return HresultText(L"The task \"" + name + L"\" cannot be removed", hr);
    DropFromOwnList(name);
    return L"";
}

std::wstring EnableTask(const std::wstring& name, bool enabled) {
    ComScope com;
    ComPtr<ITaskFolder> folder;
    ComPtr<IRegisteredTask> task;
    std::wstring problem = OpenTask(name, folder, task);
    if (!problem.empty()) return problem;
    VARIANT_BOOL now = VARIANT_FALSE;
    task->put_Enabled(enabled ? VARIANT_TRUE : VARIANT_FALSE);
    task.Reset();
    // A scheduler that reports success and changes nothing: the task is registered again with it.
    if (Registered(folder.Get(), name, task).empty() && SUCCEEDED(task->get_Enabled(&now)) && (now != VARIANT_FALSE) == enabled)
        return L"";
    std::optional<TaskSpec> plan = task ? SpecOf(task.Get(), name) : std::nullopt;
    if (!plan) return L"The task \"" + name + L"\" cannot be changed: its definition cannot be read back.";
    plan->enabled = enabled;
    return RegisterIn(folder.Get(), *plan);
}

std::wstring StartTask(const std::wstring& name, bool* direct, void** process) {
    if (direct) *direct = false;
    ComScope com;
    ComPtr<ITaskFolder> folder;
    ComPtr<IRegisteredTask> task;
    std::wstring problem = OpenTask(name, folder, task);
    if (!problem.empty()) return problem;
    ComPtr<IRunningTask> running;
    VARIANT none{};
    HRESULT hr = task->Run(none, running.GetAddressOf());
    if (SUCCEEDED(hr)) return L"";
    if (hr != E_NOTIMPL) return HresultText(L"The task \"" + name + L"\" cannot be started", hr);
    // The scheduler cannot run it: the same action, started here.
    std::optional<TaskSpec> plan = SpecOf(task.Get(), name);
    if (!plan) return L"The task \"" + name + L"\" cannot be started: its definition cannot be read back.";
    std::wstring command = L"\"" + SweepmerePath() + L"\" " + TaskArguments(*plan);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const std::wstring beside = SweepmerePath().substr(0, SweepmerePath().find_last_of(L'\\'));
    if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, beside.c_str(), &si, &pi))
        return Reason(L"The task \"" + name + L"\" cannot be started", ::GetLastError());
    Handle thread(pi.hThread), started(pi.hProcess);
    if (process) *process = started.Detach();
    if (direct) *direct = true;
    return L"";
}

}  // namespace engine
