// The shell's item-ID lists, as the common dialogs' history keeps them in the registry, turned
// into the path text a user knows, without handing a single byte to the shell. Pure and bounded:
// no registry, no shell, no Windows header; any bytes are a valid input.
#pragma once
#include <cstddef>
#include <string>

namespace engine {
namespace itemids {

// The path (or name) of a known folder or shell root, by its GUID text ("{374DE290-...}");
// empty when it is not known. Null: every GUID is shown as the shell's "::{GUID}".
using FolderNamer = std::wstring (*)(const std::wstring& guid);

// The path text of the item-ID list at the start of the data: root and known-folder items, volume
// items ("C:"), file entries (their long Unicode name where the item carries one, else the short
// one), network items ("\\server\share") and URI items. Empty when any item of the list cannot be
// read: the entry "cannot be shown as a path".
std::wstring PathText(const unsigned char* data, size_t size, FolderNamer namer = nullptr);

// "{20D04FE0-3AEA-1069-A2D8-08002B30309D}": the 16 bytes of a GUID as Windows writes it.
std::wstring GuidText(const unsigned char* bytes);

}  // namespace itemids
}  // namespace engine
