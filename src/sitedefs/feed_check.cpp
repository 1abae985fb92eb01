#include "sitedefs/feed_check.h"

#include "sitedefs/feed_header.h"
#include "sitedefs/minisign.h"

namespace sirelo {

std::string_view ProgramVersionText() {
    return SIRELO_PROGRAM_VERSION;
}

CheckedFeed CheckFeed(const SiteDefinitions& base, std::string_view file,
                      std::string_view signature, std::string_view publicKey,
                      std::string_view fileName) {
    CheckedFeed checked;
    const std::optional<MinisignKey> key = ReadMinisignKey(publicKey);
    if (!key) {
        checked.verdict = FeedVerdict::BadSignature;
        checked.problems.push_back("Configuration.ini: [站点] 订阅公钥: is no minisign public key");
        return checked;
    }
    const SignatureCheck signed_ = CheckMinisignSignature(*key, file, signature);
    if (!signed_.good) {
        checked.verdict = FeedVerdict::BadSignature;
        checked.problems.push_back(signed_.problem);
        return checked;
    }
    LoadedDefinitions loaded = ApplyDefinitions(base, file, fileName);
    for (const DefinitionProblem& problem : loaded.problems)
        checked.problems.push_back(DescribeProblem(problem));
    if (!checked.problems.empty()) return checked;
    const FeedHeader header = ReadFeedHeader(file, fileName);
    for (const DefinitionProblem& problem : header.problems)
        checked.problems.push_back(DescribeProblem(problem));
    if (!checked.problems.empty()) return checked;
    checked.version = header.version;
    if (OlderProgram(ProgramVersionText(), header.minimumProgram)) {
        checked.problems.push_back(std::string(fileName) + ": feed.minimum_program: wants Sirelo " +
                                   header.minimumProgram + " or newer; this is " +
                                   std::string(ProgramVersionText()));
        return checked;
    }
    checked.verdict = FeedVerdict::Taken;
    checked.definitions = std::move(loaded.definitions);
    checked.fileKeys = std::move(loaded.fileKeys);
    return checked;
}

}  // namespace sirelo
