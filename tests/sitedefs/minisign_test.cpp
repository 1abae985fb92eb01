#include "sitedefs/minisign.h"

#include <gtest/gtest.h>

#include "support/minisign_signer.h"

namespace sirelo {
namespace {

const std::string kFile = "[magnet.DSS]\nbase = \"http://127.0.0.1:1\"\n";

// The signature file with its line `index` (0-based) replaced.
std::string WithLine(const std::string& signature, int index, const std::string& line) {
    std::string out;
    std::size_t at = 0;
    for (int i = 0; at < signature.size(); ++i) {
        const std::size_t end = signature.find('\n', at);
        out += (i == index ? line : signature.substr(at, end - at)) + "\n";
        at = end == std::string::npos ? signature.size() : end + 1;
    }
    return out;
}

std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

TEST(MinisignSignature, OnlyTheKeysOwnSignatureOverTheFileAndItsCommentIsGood) {
    const testing::MinisignSigner signer, other;
    const std::optional<MinisignKey> key = ReadMinisignKey(signer.publicKey());
    ASSERT_TRUE(key);
    const std::string hashed = signer.sign(kFile, "version 2026.12.08");
    const std::string legacy = signer.sign(kFile, "version 2026.12.08", true);
    struct Case {
        const char* what;
        std::string file;
        std::string signature;
        std::string problem;  // empty: good
    };
    const Case cases[] = {
        {"good ED", kFile, hashed, ""},
        {"good Ed", kFile, legacy, ""},
        {"good with CRLF", kFile, Crlf(hashed), ""},
        {"changed file", kFile + "#", hashed, "the file does not match its signature"},
        {"changed file, Ed", kFile + "#", legacy, "the file does not match its signature"},
        {"other key", kFile, other.sign(kFile), "the file is signed by another key"},
        {"changed trusted comment", kFile,
         WithLine(hashed, 2, "trusted comment: version 2027.01.01"),
         "the trusted comment does not match its signature"},
        {"truncated", kFile, hashed.substr(0, hashed.size() / 2),
         "the signature file is not four lines"},
        {"truncated signature line", kFile, WithLine(hashed, 1, "RUSe2MYTh8XINUwd"),
         "the signature file has no signature line"},
        {"no untrusted comment", kFile, WithLine(hashed, 0, "comment: x"),
         "the signature file has no untrusted comment"},
        {"empty", kFile, "", "the signature file is not four lines"},
        {"too large", kFile, hashed + std::string(4096, '\n'),
         "the signature file is larger than 4 KiB"},
    };
    for (const Case& c : cases) {
        const SignatureCheck check = CheckMinisignSignature(*key, c.file, c.signature);
        EXPECT_EQ(check.good, c.problem.empty()) << c.what;
        EXPECT_EQ(check.problem, c.problem) << c.what;
    }
    EXPECT_EQ(CheckMinisignSignature(*key, kFile, hashed).trustedComment, "version 2026.12.08");
}

TEST(MinisignKey, OnlyAnEd25519KeyLineIsAKey) {
    const testing::MinisignSigner signer;
    EXPECT_TRUE(ReadMinisignKey("  " + signer.publicKey() + "\r\n"));
    EXPECT_FALSE(ReadMinisignKey(signer.publicKey().substr(1)));
    EXPECT_FALSE(ReadMinisignKey(""));
    EXPECT_FALSE(ReadMinisignKey("untrusted comment: minisign public key 35C8C58713C6D89E"));
}

}  // namespace
}  // namespace sirelo
