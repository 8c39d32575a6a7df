#include "TaskDefinition.h"

#include <cstdio>

namespace engine {

namespace {
const wchar_t* const kDays[] = {L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
const wchar_t* const kMonths[] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                                  L"July",    L"August",   L"September", L"October", L"November", L"December"};
constexpr int kLastKind = static_cast<int>(TaskKind::BrowserClosed);

std::wstring Number(int n, int digits) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%0*d", digits, n);
    return text;
}
std::wstring Clock(const TaskTime& t) { return Number(t.hour, 2) + L":" + Number(t.minute, 2); }
std::wstring Date(const TaskTime& t) { return Number(t.year, 4) + L"-" + Number(t.month, 2) + L"-" + Number(t.day, 2); }
std::wstring Boundary(const TaskTime& t) { return Date(t) + L"T" + Clock(t) + L":00"; }
int DayOfWeek(const TaskTime& t) { return t.dayOfWeek >= 0 && t.dayOfWeek < 7 ? t.dayOfWeek : 0; }

std::wstring Escaped(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
            case L'&': out += L"&amp;"; break;
            case L'<': out += L"&lt;"; break;
            case L'>': out += L"&gt;"; break;
            case L'"': out += L"&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::wstring Element(const std::wstring& name, const std::wstring& text) {
    return L"<" + name + L">" + text + L"</" + name + L">";
}

std::wstring Trigger(const TaskSpec& s, const std::wstring& userId) {
    const std::wstring start = Element(L"StartBoundary", Boundary(s.when));
    switch (s.kind) {
        case TaskKind::Manually: return L"";
        case TaskKind::Once: return Element(L"TimeTrigger", start);
        case TaskKind::Interval:
            return Element(L"TimeTrigger", Element(L"Repetition", Element(L"Interval", L"PT" + std::to_wstring(s.everyMinutes / 60) + L"H" +
                                                                                        std::to_wstring(s.everyMinutes % 60) + L"M")) +
                                               start);
        case TaskKind::Daily: return Element(L"CalendarTrigger", start + Element(L"ScheduleByDay", Element(L"DaysInterval", L"1")));
        case TaskKind::Weekly:
            return Element(L"CalendarTrigger", start + Element(L"ScheduleByWeek", Element(L"DaysOfWeek", L"<" + std::wstring(kDays[DayOfWeek(s.when)]) + L" />") +
                                                                                      Element(L"WeeksInterval", L"1")));
        case TaskKind::Monthly: {
            std::wstring months;
            for (const wchar_t* m : kMonths) months += L"<" + std::wstring(m) + L" />";
            return Element(L"CalendarTrigger", start + Element(L"ScheduleByMonth", Element(L"DaysOfMonth", Element(L"Day", std::to_wstring(s.when.day))) +
                                                                                       Element(L"Months", months)));
        }
        case TaskKind::Logon:
        case TaskKind::BrowserClosed: return Element(L"LogonTrigger", userId.empty() ? L"" : Element(L"UserId", Escaped(userId)));
        case TaskKind::Startup: return L"<BootTrigger />";
        case TaskKind::Logoff:
        case TaskKind::Shutdown: {
            const TaskEvent e = EventOf(s.kind);
            const std::wstring query = L"<QueryList><Query Id=\"0\" Path=\"" + std::wstring(e.log) + L"\"><Select Path=\"" + e.log +
                                       L"\">*[System[Provider[@Name='" + e.provider + L"'] and EventID=" + std::to_wstring(e.id) +
                                       L"]]</Select></Query></QueryList>";
            return Element(L"EventTrigger", Element(L"Subscription", Escaped(query)));
        }
    }
    return L"";
}

bool KeyChar(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'.' || c == L'-' || c == L'_';
}

// "name=value" fields of the description's last line.
std::wstring Field(const std::wstring& line, const std::wstring& name) {
    const std::wstring tag = L" " + name + L"=";
    size_t at = line.find(tag);
    if (at == std::wstring::npos) return L"";
    at += tag.size();
    return line.substr(at, line.find(L' ', at) - at);
}

bool ToInt(const std::wstring& text, int low, int high, int& out) {
    if (text.empty() || text.size() > 6) return false;
    int n = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return false;
        n = n * 10 + (c - L'0');
    }
    if (n < low || n > high) return false;
    out = n;
    return true;
}
const wchar_t kSpecTag[] = L"sweepmere:";
}  // namespace

TaskEvent EventOf(TaskKind kind) {
    return kind == TaskKind::Logoff ? TaskEvent{L"System", L"Microsoft-Windows-Winlogon", 7002}
                                    : TaskEvent{L"System", L"User32", 1074};
}

std::wstring TaskNameProblem(const std::wstring& name) {
    if (name.empty() || name.find_first_not_of(L' ') == std::wstring::npos) return L"The task needs a name.";
    if (name.size() > 200) return L"The task's name is too long (at most 200 characters).";
    if (name.back() == L'.' || name.back() == L' ') return L"A task's name cannot end with a dot or a blank.";
    for (wchar_t c : name)
        if (c < 32 || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos)
            return L"A task's name cannot hold any of \\ / : * ? \" < > | or a control character.";
    return L"";
}

std::wstring TaskSpecProblem(const TaskSpec& plan) {
    std::wstring name = TaskNameProblem(plan.name);
    if (!name.empty()) return name;
    if (plan.keys.empty()) return L"Check at least one category for the task to erase.";
    if (plan.kind == TaskKind::Interval && plan.everyMinutes < 1) return L"The interval must be at least one minute.";
    return L"";
}

