#include <cstdlib>

#include "config/profile_text.h"
#include "fuzz_input.h"

using namespace sirelo;

namespace {

// Names and values a line of the file can hold and give back unchanged.
bool IsPlain(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

}  // namespace

// A settings file is the user's and may hold anything: reading and writing a
// key must neither crash nor lose what a plain key was given.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitInput(data, size, 4);
    const std::string& file = parts[0];
    const std::string& section = parts[1];
    const std::string& key = parts[2];
    const std::string& value = parts[3];

    const ProfileLines lines = SplitProfileLines(file);
    if (ReadProfileValue(lines, section, key).size() >= kProfileValueBuffer) std::abort();
    if (ReadProfileValue(lines, section, key) != ReadProfileValue(file, section, key)) std::abort();

    const std::string written = WithProfileValue(file, section, key, value);
    if (IsPlain(section) && IsPlain(key) && IsPlain(value) &&
        ReadProfileValue(written, section, key) != value) {
        std::abort();
    }
    return 0;
}
