// How the tree and the drive pages name a drive.
#pragma once
#include <string>

// The name by which the tree and the drives page know a drive: "C: [LABEL]", or "C:" when the
// volume has no label (or its label cannot be read).
std::string FormatDriveText(char letter, const std::string& label);
// The drive text of a drive as the system reports it now; fileSystem receives the name of its
// file system (empty when the volume cannot be read).
std::string DriveText(char letter, std::string* fileSystem = nullptr);
