#include "sites/search_run.h"

#include <utility>

namespace sirelo {

std::string SearchRun::keyword() const {
    std::lock_guard hold(keywordMutex_);
    return keyword_;
}

void SearchRun::setKeyword(std::string keyword) {
    std::lock_guard hold(keywordMutex_);
    keyword_ = std::move(keyword);
}

}  // namespace sirelo
