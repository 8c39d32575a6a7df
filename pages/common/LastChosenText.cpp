#include "LastChosenText.h"

std::wstring& LastChosenText() {
    static std::wstring text;
    return text;
}
