#include "app/feed_texts.h"

#include <ctime>

#include "text/codepage.h"

namespace sirelo {
namespace {

// "今天 09:12", or "12月7日 09:12" on another day.
std::string When(std::int64_t seconds, std::int64_t now) {
    const std::time_t then = static_cast<std::time_t>(seconds),
                      today = static_cast<std::time_t>(now);
    std::tm at{}, current{};
    if (localtime_r(&then, &at) == nullptr || localtime_r(&today, &current) == nullptr) return "";
    char clock[8];
    std::strftime(clock, sizeof clock, "%H:%M", &at);
    if (at.tm_year == current.tm_year && at.tm_yday == current.tm_yday)
        return "今天 " + std::string(clock);
    return std::to_string(at.tm_mon + 1) + "月" + std::to_string(at.tm_mday) + "日 " + clock;
}

// Why the feed could not be reached, from the first word of the check's details.
std::string Unreachable(const std::string& details) {
    if (details.starts_with("signature: ")) return Unreachable(details.substr(11));
    if (details.starts_with("http ")) return "HTTP " + details.substr(5, details.find(' ', 5) - 5);
    if (details.starts_with("dns")) return "找不到主机";
    if (details.starts_with("refused")) return "连接被拒绝";
    if (details.starts_with("timeout")) return "超时";
    if (details.starts_with("tls")) return "证书无效";
    return "网络错误";
}

}  // namespace

std::string FeedStateLine(const FeedLineFacts& facts, std::int64_t now) {
    const std::string still = !facts.copyInForce             ? "，仍用内置定义"
                              : facts.versionInForce.empty() ? "，仍用上次下载的定义"
                                                             : "，仍用 " + facts.versionInForce;
    if (!facts.state) return Utf8ToGbk("站点定义订阅：尚未下载" + still);
    const FeedState& state = *facts.state;
    // At start-up the version of the copy verified then, not what the state file says.
    const std::string& named = facts.checkedThisRun ? state.version : facts.versionInForce;
    const std::string version = named.empty() ? "" : " " + named;
    std::string line;
    if (state.result == "updated" && facts.checkedThisRun) {
        line = "站点定义：订阅版本" + version + " 已于" + When(state.checkedAt, now) +
               " 下载，下次启动时生效";
    } else if ((state.result == "updated" || state.result == "unchanged") && !facts.copyInForce) {
        line = "站点定义订阅：已下载的副本未通过校验，未采用" + still;
    } else if (state.result == "updated" || state.result == "unchanged") {
        line = "站点定义：订阅版本" + version + "，" + When(state.checkedAt, now) + " 已检查";
    } else if (state.result == "bad-signature") {
        line = "站点定义订阅：签名不符，未采用" + still;
    } else if (state.result == "refused" &&
               state.details.find("minimum_program") != std::string::npos) {
        line = "站点定义订阅：需要更新的 Sirelo，未采用" + still;
    } else if (state.result == "refused") {
        line = "站点定义订阅：文件有误，未采用" + still;
    } else {
        line = "站点定义订阅：无法连接（" + Unreachable(state.details) + "）" + still;
    }
    return Utf8ToGbk(line);
}

}  // namespace sirelo