std::wstring TaskArguments(const TaskSpec& plan) {
    std::wstring args = plan.kind == TaskKind::BrowserClosed ? L"/watch-browsers" : L"/erase";
    for (const std::string& key : plan.keys) args += L" " + std::wstring(key.begin(), key.end());
    if (plan.shutdown) args += L" /shutdown";
    return args;
}

std::wstring TaskInWords(const TaskSpec& s) {
    const TaskTime& t = s.when;
    switch (s.kind) {
        case TaskKind::Manually: return L"Manually";
        case TaskKind::Once: return L"at " + Clock(t) + L" on " + Date(t);
        case TaskKind::Interval: return L"every " + std::to_wstring(s.everyMinutes / 60) + L":" + Number(s.everyMinutes % 60, 2) + L" hours";
        case TaskKind::Daily: return L"every day at " + Clock(t);
        case TaskKind::Weekly: return L"every " + std::wstring(kDays[DayOfWeek(t)]) + L" at " + Clock(t);
        case TaskKind::Monthly: return L"every month on day " + std::to_wstring(t.day) + L" at " + Clock(t);
        case TaskKind::Logon: return L"at user logon";
        case TaskKind::Startup: return L"at system startup";
        case TaskKind::Logoff: return L"at user logoff";
        case TaskKind::Shutdown: return L"at system shutdown";
        case TaskKind::BrowserClosed: return L"when a browser closes";
    }
    return L"";
}

std::wstring TaskXml(const TaskSpec& plan, const std::wstring& command, const std::wstring& userId, bool elevated) {
    // A watcher waits for as long as the session lasts; an erase gets hours.
    const wchar_t* limit = plan.kind == TaskKind::BrowserClosed ? L"PT0S" : L"PT4H";
    return L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
           L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">" +
           Element(L"RegistrationInfo", Element(L"Author", L"Corvane-Sweepmere") + Element(L"Description", Escaped(TaskDescription(plan)))) +
           Element(L"Triggers", Trigger(plan, userId)) +
           L"<Principals><Principal id=\"Author\">" + Element(L"LogonType", L"InteractiveToken") +
           Element(L"RunLevel", elevated ? L"HighestAvailable" : L"LeastPrivilege") + L"</Principal></Principals>" +
           Element(L"Settings", Element(L"MultipleInstancesPolicy", L"IgnoreNew") + Element(L"DisallowStartIfOnBatteries", L"false") +
                                    Element(L"StopIfGoingOnBatteries", L"false") + Element(L"StartWhenAvailable", L"true") +
                                    Element(L"Enabled", plan.enabled ? L"true" : L"false") + Element(L"ExecutionTimeLimit", limit)) +
           L"<Actions Context=\"Author\">" +
           Element(L"Exec", Element(L"Command", Escaped(command)) + Element(L"Arguments", Escaped(TaskArguments(plan)))) +
           L"</Actions></Task>";
}

std::wstring TaskDescription(const TaskSpec& s) {
    std::wstring keys;
    for (const std::string& k : s.keys) keys += (keys.empty() ? L"" : L",") + std::wstring(k.begin(), k.end());
    return L"Corvane-Sweepmere erases " + keys + L" " + TaskInWords(s) + L".\n" + kSpecTag +
           L" kind=" + std::to_wstring(static_cast<int>(s.kind)) + L" at=" + Boundary(s.when).substr(0, 16) +
           L" dow=" + std::to_wstring(DayOfWeek(s.when)) + L" every=" + std::to_wstring(s.everyMinutes) +
           L" shutdown=" + (s.shutdown ? L"1" : L"0") + L" keys=" + keys;
}

std::optional<TaskSpec> SpecFromDescription(const std::wstring& name, const std::wstring& description) {
    size_t at = description.rfind(kSpecTag);
    if (at == std::wstring::npos) return std::nullopt;
    std::wstring line = description.substr(at + (sizeof kSpecTag / sizeof(wchar_t) - 1));
    line = line.substr(0, line.find_first_of(L"\r\n")) + L" ";
    TaskSpec s;
    s.name = name;
    int kind = 0, shutdown = 0;
    const std::wstring when = Field(line, L"at");  // YYYY-MM-DDTHH:MM
    if (!ToInt(Field(line, L"kind"), 0, kLastKind, kind) || when.size() != 16 || when[4] != L'-' || when[7] != L'-' ||
        when[10] != L'T' || when[13] != L':' || !ToInt(when.substr(0, 4), 1601, 9999, s.when.year) ||
        !ToInt(when.substr(5, 2), 1, 12, s.when.month) || !ToInt(when.substr(8, 2), 1, 31, s.when.day) ||
        !ToInt(when.substr(11, 2), 0, 23, s.when.hour) || !ToInt(when.substr(14, 2), 0, 59, s.when.minute) ||
        !ToInt(Field(line, L"dow"), 0, 6, s.when.dayOfWeek) || !ToInt(Field(line, L"every"), 0, 999999, s.everyMinutes) ||
        !ToInt(Field(line, L"shutdown"), 0, 1, shutdown))
        return std::nullopt;
    s.kind = static_cast<TaskKind>(kind);
    s.shutdown = shutdown == 1;
    std::wstring keys = Field(line, L"keys") + L",";
    for (size_t from = 0, comma; (comma = keys.find(L',', from)) != std::wstring::npos; from = comma + 1) {
        std::wstring key = keys.substr(from, comma - from);
        if (key.empty()) continue;
        for (wchar_t c : key)
            if (!KeyChar(c)) return std::nullopt;
        s.keys.emplace_back(key.begin(), key.end());
    }
    return s;
}

}  // namespace engine
