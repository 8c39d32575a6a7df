#include "DriveText.h"

#include <windows.h>

#include <cstdio>

std::wstring FormatDriveText(wchar_t letter, const std::wstring& label) {
    wchar_t text[MAX_PATH + 8];
    if (label.empty())
        swprintf(text, ARRAYSIZE(text), L"%lc:", letter);
    else
        swprintf(text, ARRAYSIZE(text), L"%lc: [%ls]", letter, label.c_str());
    return text;
}

std::wstring DriveText(wchar_t letter, std::wstring* fileSystem) {
    std::optional<Volume> volume = ReadVolume(letter);
    if (fileSystem) *fileSystem = volume ? volume->fileSystem : L"";
    return FormatDriveText(letter, volume ? volume->label : L"");
}

std::optional<Volume> ReadVolume(wchar_t letter) {
    wchar_t root[] = {letter, ':', '\\', '\0'};
    wchar_t label[MAX_PATH + 1] = L"", system[MAX_PATH + 1] = L"";
    UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    BOOL ok = ::GetVolumeInformationW(root, label, ARRAYSIZE(label), nullptr, nullptr, nullptr, system, ARRAYSIZE(system));
    ::SetErrorMode(oldMode);
    if (!ok) return std::nullopt;
    return Volume{label, system};
}
