#pragma once
// A key pair made by Debian's minisign in a folder of its own, and signatures
// made with it, for the tests of the signed definitions feed.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace sirelo::testing {

class MinisignSigner {
  public:
    MinisignSigner() {
        char pattern[] = "/tmp/sirelo-minisign-XXXXXX";
        folder_ = ::mkdtemp(pattern);
        run("minisign -G -W -p key.pub -s key.sec");
        std::istringstream lines(read("key.pub"));
        std::getline(lines, publicKey_);  // the untrusted comment
        std::getline(lines, publicKey_);
    }
    MinisignSigner(const MinisignSigner&) = delete;
    MinisignSigner& operator=(const MinisignSigner&) = delete;
    ~MinisignSigner() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // The base64 line, as 订阅公钥 holds it.
    const std::string& publicKey() const { return publicKey_; }

    // The .minisig text over `file`: prehashed (`ED`) unless `legacy` (`Ed`).
    std::string sign(const std::string& file, const std::string& trustedComment = "sirelo test",
                     bool legacy = false) const {
        std::ofstream(folder_ + "/file", std::ios::binary) << file;
        std::filesystem::remove(folder_ + "/file.minisig");
        run("minisign -S -W -s key.sec -m file -t '" + trustedComment + "'" +
            (legacy ? " -l" : ""));
        return read("file.minisig");
    }

  private:
    void run(const std::string& command) const {
        const std::string line = "cd '" + folder_ + "' && " + command + " >/dev/null 2>&1";
        if (std::system(line.c_str()) != 0) throw std::runtime_error("failed: " + command);
    }
    std::string read(const std::string& name) const {
        std::ifstream in(folder_ + "/" + name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string folder_;
    std::string publicKey_;
};

}  // namespace sirelo::testing
