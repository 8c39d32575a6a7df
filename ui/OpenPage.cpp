#include "OpenPage.h"

namespace ui {
namespace {
std::function<void(const std::string&)>& Opener() {
    static std::function<void(const std::string&)> open;
    return open;
}
}  // namespace

void SetPageOpener(std::function<void(const std::string&)> open) { Opener() = std::move(open); }

void OpenPage(const std::string& key) {
    if (Opener()) Opener()(key);
}
}  // namespace ui
