#pragma once
// Which certificate authorities a secure transfer trusts. The program always
// uses the system's store; tests point it at a certificate they made, so that a
// local TLS server is trusted for that test alone.

#include <string>

namespace sirelo {

// A PEM file of trusted certificates that replaces the system's store for every
// transfer that starts afterwards; an empty path restores the system's store.
void SetTrustedCaFile(std::string path);
std::string CurrentTrustedCaFile();

}  // namespace sirelo
