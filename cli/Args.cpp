#include "Args.h"

#include <algorithm>

namespace cli {

const wchar_t* const kUsage =
    L"usage: sweepmere /list\n"
    L"       sweepmere /preview KEY... [/report FILE]\n"
    L"       sweepmere /erase KEY... [/overwrite] [/shutdown] [/report FILE] [/log FILE]\n"
    L"       sweepmere /watch-browsers KEY... [/overwrite] [/shutdown] [/log FILE]\n"
    L"       sweepmere /wipe-unused DRIVE... [/report FILE] [/log FILE]\n"
    L"       sweepmere /?\n"
    L"KEY: a category key or a group (the first two columns of /list), all, or wipelist:NAME\n"
    L"DRIVE: a drive letter with its colon, as T:\n";

namespace {

// Keys and options are ASCII: other characters become one that no key holds.
template <class Text>
std::string Lower(const Text& s) {
    std::string out;
    for (auto c : s) {
        unsigned u = static_cast<unsigned>(c);
        out += u >= 'A' && u <= 'Z' ? static_cast<char>(u - 'A' + 'a') : u < 0x80 ? static_cast<char>(u) : '\x7f';
    }
    return out;
}

// "/x", "-x" and "--x" are the option x; anything else is not an option ("" back).
std::string OptionName(const std::wstring& arg) {
    size_t skip = arg.rfind(L"--", 0) == 0 ? 2 : (arg[0] == L'/' || arg[0] == L'-') ? 1 : 0;
    return skip && arg.size() > skip ? Lower(arg.substr(skip)) : std::string();
}

// "T:" or "T:\\" in either case: the drive's letter in upper case; 0 for anything else.
wchar_t DriveOf(const std::wstring& arg) {
    if (arg.size() < 2 || arg.size() > 3 || arg[1] != L':' || (arg.size() == 3 && arg[2] != L'\\')) return 0;
    const wchar_t d = arg[0] >= L'a' && arg[0] <= L'z' ? static_cast<wchar_t>(arg[0] - L'a' + L'A') : arg[0];
    return d >= L'A' && d <= L'Z' ? d : 0;
}

bool SetCommand(Args& a, Command c, const std::wstring& arg) {
    if (a.command != Command::None) {
        a.error = L"only one of /list, /preview, /erase, /watch-browsers, /wipe-unused, /? may be given: " + arg;
        return false;
    }
    a.command = c;
    return true;
}

}  // namespace

Args Parse(const std::vector<std::wstring>& args, const std::vector<engine::Category>& table,
           WipeListLookup wipeLists) {
    Args a;
    std::vector<bool> chosen(table.size(), false);
    std::vector<const engine::Category*> lists;
    bool anyKey = false, reportGiven = false, logGiven = false;
    for (size_t i = 0; i < args.size() && a.error.empty(); ++i) {
        const std::wstring& arg = args[i];
        if (arg.empty()) continue;
        std::string option = OptionName(arg);
        if (option == "list") SetCommand(a, Command::List, arg);
        else if (option == "preview") SetCommand(a, Command::Preview, arg);
        else if (option == "erase") SetCommand(a, Command::Erase, arg);
        else if (option == "wipe-unused") SetCommand(a, Command::WipeUnused, arg);
        else if (option == "?" || option == "h" || option == "help") SetCommand(a, Command::Help, arg);
        else if (option == "watch-browsers") SetCommand(a, Command::WatchBrowsers, arg);
        else if (option == "overwrite") a.overwrite = true;
        else if (option == "shutdown") a.shutdown = true;
        else if (option == "report" || option == "log") {
            // A following option is a forgotten file name, never a file to create.
            bool& given = option == "report" ? reportGiven : logGiven;
            const std::wstring name = L"/" + std::wstring(option.begin(), option.end());
            if (given || i + 1 == args.size() || args[i + 1].empty() || !OptionName(args[i + 1]).empty()) {
                a.error = given ? name + L" given twice" : name + L" needs a file name";
                break;
            }
            given = true;
            (option == "report" ? a.report : a.log) = args[++i];
        } else if (!option.empty()) a.error = L"unknown option: " + arg;
        else if (const wchar_t drive = DriveOf(arg)) {
            if (std::find(a.drives.begin(), a.drives.end(), drive) == a.drives.end()) a.drives.push_back(drive);
        } else {
            anyKey = true;
            std::string key = Lower(arg);
            bool found = false;
            for (size_t r = 0; r < table.size(); ++r)
                if (key == "all" || key == table[r].group || key == Lower(table[r].key))
                    chosen[r] = found = true;
            std::wstring why;
            if (!found && wipeLists && key.rfind("wipelist:", 0) == 0) {
                if (const engine::Category* c = wipeLists(arg.substr(9), why)) {
                    found = true;
                    if (std::find(lists.begin(), lists.end(), c) == lists.end()) lists.push_back(c);
                }
            }
            if (!found) a.error = why.empty() ? L"unknown category: " + arg : arg + L": " + why;
        }
    }
    if (a.error.empty()) {
        const bool erases = a.command == Command::Erase || a.command == Command::WatchBrowsers;
        const bool runs = a.command == Command::Preview || erases;
        const bool wipes = a.command == Command::WipeUnused;
        if (a.command == Command::None) a.error = L"no command given";
        else if (runs && !anyKey) a.error = L"no category given";
        else if (wipes && a.drives.empty()) a.error = L"no drive given";
        else if (!a.drives.empty() && !wipes) a.error = L"drives go with /wipe-unused";
        else if (!runs && anyKey) a.error = L"categories go with /preview, /erase or /watch-browsers";
        else if (!runs && !wipes && reportGiven) a.error = L"/report goes with /preview, /erase or /wipe-unused";
        else if (reportGiven && a.command == Command::WatchBrowsers) a.error = L"/report goes with /preview, /erase or /wipe-unused";
        else if (!erases && !wipes && logGiven) a.error = L"/log goes with /erase, /watch-browsers or /wipe-unused";
        else if (a.overwrite && !erases) a.error = L"/overwrite goes with /erase or /watch-browsers";
        else if (a.shutdown && !erases) a.error = L"/shutdown goes with /erase or /watch-browsers";
    }
    if (!a.error.empty()) {
        Args refused;
        refused.error = a.error;
        return refused;
    }
    for (size_t r = 0; r < table.size(); ++r)
        if (chosen[r]) a.categories.push_back(&table[r]);
    a.categories.insert(a.categories.end(), lists.begin(), lists.end());
    return a;
}

}  // namespace cli
