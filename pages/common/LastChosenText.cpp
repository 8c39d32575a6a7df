#include "LastChosenText.h"

std::string& LastChosenText() {
    static std::string text;
    return text;
}
