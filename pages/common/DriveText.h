// How the tree and the drive pages name a drive.
#pragma once
#include <optional>
#include <string>

// The name by which the tree and the drives page know a drive: "C: [LABEL]", or "C:" when the
// volume has no label (or its label cannot be read).
std::wstring FormatDriveText(wchar_t letter, const std::wstring& label);
// The drive text of a drive as the system reports it now; fileSystem receives the name of its
// file system (empty when the volume cannot be read).
std::wstring DriveText(wchar_t letter, std::wstring* fileSystem = nullptr);

struct Volume {
    std::wstring label, fileSystem;
};
// The label and file system of the drive's volume; nothing when the volume cannot be read. An
// empty floppy, card reader or CD drive raises no system box.
std::optional<Volume> ReadVolume(wchar_t letter);
