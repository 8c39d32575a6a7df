#include "WipeListFormat.h"

#include <algorithm>

namespace engine {

namespace {

const char kBom[] = "\xEF\xBB\xBF";

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Upper case as far as the names compared here need it: ASCII, and the letters whose upper
// case is an ASCII one (long s, dotless i, the Kelvin sign), so that no look-alike slips by.
wchar_t Fold(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - L'a' + L'A');
    if (c == 0x017F) return L'S';
    if (c == 0x0131) return L'I';
    if (c == 0x212A) return L'K';
    return c;
}

bool SameFolded(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "X:\..." or "\\server\share..." (either slash): a path that names the same place from any
// current folder.
bool IsAbsolutePath(const std::wstring& p) {
    bool letter = p.size() >= 3 && ((p[0] >= L'A' && p[0] <= L'Z') || (p[0] >= L'a' && p[0] <= L'z')) &&
                  p[1] == L':' && IsSeparator(p[2]);
    bool share = p.size() >= 3 && IsSeparator(p[0]) && IsSeparator(p[1]) && !IsSeparator(p[2]);
    return letter || share;
}

void Put(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes what can be decoded, U+FFFD for each byte that cannot: for showing a bad line.
std::wstring ShowBytes(const std::string& bytes) {
    std::wstring text;
    for (size_t i = 0; i < bytes.size();) {
        size_t n = 1;
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0xF0) n = 4;
        else if (c >= 0xE0) n = 3;
        else if (c >= 0xC0) n = 2;
        std::wstring one;
        if (i + n <= bytes.size() && DecodeUtf8(bytes.substr(i, n), one)) {
            text += one;
            i += n;
        } else {
            text += wchar_t(0xFFFD);
            ++i;
        }
    }
    return text;
}

bool ParseKind(const std::wstring& word, WipeKind& kind) {
    for (WipeKind k : {WipeKind::File, WipeKind::Folder, WipeKind::Key}) {
        std::string w = KindWord(k);
        if (SameFolded(word, std::wstring(w.begin(), w.end()))) {
            kind = k;
            return true;
        }
    }
    return false;
}

// Classifies one line: an entry (true), or blank, a comment, a bad line (false, with kept set
// for the last two).
bool ParseLine(const std::string& bytes, unsigned number, WipeEntry& entry, KeptLine& kept, bool& isKept) {
    isKept = false;
    kept = KeptLine{number, bytes, {}, {}};
    std::wstring text;
    if (!DecodeUtf8(bytes, text)) {
        kept.text = ShowBytes(bytes);
        kept.reason = L"not UTF-8 text";
        isKept = true;
        return false;
    }
    kept.text = text;
    std::wstring line = Trim(text);
    if (line.empty()) return false;
    if (line[0] == L'#') {
        isKept = true;
        return false;
    }
    size_t end = 0;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    std::wstring word = line.substr(0, end);
    // The target runs to the end of the line as written: a name may end in a blank or a dot.
    size_t from = text.find_first_not_of(L" \t");
    from = text.find_first_not_of(L" \t", from + word.size());
    std::wstring target = from == std::wstring::npos ? std::wstring() : text.substr(from);
    if (!ParseKind(word, entry.kind)) {
        kept.reason = L"unknown kind \"" + word + L"\" (file, folder or key)";
        isKept = true;
        return false;
    }
    kept.reason = CheckEntryText(entry.kind, target);
    if (!kept.reason.empty()) {
        isKept = true;
        return false;
    }
    entry.target = target;
    entry.line = number;
    return true;
}

}  // namespace

const char* KindWord(WipeKind kind) {
    switch (kind) {
    case WipeKind::File: return "file";
    case WipeKind::Folder: return "folder";
    case WipeKind::Key: return "key";
    }
    return "";
}

bool DecodeUtf8(const std::string& bytes, std::wstring& text) {
    text.clear();
    size_t i = 0, n = bytes.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        unsigned cp, more, min;
        if (c < 0x80) { cp = c; more = 0; min = 0; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; more = 1; min = 0x80; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; more = 2; min = 0x800; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; more = 3; min = 0x10000; }
        else return false;
        if (i + more >= n) return false;
        for (unsigned k = 1; k <= more; ++k) {
            unsigned char d = static_cast<unsigned char>(bytes[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF) return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            text += static_cast<wchar_t>(0xD800 + (cp >> 10));
            text += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        } else {
            text += static_cast<wchar_t>(cp);
        }
        i += more + 1;
    }
    return true;
}

std::string EncodeUtf8(const std::wstring& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned u = static_cast<unsigned>(text[i]);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < text.size()) {
            unsigned low = static_cast<unsigned>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                Put(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        Put(out, u > 0x10FFFF ? 0xFFFD : u);
    }
    return out;
}

void ParseWipeList(const std::string& bytes, WipeList& list) {
    list.entries.clear();
    list.comments.clear();
    list.bad.clear();
    size_t pos = bytes.compare(0, 3, kBom) == 0 ? 3 : 0;
    for (unsigned number = 1; pos < bytes.size() || number == 1; ++number) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        pos = end + 1;
        WipeEntry entry;
        KeptLine kept;
        bool isKept = false;
        if (ParseLine(line, number, entry, kept, isKept)) list.entries.push_back(entry);
        else if (isKept) (kept.reason.empty() ? list.comments : list.bad).push_back(kept);
    }
}

