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
    enum class Show { Text, AfterStar, Utf16, JumpList };  // JumpList: a file's row names its documents
    Kind kind = Kind::Key;
    std::wstring folder;  // Files: "%LOCALAPPDATA%\Microsoft\Windows\Explorer" (unexpanded)
    // Files: the names' pattern; Values, Subkeys: the value or subkey names' pattern.
    std::wstring pattern;
    // Below HKEY_CURRENT_USER; a step "*" is any subkey, "{version}" each of versions.
    std::wstring key;
    std::vector<std::wstring> versions;
    int first = -1, last = -1;  // Values: the '*' of the pattern is a number from first to last
    bool untilGap = false;      // and the list ends at the first number missing
    Show show = Show::Text;
    std::wstring textValue;            // Subkeys: the value of each subkey that names it ("tDIText")
    std::vector<std::wstring> keep;    // Values: names never touched, whatever the pattern says
};

struct TraceDef {
    std::string key;    // "system.jump-lists"
    std::string group;  // "system" or "apps"
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
// The path an Office list keeps after the '*' of "[F00000000][T01D...]*C:\doc.docx"; the whole
// text when there is no '*'.
std::wstring AfterStar(const std::wstring& text);

}  // namespace engine
