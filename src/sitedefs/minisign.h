#pragma once
// Signatures in minisign's file formats, checked with libsodium: the public
// key line of a key file, and a signature file (.minisig) over a file, either
// over its bytes (`Ed`) or over their BLAKE2b-512 hash (`ED`), with the global
// signature that binds the trusted comment. The signature file is hostile
// input: it is read by a bounded reader of our own and never trusted in part.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sirelo {

// A signature file is four short lines; more than this is no signature file.
inline constexpr std::size_t kSignatureFileLimit = 4096;

struct MinisignKey {
    std::array<std::uint8_t, 8> id{};
    std::array<std::uint8_t, 32> key{};
};

// The base64 line of a minisign public key file (the line after its untrusted
// comment), blanks around it ignored; nothing when it is no Ed25519 key.
std::optional<MinisignKey> ReadMinisignKey(std::string_view line);

struct MinisignSignature {
    bool prehashed = false;  // `ED`: the file's BLAKE2b-512 hash is signed
    std::array<std::uint8_t, 8> keyId{};
    std::array<std::uint8_t, 64> signature{};
    std::string trustedComment;  // as signed, without "trusted comment: "
    std::array<std::uint8_t, 64> globalSignature{};
};

struct SignatureFileRead {
    std::optional<MinisignSignature> signature;
    std::string problem;  // when there is no signature
};

// A .minisig file: untrusted comment, signature line, trusted comment, global
// signature; LF or CRLF line ends; at most kSignatureFileLimit bytes.
SignatureFileRead ReadMinisignSignature(std::string_view text);

struct SignatureCheck {
    bool good = false;
    std::string trustedComment;  // of a good signature
    std::string problem;         // of a bad one, in English
};

// Whether `signatureFile` is a signature by `key` over `file` and over its own
// trusted comment.
SignatureCheck CheckMinisignSignature(const MinisignKey& key, std::string_view file,
                                      std::string_view signatureFile);

}  // namespace sirelo