std::string FormatWipeList(const WipeList& list) {
    // Each line with the place it had; lines added since (place 0) go last, in their order.
    std::vector<std::pair<unsigned long long, std::string>> lines;
    auto place = [](unsigned line) { return line ? line : ~0ull; };
    for (const WipeEntry& e : list.entries)
        lines.emplace_back(place(e.line), std::string(KindWord(e.kind)) + " " + EncodeUtf8(e.target));
    for (const auto* kept : {&list.comments, &list.bad})
        for (const KeptLine& k : *kept) lines.emplace_back(place(k.line), k.bytes);
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string out;
    for (const auto& l : lines) out += l.second + "\r\n";
    // A first line that begins like a BOM gets one before it, or reading would take its bytes.
    if (out.compare(0, 3, kBom) == 0) out.insert(0, kBom);
    return out;
}

std::wstring CheckEntryText(WipeKind kind, const std::wstring& target) {
    if (target.empty()) return kind == WipeKind::Key ? L"no key" : L"no path";
    for (wchar_t c : target)
        if (c < 0x20 || c == 0x7F) return L"a control character in the name";
    if (kind == WipeKind::Key) {
        KeyPath key;
        return SplitKey(target, key) ? std::wstring() : L"not a key of HKCU or HKLM";
    }
    return IsAbsolutePath(target) ? std::wstring() : L"not an absolute path";
}

std::wstring CheckListName(const std::wstring& name) {
    if (name.empty()) return L"The name is empty.";
    if (name.size() > kMaxListName) return L"The name is longer than 64 characters.";
    for (wchar_t c : name)
        if (c < 0x20 || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos)
            return L"A name cannot hold any of \\ / : * ? \" < > | or a control character.";
    if (name.back() == L'.' || name.back() == L' ') return L"A name cannot end in a dot or a blank.";
    // Windows opens a device for these, with any extension and blanks before it.
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    std::vector<std::wstring> devices = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* port : {L"COM", L"LPT"})
        for (const wchar_t* digit : {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"\u00B9",
                                     L"\u00B2", L"\u00B3"})
            devices.push_back(std::wstring(port) + digit);
    for (const std::wstring& d : devices)
        if (SameFolded(base, d)) return L"\"" + base + L"\" is the name of a device.";
    return {};
}

bool SplitKey(const std::wstring& text, KeyPath& key) {
    size_t cut = text.find(L'\\');
    std::wstring hive = text.substr(0, cut);
    if (SameFolded(hive, L"HKCU") || SameFolded(hive, L"HKEY_CURRENT_USER")) key.hive = Hive::CurrentUser;
    else if (SameFolded(hive, L"HKLM") || SameFolded(hive, L"HKEY_LOCAL_MACHINE")) key.hive = Hive::LocalMachine;
    else return false;
    key.path.clear();
    while (cut != std::wstring::npos) {
        size_t next = text.find(L'\\', cut + 1);
        std::wstring name = text.substr(cut + 1, next == std::wstring::npos ? std::wstring::npos : next - cut - 1);
        if (!name.empty()) key.path += (key.path.empty() ? L"" : L"\\") + name;
        cut = next;
    }
    return true;
}

std::wstring KeyText(const KeyPath& key) {
    std::wstring hive = key.hive == Hive::CurrentUser ? L"HKCU" : L"HKLM";
    return key.path.empty() ? hive : hive + L"\\" + key.path;
}

