#pragma once
// Settings of the HTTP layer that a test changes and puts back when it ends.

#include <string>
#include <string_view>
#include <utility>

#include "net/http_limits.h"
#include "net/http_proxy.h"
#include "net/tls_trust.h"

namespace sirelo {

class ScopedHttpLimits {
  public:
    explicit ScopedHttpLimits(const HttpLimits& limits) : saved_(CurrentHttpLimits()) {
        SetHttpLimits(limits);
    }
    ~ScopedHttpLimits() { SetHttpLimits(saved_); }
    ScopedHttpLimits(const ScopedHttpLimits&) = delete;
    ScopedHttpLimits& operator=(const ScopedHttpLimits&) = delete;

  private:
    HttpLimits saved_;
};

// Sets the configured proxy; the test ends direct again.
class ScopedHttpProxy {
  public:
    explicit ScopedHttpProxy(std::string_view value) { SetHttpProxy(value); }
    ~ScopedHttpProxy() { SetHttpProxy({}); }
    ScopedHttpProxy(const ScopedHttpProxy&) = delete;
    ScopedHttpProxy& operator=(const ScopedHttpProxy&) = delete;
};

class ScopedTrustedCa {
  public:
    explicit ScopedTrustedCa(std::string file) : saved_(CurrentTrustedCaFile()) {
        SetTrustedCaFile(std::move(file));
    }
    ~ScopedTrustedCa() { SetTrustedCaFile(saved_); }
    ScopedTrustedCa(const ScopedTrustedCa&) = delete;
    ScopedTrustedCa& operator=(const ScopedTrustedCa&) = delete;

  private:
    std::string saved_;
};

}  // namespace sirelo
