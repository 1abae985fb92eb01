#include <cstdlib>

#include "fuzz_input.h"
#include "sitedefs/minisign.h"

using namespace sirelo;

// A signature file comes from the network: reading and checking one must
// neither crash nor take a file it does not sign.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitInput(data, size, 3);
    const std::optional<MinisignKey> key = ReadMinisignKey(parts[0]);
    const SignatureFileRead read = ReadMinisignSignature(parts[2]);
    if (read.signature.has_value() != read.problem.empty()) std::abort();
    if (read.signature && read.signature->trustedComment.find('\n') != std::string::npos)
        std::abort();
    if (key && CheckMinisignSignature(*key, parts[1], parts[2]).good && !read.signature)
        std::abort();
    return 0;
}
