#include "sitedefs/minisign.h"

#include <sodium.h>

#include <algorithm>
#include <vector>

namespace sirelo {
namespace {

constexpr std::string_view kUntrusted = "untrusted comment: ";
constexpr std::string_view kTrusted = "trusted comment: ";

// sodium_init is safe to call from several threads, but once is enough.
bool SodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// Exactly `size` bytes from standard base64 with padding, nothing else.
template <std::size_t N>
bool DecodeBase64(std::string_view text, std::array<std::uint8_t, N>& out) {
    if (text.size() != (N + 2) / 3 * 4) return false;
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(out.data(), out.size(), text.data(), text.size(), nullptr, &length, &end,
                          sodium_base64_VARIANT_ORIGINAL) != 0) {
        return false;
    }
    return length == N && end == text.data() + text.size();
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The file's lines without their ends; nothing when there are more than `most`.
std::optional<std::vector<std::string_view>> Lines(std::string_view text, std::size_t most) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        if (lines.size() == most) return std::nullopt;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        text = end == text.npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

bool Verify(const std::array<std::uint8_t, 64>& signature, const std::uint8_t* message,
            std::size_t size, const MinisignKey& key) {
    return crypto_sign_verify_detached(signature.data(), message, size, key.key.data()) == 0;
}

}  // namespace

std::optional<MinisignKey> ReadMinisignKey(std::string_view line) {
    std::array<std::uint8_t, 42> bytes{};
    if (!SodiumReady() || !DecodeBase64(Trimmed(line), bytes)) return std::nullopt;
    if (bytes[0] != 'E' || bytes[1] != 'd') return std::nullopt;
    MinisignKey key;
    std::copy_n(bytes.begin() + 2, key.id.size(), key.id.begin());
    std::copy_n(bytes.begin() + 10, key.key.size(), key.key.begin());
    return key;
}

SignatureFileRead ReadMinisignSignature(std::string_view text) {
    if (text.size() > kSignatureFileLimit) return {std::nullopt, "is larger than 4 KiB"};
    const std::optional<std::vector<std::string_view>> lines = Lines(text, 4);
    if (!lines || lines->size() != 4) return {std::nullopt, "is not four lines"};
    const std::vector<std::string_view>& line = *lines;
    if (!line[0].starts_with(kUntrusted)) return {std::nullopt, "has no untrusted comment"};
    if (!line[2].starts_with(kTrusted)) return {std::nullopt, "has no trusted comment"};
    std::array<std::uint8_t, 74> head{};
    if (!SodiumReady() || !DecodeBase64(Trimmed(line[1]), head)) {
        return {std::nullopt, "has no signature line"};
    }
    MinisignSignature signature;
    if (head[0] == 'E' && head[1] == 'd') {
        signature.prehashed = false;
    } else if (head[0] == 'E' && head[1] == 'D') {
        signature.prehashed = true;
    } else {
        return {std::nullopt, "has a signature of an unknown kind"};
    }
    std::copy_n(head.begin() + 2, signature.keyId.size(), signature.keyId.begin());
    std::copy_n(head.begin() + 10, signature.signature.size(), signature.signature.begin());
    signature.trustedComment = line[2].substr(kTrusted.size());
    if (!DecodeBase64(Trimmed(line[3]), signature.globalSignature)) {
        return {std::nullopt, "has no global signature"};
    }
    return {std::move(signature), {}};
}

SignatureCheck CheckMinisignSignature(const MinisignKey& key, std::string_view file,
                                      std::string_view signatureFile) {
    const SignatureFileRead read = ReadMinisignSignature(signatureFile);
    if (!read.signature) return {false, {}, "the signature file " + read.problem};
    const MinisignSignature& signature = *read.signature;
    if (signature.keyId != key.id) return {false, {}, "the file is signed by another key"};
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.data());
    bool fileGood = false;
    if (signature.prehashed) {
        std::array<std::uint8_t, crypto_generichash_BYTES_MAX> hash{};
        crypto_generichash(hash.data(), hash.size(), bytes, file.size(), nullptr, 0);
        fileGood = Verify(signature.signature, hash.data(), hash.size(), key);
    } else {
        fileGood = Verify(signature.signature, bytes, file.size(), key);
    }
    if (!fileGood) return {false, {}, "the file does not match its signature"};
    std::vector<std::uint8_t> global(signature.signature.begin(), signature.signature.end());
    global.insert(global.end(), signature.trustedComment.begin(), signature.trustedComment.end());
    if (!Verify(signature.globalSignature, global.data(), global.size(), key)) {
        return {false, {}, "the trusted comment does not match its signature"};
    }
    return {true, signature.trustedComment, {}};
}

}  // namespace sirelo
