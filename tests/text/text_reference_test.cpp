// FindText, FindTextBackward and ReplaceText against a plain walker that follows
// the character-stepping rule byte by byte, on random texts rich in high bytes.
#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "text/text.h"

namespace sirelo {
namespace {

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool SameAt(const std::string& t, std::size_t p, const std::string& w, bool ic) {
    if (p + w.size() > t.size()) return false;
    for (std::size_t i = 0; i < w.size(); ++i) {
        if (ic ? Fold(t[p + i]) != Fold(w[i]) : t[p + i] != w[i]) return false;
    }
    return true;
}

bool Lead(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

int RefFind(const std::string& t, const std::string& w, int start, bool ic) {
    std::size_t p = static_cast<std::size_t>(std::max(start, 1) - 1);
    if (p >= t.size()) return -1;
    if (w.empty()) return 1;
    while (p < t.size()) {
        if (SameAt(t, p, w, ic)) return static_cast<int>(p + 1);
        if (Lead(t[p])) {
            if (p + 1 == t.size()) return -1;
            p += 2;
        } else {
            ++p;
        }
    }
    return -1;
}

int RefFindBackward(const std::string& t, const std::string& w, std::optional<int> start) {
    const std::size_t limit =
        start ? std::min<std::size_t>(static_cast<std::size_t>(std::max(*start - 1, 0)), t.size())
              : t.size();
    const std::string part = t.substr(0, limit);
    if (w.empty()) return part.empty() ? -1 : 1;
    int last = -1;
    for (std::size_t p = 0; p < part.size();) {
        if (SameAt(part, p, w, false)) last = static_cast<int>(p + 1);
        if (Lead(part[p])) {
            if (p + 1 == part.size()) break;
            p += 2;
        } else {
            ++p;
        }
    }
    return last;
}

std::string RefReplace(const std::string& t, const std::string& f, const std::string& r, int start,
                       std::optional<int> count, bool cs) {
    const std::size_t b = static_cast<std::size_t>(std::max(start, 1) - 1);
    if (t.empty() || f.empty() || b >= t.size() || (count && *count == 0)) return t;
    std::string out = t.substr(0, b);
    std::size_t p = b;
    int made = 0;
    while (p + f.size() <= t.size()) {
        if (SameAt(t, p, f, !cs)) {
            out += r;
            p += f.size();
            if (count && ++made == *count) break;
        } else {
            const std::size_t n = Lead(t[p]) ? 2 : 1;
            out += t.substr(p, n);
            p += n;
        }
    }
    if (p < t.size()) out += t.substr(p);
    return out;
}

std::string RandomText(std::mt19937& rng, std::size_t maxLength) {
    // Few distinct bytes so that matches, trail-byte look-alikes and lead bytes abound.
    static const char kAlphabet[] = {'a', 'A', 'b', '@', '\x81', '\xA1', '\xB0', '\xFE'};
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 1);
    std::string s(length(rng), ' ');
    for (char& c : s)
        c = kAlphabet[pick(rng)];
    return s;
}

TEST(TextReference, RandomTextsAgreeWithThePlainWalker) {
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> startDist(-1, 40);
    std::uniform_int_distribution<int> coin(0, 1);
    for (int round = 0; round < 20000; ++round) {
        const std::string text = RandomText(rng, 40);
        const std::string what = RandomText(rng, 3);
        const std::string with = RandomText(rng, 2);
        const int start = startDist(rng);
        const bool ic = coin(rng) == 1;
        const std::optional<int> count =
            coin(rng) ? std::nullopt : std::optional<int>(startDist(rng) % 4);
        const std::optional<int> back = coin(rng) ? std::nullopt : std::optional<int>(start);
        SCOPED_TRACE(testing::Message() << "round " << round);
        ASSERT_EQ(FindText(text, what, start, ic), RefFind(text, what, start, ic));
        ASSERT_EQ(FindTextBackward(text, what, back), RefFindBackward(text, what, back));
        ASSERT_EQ(ReplaceText(text, what, with, start, count, !ic),
                  RefReplace(text, what, with, start, count, !ic));
    }
}

TEST(TextReference, LongRunsAgreeToo) {
    // Long runs of high bytes and of ASCII must pair up into the same characters.
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::string text = RandomText(rng, 8) + std::string(rng() % 40, '\xB0') +
                           RandomText(rng, 8) + std::string(rng() % 40, 'x') + RandomText(rng, 8);
        const std::string what = RandomText(rng, 2) + (rng() % 2 ? "x" : "");
        ASSERT_EQ(FindText(text, what), RefFind(text, what, 1, false)) << round;
    }
}

}  // namespace
}  // namespace sirelo
