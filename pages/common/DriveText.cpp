#include "DriveText.h"

#include <windows.h>

#include <cstdio>

std::string FormatDriveText(char letter, const std::string& label) {
    char text[MAX_PATH + 8];
    if (label.empty())
        snprintf(text, sizeof text, "%c:", letter);
    else
        snprintf(text, sizeof text, "%c: [%s]", letter, label.c_str());
    return text;
}

std::string DriveText(char letter, std::string* fileSystem) {
    std::optional<Volume> volume = ReadVolume(letter);
    if (fileSystem) *fileSystem = volume ? volume->fileSystem : "";
    return FormatDriveText(letter, volume ? volume->label : "");
}

std::optional<Volume> ReadVolume(char letter) {
    char root[] = {letter, ':', '\\', '\0'};
    char label[MAX_PATH + 1] = "", system[MAX_PATH + 1] = "";
    UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    BOOL ok = ::GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr, system, sizeof system);
    ::SetErrorMode(oldMode);
    if (!ok) return std::nullopt;
    return Volume{label, system};
}
