// What the engine knows of each data-described trace category, read from the JSON files of
// engine/traces/: the files of a folder by pattern, registry keys erased whole, the values or
// subkeys of a key by pattern, and how each entry is shown. The reader is the browsers' strict
// one. Free of Windows headers: the parser and the name patterns are fuzzed natively.
#pragma once
#include <string>
#include <vector>

namespace engine {

struct TraceSource {
    enum class Kind { Files, Key, Values, Subkeys };
    // How an entry is shown: the value's text; the path after the '*' of an Office item; the
    // first or (after a program's name) second UTF-16 string of binary data; the item-ID list at
    // the start of the data or after a program's name; the value's name in ROT13; a Run command
    // without its two last characters; for files only, the documents a jump-list file names. One
    // line of kShows in TraceDefinitions.cpp names each.
    enum class Show { Text, AfterStar, Utf16, ProgramThenUtf16, ItemIds, ProgramThenItemIds, Rot13, RunCommand, JumpList };
    Kind kind = Kind::Key;
    std::wstring folder;  // Files: "%LOCALAPPDATA%\Microsoft\Windows\Explorer" (unexpanded)
    // Files: the names' pattern; Values, Subkeys: the value or subkey names' pattern.
    std::wstring pattern;
    // Below HKEY_CURRENT_USER; a step "*" is any subkey, "{version}" each of versions.
    std::wstring key;
    std::vector<std::wstring> versions;
    int first = -1, last = -1;  // Values: the '*' of the pattern is a number from first to last
    int digits = 0;             // written with exactly this many digits ("000"); 0: any
    bool untilGap = false;      // and the list ends at the first number (or ordered name) missing
    // Values: "MRUList" or "MRUListEx": the entries are the values it names, in its order, and an
    // erase rewrites it to name only what stays.
    std::wstring order;
    bool showMissing = false;  // a value the order names that is missing is listed, as an empty text
    Show show = Show::Text;
    std::wstring textValue;            // Subkeys: the value of each subkey that names it ("tDIText")
    std::vector<std::wstring> keep;    // Values: name patterns never touched (ROT13 names decoded)
    std::wstring before;     // Values: a key whose value of the same name is listed before each entry
    std::wstring alongside;  // Values: the value of this pattern with the entry's number goes with it
    bool wholeKey = false;   // the erase deletes the entries' keys whole, with their subkeys
    bool listed = true;      // Key: false for a key that only goes with the erase, never listed or counted
    std::wstring heading;    // the group under which a page that groups entries shows this trace's
};

struct TraceDef {
    std::string key;    // "system.jump-lists"
    std::string group;  // "internet", "system" or "apps"
    std::wstring name;  // "Jump Lists"
    int icon = 0;       // the program's icon resource that the tree shows for it
    std::wstring text;  // what the page says it erases
    std::vector<TraceSource> sources;
    // The registry keys the sources name, with each "{version}" replaced (the "*" steps stay).
    std::vector<std::wstring> Keys(const TraceSource& s) const;
};

// Reads one definition; false with "<file>: <what is wrong with which field>" in error.
bool ParseTraceDefinition(const std::wstring& file, const std::string& json, TraceDef& def, std::wstring& error);

// The steps of a registry path ("a\\b" gives "a", "b"; empty steps kept, for the reader to refuse).
std::vector<std::wstring> KeySteps(const std::wstring& path);
// Whether a name matches a pattern of '*' (any run) and '?' (any one), case-insensitively.
bool MatchName(const std::wstring& pattern, const std::wstring& name);
// The number the single '*' of a pattern stands for in name; -1 when it is not a number there.
long long NumberIn(const std::wstring& pattern, const std::wstring& name);
// Names in the order a person counts them: "Item 2" before "Item 10".
bool NaturalLess(const std::wstring& a, const std::wstring& b);
// The value name a pattern with one '*' gives for n, with at least digits digits ("Item *", 3 -> "Item 3").
std::wstring NameFor(const std::wstring& pattern, long long n, int digits = 0);
// The path an Office list keeps after the '*' of "[F00000000][T01D...]*C:\doc.docx"; the whole
// text when there is no '*'.
std::wstring AfterStar(const std::wstring& text);

}  // namespace engine
