#include "app/outcome_texts.h"

#include "text/codepage.h"

namespace sirelo {
namespace {

std::string G(std::string_view utf8) {
    return Utf8ToGbk(utf8);
}

std::string HostPart(const PageOutcome& outcome) {
    return outcome.host.empty() ? std::string() : " " + outcome.host;
}

// "第1–3、5页": runs of consecutive pages joined.
std::string PageRanges(const std::vector<int>& pages) {
    std::string text = G("第");
    for (std::size_t i = 0; i < pages.size();) {
        std::size_t j = i;
        while (j + 1 < pages.size() && pages[j + 1] == pages[j] + 1)
            ++j;
        if (i > 0) text += G("、");
        text += std::to_string(pages[i]);
        if (j > i) text += G("–") + std::to_string(pages[j]);
        i = j + 1;
    }
    return text + G("页");
}

// Bounds and settings that cut something, said after the failure.
std::string CutWords(const SiteOutcomes& outcomes) {
    std::string text;
    if (outcomes.itemsBeyondBound > 0)
        text += G("；超出单页上限未取") + std::to_string(outcomes.itemsBeyondBound) + G("条");
    if (outcomes.rowsBeyondBound > 0)
        text += G("；列表已满未加") + std::to_string(outcomes.rowsBeyondBound) + G("条");
    if (outcomes.proxyIgnored) text += G("；代理设置无效，已直连");
    return text;
}

}  // namespace

std::string FailureWords(const PageOutcome& outcome) {
    switch (Verdict(outcome)) {
        case SiteVerdict::Ok:
            return {};
        case SiteVerdict::Empty:
            return G(outcome.exhausted ? "无结果，停止翻页" : "无结果");
        case SiteVerdict::Layout:
            if (outcome.matchesCut) return G("匹配超出限度");
            return G("页面中未找到结果标记，站点可能已改版");
        case SiteVerdict::Dns:
            return G("未能连接（找不到主机") + HostPart(outcome) + G("）");
        case SiteVerdict::Refused:
            return G("未能连接（连接被拒绝") + HostPart(outcome) + G("）");
        case SiteVerdict::Timeout:
            return G("连接超时") + (outcome.host.empty() ? "" : G("（") + outcome.host + G("）"));
        case SiteVerdict::Tls:
            return G("证书未通过验证") +
                   (outcome.host.empty() ? "" : G("（") + outcome.host + G("）"));
        case SiteVerdict::Capped:
            return G("页面超过大小上限，已截断");
        case SiteVerdict::Limited:
            if (outcome.transfer.retryAfterSeconds < 0) return G("站点要求稍后再试");
            return G("站点要求稍后再试（约") + std::to_string(outcome.transfer.retryAfterSeconds) +
                   G("秒）");
        case SiteVerdict::Challenge:
            return G("站点要求人机验证，暂时无法搜索");
        case SiteVerdict::Error:
            if (outcome.transfer.end == TransferEnd::Answered)
                return G("站点回答 HTTP ") + std::to_string(outcome.transfer.httpStatus);
            return G("出错（") + outcome.transfer.words + G("）");
    }
    return {};
}

std::string MagnetOutcomeLine(const std::string& label, const SiteOutcomes& outcomes) {
    if (outcomes.requests == 0) return {};
    const std::vector<int>& answered = outcomes.answeredPages;
    std::string line = label + G("：");
    if (!answered.empty())
        line += PageRanges(answered) + G(" 共") + std::to_string(outcomes.rowsAdded) + G("条");
    if (const auto& failure = outcomes.firstFailure) {
        if (!answered.empty()) line += G("；");
        // "第4页无结果"; another failure names its page only when some page did answer.
        if (Verdict(*failure) == SiteVerdict::Empty)
            line += G("第") + std::to_string(failure->page) + G("页");
        else if (!answered.empty())
            line += G("第") + std::to_string(failure->page) + G("页：");
        line += FailureWords(*failure);
    }
    return line + CutWords(outcomes);
}

std::string OnlineOutcomeLine(const std::string& label, const SiteOutcomes& outcomes) {
    if (outcomes.requests == 0) return {};
    const PageOutcome& search = outcomes.latest;
    std::string line = label + G("：");
    if (Verdict(search) != SiteVerdict::Ok) return line + FailureWords(search) + CutWords(outcomes);
    line += std::to_string(search.itemsCut) + G("个结果，") + std::to_string(search.detailPages) +
            G("个详情页 共") + std::to_string(search.rowsAdded) + G("条");
    if (search.detailFailures > 0)
        line += G("；") + std::to_string(search.detailFailures) + G("个详情页未能读取");
    return line + CutWords(outcomes);
}

std::string BoardOutcomeLine(const BoardOutcome& outcome) {
    PageOutcome page;
    page.host = outcome.host;
    page.transfer = outcome.page;
    page.itemsCut = outcome.films;
    page.matchesCut = outcome.matchesCut;
    SiteOutcomes outcomes;
    outcomes.add(page);
    std::string line = G("院线热映：");
    if (outcome.films == 0) return line + FailureWords(page) + CutWords(outcomes);
    line += std::to_string(outcome.films) + G("部影片");
    if (outcome.matchesCut) line += G("；") + FailureWords(page);
    if (outcome.postersFailed > 0)
        line += G("，") + std::to_string(outcome.postersFailed) + G("张海报未能显示");
    return line + CutWords(outcomes);
}

std::string RefusedAddressLine(const RefusedAddress& refused) {
    return G(refused.key) + G("：站点地址无效，已用内置地址：") + refused.builtIn;
}

std::string JoinLines(const std::string& first, const std::string& second) {
    if (first.empty() || second.empty()) return first + second;
    return first + '\n' + second;
}

OutcomeTips RunOutcomeTips(const RunOutcomeSnapshot& snapshot, const SiteDefinitions& definitions) {
    OutcomeTips tips;
    const auto addLine = [](std::string& pane, const std::string& line) {
        if (line.empty()) return;
        if (!pane.empty()) pane += '\n';
        pane += line;
    };
    for (const MagnetSite& site : definitions.magnet) {
        const std::string& line = tips.magnetSites.emplace_back(
            MagnetOutcomeLine(site.label, snapshot.magnet[site.index]));
        addLine(tips.magnetPane, line);
    }
    for (const OnlineSite& site : definitions.online) {
        const std::string& line = tips.onlineSites.emplace_back(
            OnlineOutcomeLine(site.label, snapshot.online[site.index]));
        addLine(tips.onlinePane, line);
    }
    return tips;
}

}  // namespace sirelo
