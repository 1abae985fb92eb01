#include "net/tls_trust.h"

#include <mutex>
#include <utility>

namespace sirelo {

namespace {

std::mutex trustMutex;
std::string trustedCaFile;

}  // namespace

void SetTrustedCaFile(std::string path) {
    std::lock_guard guard(trustMutex);
    trustedCaFile = std::move(path);
}

std::string CurrentTrustedCaFile() {
    std::lock_guard guard(trustMutex);
    return trustedCaFile;
}

}  // namespace sirelo
