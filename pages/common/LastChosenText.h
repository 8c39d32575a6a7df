#pragma once
#include <string>

// The text of the category-tree node clicked last: written by the tree, read by the drives page.
std::wstring& LastChosenText();