namespace {
// The keys Windows and every program depend on. Below: the key and all it holds are refused.
// AtOrAbove: the key and those above it are refused, an application's key below stays erasable.
enum class Reach { Below, AtOrAbove };
struct GuardedKey {
    Hive hive;
    const wchar_t* path;
    Reach reach;
    const wchar_t* why;
};
const GuardedKey kGuardedKeys[] = {
    {Hive::LocalMachine, L"SYSTEM", Reach::Below, L"holds the configuration of Windows"},
    {Hive::LocalMachine, L"SOFTWARE\\Classes", Reach::Below, L"holds the file types and program classes"},
    {Hive::LocalMachine, L"SOFTWARE\\Policies", Reach::Below, L"holds the policies set for this machine"},
    {Hive::LocalMachine, L"SOFTWARE\\Microsoft\\Windows", Reach::Below, L"holds the settings of Windows"},
    {Hive::LocalMachine, L"SOFTWARE\\Microsoft\\Windows NT", Reach::Below, L"holds the settings of Windows"},
    {Hive::CurrentUser, L"Software\\Classes", Reach::Below, L"holds the user's file types and program classes"},
    {Hive::CurrentUser, L"Software\\Policies", Reach::Below, L"holds the policies set for this user"},
    {Hive::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies", Reach::Below,
     L"holds the policies set for this user"},
    {Hive::LocalMachine, L"SOFTWARE\\Microsoft", Reach::AtOrAbove, L"holds the settings of Windows and its programs"},
    {Hive::LocalMachine, L"SOFTWARE\\WOW6432Node", Reach::AtOrAbove, L"holds the settings of every 32-bit program"},
    {Hive::CurrentUser, L"Software\\Microsoft", Reach::AtOrAbove, L"holds the settings of Windows and its programs"},
    {Hive::CurrentUser, L"Software\\Microsoft\\Windows", Reach::AtOrAbove, L"holds the user's settings of Windows"},
    {Hive::CurrentUser, L"Software\\Microsoft\\Windows NT", Reach::AtOrAbove, L"holds the user's settings of Windows"},
};

std::vector<std::wstring> KeyNames(const std::wstring& path) {
    std::vector<std::wstring> names;
    for (size_t b = 0, e; b < path.size(); b = e + 1) {
        e = std::min(path.find(L'\\', b), path.size());
        names.push_back(path.substr(b, e - b));
    }
    return names;
}

// Whether the first names of `longer` are `shorter`, case folded.
bool StartsWithNames(const std::vector<std::wstring>& longer, const std::vector<std::wstring>& shorter) {
    if (longer.size() < shorter.size()) return false;
    for (size_t i = 0; i < shorter.size(); ++i)
        if (!SameFolded(longer[i], shorter[i])) return false;
    return true;
}
}  // namespace

std::wstring CheckKey(const std::wstring& text) {
    KeyPath key;
    if (!SplitKey(text, key)) {
        std::wstring hive = text.substr(0, text.find(L'\\'));
        for (const wchar_t* whole : {L"HKU", L"HKEY_USERS", L"HKCR", L"HKEY_CLASSES_ROOT", L"HKCC", L"HKEY_CURRENT_CONFIG"})
            if (SameFolded(hive, whole)) return hive + L" is refused whole: it holds other users, classes or the hardware's configuration.";
        return L"not a key of HKCU or HKLM";
    }
    std::wstring shown = KeyText(key);
    if (key.path.empty()) return shown + L" is a whole hive.";
    std::vector<std::wstring> names = KeyNames(key.path);
    // Every key right below HKLM is a hive of the system (SYSTEM, SOFTWARE, SAM, SECURITY,
    // HARDWARE, BCD...); below HKCU only Software holds what programs keep.
    if (key.hive == Hive::LocalMachine && names.size() == 1) return shown + L" is a hive of the system.";
    if (key.hive == Hive::CurrentUser && !SameFolded(names[0], L"Software"))
        return shown + L" holds the user's settings of Windows (only keys below HKCU\\Software may be erased).";
    if (key.hive == Hive::CurrentUser && names.size() == 1) return shown + L" holds the settings of every program.";
    for (const GuardedKey& g : kGuardedKeys) {
        if (g.hive != key.hive) continue;
        std::vector<std::wstring> guarded = KeyNames(g.path);
        bool refused = g.reach == Reach::Below ? StartsWithNames(names, guarded) : StartsWithNames(guarded, names);
        if (refused) return shown + L" " + g.why + L".";
    }
    return {};
}

}  // namespace engine
