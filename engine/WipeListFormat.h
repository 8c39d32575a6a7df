// Wipe lists as text: what a list holds, how its file reads and writes, which list names and
// which registry keys it may hold. No Windows header here: the reader and the guards are fuzzed
// natively. Text is UTF-16 in std::wstring (one unit per element, also where wchar_t is wider).
#pragma once
#include <string>
#include <vector>

namespace engine {

enum class WipeKind { File, Folder, Key };

// "file", "folder", "key": the words of the list file.
const char* KindWord(WipeKind kind);

struct WipeEntry {
    WipeKind kind = WipeKind::File;
    std::wstring target;  // an absolute path, or a key as "HKCU\..." / "HKLM\..."
    unsigned line = 0;    // its line in the file it was read from; 0: added since
};

// A line of the file that is not an entry, kept byte for byte: a comment, or a line that could
// not be read (then with its reason).
struct KeptLine {
    unsigned line = 0;
    std::string bytes;    // the line as it was, without its line ending
    std::wstring text;    // the same for showing (bytes that are not UTF-8 shown as U+FFFD)
    std::wstring reason;  // empty for a comment
};

struct WipeList {
    std::wstring name;
    std::vector<WipeEntry> entries;
    std::vector<KeptLine> comments;
    // Lines that could not be read. Saving writes them back as they were: a caller that wants
    // them gone asks the user and clears this.
    std::vector<KeptLine> bad;
};

// Reads a list file's bytes (UTF-8, with or without a BOM, CRLF or LF). Blank lines are
// skipped, '#' lines kept as comments, bad lines kept with their line numbers.
void ParseWipeList(const std::string& bytes, WipeList& list);
// The file's bytes: entries, comments and bad lines in the order they were read, entries added
// since at the end; UTF-8 without a BOM, CRLF.
std::string FormatWipeList(const WipeList& list);

// Why a target cannot be an entry of this kind (not absolute, no key of HKCU or HKLM, a control
// character, empty); empty when it can.
std::wstring CheckEntryText(WipeKind kind, const std::wstring& target);

// Why a name cannot name a list (empty, longer than 64, a character a file name cannot hold, a
// device name, a trailing dot or blank); empty when it can.
std::wstring CheckListName(const std::wstring& name);
constexpr size_t kMaxListName = 64;

enum class Hive { CurrentUser, LocalMachine };
struct KeyPath {
    Hive hive = Hive::CurrentUser;
    std::wstring path;  // below the hive: single '\' between names, none at either end
};
// Splits "HKCU\a\\b\" (or "HKEY_CURRENT_USER\...", any case) into its hive and "a\b". False
// for any other hive.
bool SplitKey(const std::wstring& text, KeyPath& key);
// "HKCU\a\b".
std::wstring KeyText(const KeyPath& key);
// Why a key may not be erased (a hive, one of the system's hives, the settings root of every
// program); empty when it may.
std::wstring CheckKey(const std::wstring& text);

// UTF-8 to UTF-16 units; a lone surrogate in its three-byte form is kept (a Windows name may
// hold one). False when the bytes are not such text.
bool DecodeUtf8(const std::string& bytes, std::wstring& text);
std::string EncodeUtf8(const std::wstring& text);

}  // namespace engine
