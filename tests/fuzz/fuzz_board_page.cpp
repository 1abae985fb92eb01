#include <cstdlib>

#include "board/board_page.h"
#include "sitedefs/program_definitions.h"
#include "text/codepage.h"

using namespace sirelo;

// The film-ranking page as a site could send it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string page = PageText(std::string_view(reinterpret_cast<const char*>(data), size));
    const int maxFilms = size > 0 ? data[0] % 12 : 10;
    if (ParseBoardPage(BuiltInSiteDefinitions().board, page, maxFilms).size() >
        static_cast<std::size_t>(maxFilms))
        std::abort();
    return 0;
}
