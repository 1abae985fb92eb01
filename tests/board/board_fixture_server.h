#pragma once
// Serves a fixture board page at "/board" and the fixture posters at
// "/posters/<file>" from a loopback server. The pages name their posters with
// the placeholder "{{BASE}}", which is replaced by the server's own address.

#include <string>
#include <string_view>

#include "support/loopback_server.h"

namespace sirelo::testsupport {

std::string BoardFixture(std::string_view relativePath);  // the bytes of tests/fixtures/board/...

class BoardFixtureServer {
  public:
    // `pageFile` is a file name under tests/fixtures/board/.
    explicit BoardFixtureServer(std::string_view pageFile);

    std::string BoardUrl() const { return server_.BaseUrl() + "/board"; }
    std::string BaseUrl() const { return server_.BaseUrl(); }
    LoopbackServer& Server() { return server_; }

  private:
    LoopbackServer server_;
};

}  // namespace sirelo::testsupport
