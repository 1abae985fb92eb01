#include "board/board_fixture_server.h"

#include <fstream>
#include <sstream>

namespace sirelo::testsupport {

std::string BoardFixture(std::string_view relativePath) {
    std::ifstream in(std::string(SIRELO_FIXTURES_DIR) + "/board/" + std::string(relativePath),
                     std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

BoardFixtureServer::BoardFixtureServer(std::string_view pageFile) : server_(Reply{}) {
    std::string page = BoardFixture(pageFile);
    const std::string base = server_.BaseUrl();
    constexpr std::string_view kPlaceholder = "{{BASE}}";
    for (std::size_t at = page.find(kPlaceholder); at != std::string::npos;
         at = page.find(kPlaceholder, at + base.size())) {
        page.replace(at, kPlaceholder.size(), base);
    }
    server_.SetHandler([page](const ReceivedRequest& request) {
        const std::string path = request.Path();
        if (path == "/board") return Ok(page);
        constexpr std::string_view kPosters = "/posters/";
        if (path.starts_with(kPosters) && path.find("..") == std::string::npos) {
            const std::string poster = BoardFixture("posters/" + path.substr(kPosters.size()));
            if (!poster.empty()) return Ok(poster);
        }
        return Answer(HttpResponse(404, "not here"));
    });
}

}  // namespace sirelo::testsupport
