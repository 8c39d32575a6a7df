// The category table's erase runner, for as long as this branch has the table's header without
// its code: the erase itself, an exception turned into a failure. Goes when the table comes.
#include "Categories.h"
#include "Worker.h"

namespace engine {
Result RunErase(const Category& category, const Options& options, unsigned) {
    Result result;
    try {
        if (category.erase) result = category.erase(options);
    } catch (...) {
        result.Failed(category.name + L": " + ExceptionText(std::current_exception()));
    }
    return result;
}
}  // namespace engine
