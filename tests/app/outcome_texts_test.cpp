#include "app/outcome_texts.h"

#include <gtest/gtest.h>

#include "app/definitions_note.h"
#include "sitedefs/program_definitions.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

PageOutcome Answered(int page, int status, int items, int rows) {
    PageOutcome outcome;
    outcome.page = page;
    outcome.host = "www.example.org";
    outcome.transfer.end = TransferEnd::Answered;
    outcome.transfer.httpStatus = status;
    outcome.itemsCut = items;
    outcome.rowsAdded = rows;
    return outcome;
}

PageOutcome Failed(int page, TransferEnd end, std::string words = {}) {
    PageOutcome outcome = Answered(page, 0, 0, 0);
    outcome.transfer.end = end;
    outcome.transfer.words = std::move(words);
    return outcome;
}

PageOutcome NoResults(int page) {
    PageOutcome outcome = Answered(page, 200, 0, 0);
    outcome.saysNoResults = true;
    outcome.exhausted = true;
    return outcome;
}

SiteOutcomes Folded(const std::vector<PageOutcome>& pages) {
    SiteOutcomes outcomes;
    for (const PageOutcome& page : pages)
        outcomes.add(page);
    return outcomes;
}

TEST(OutcomeTextsTest, VerdictAndWordsOfEachWayARequestEnds) {
    struct Case {
        PageOutcome outcome;
        const char* word;
        const char* words;
    };
    PageOutcome cappedWithItems = Failed(1, TransferEnd::Capped);
    cappedWithItems.itemsCut = 3;
    const Case cases[] = {
        {Answered(1, 200, 5, 5), "ok", ""},
        {cappedWithItems, "ok", ""},
        {NoResults(1), "empty", "无结果，停止翻页"},
        {Answered(1, 200, 0, 0), "layout", "页面中未找到结果标记，站点可能已改版"},
        {Answered(1, 404, 0, 0), "error", "站点回答 HTTP 404"},
        {Failed(1, TransferEnd::HostNotFound), "dns", "未能连接（找不到主机 www.example.org）"},
        {Failed(1, TransferEnd::Refused), "refused", "未能连接（连接被拒绝 www.example.org）"},
        {Failed(1, TransferEnd::TimedOut), "timeout", "连接超时（www.example.org）"},
        {Failed(1, TransferEnd::CertificateRejected), "tls", "证书未通过验证（www.example.org）"},
        {Failed(1, TransferEnd::Capped), "capped", "页面超过大小上限，已截断"},
        {Failed(1, TransferEnd::Other, "Unsupported protocol"), "error",
         "出错（Unsupported protocol）"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(VerdictWord(Verdict(c.outcome)), c.word) << c.words;
        EXPECT_EQ(GbkToUtf8(FailureWords(c.outcome)), c.words);
    }
}

TEST(OutcomeTextsTest, SiteLinesSayPagesRowsAndTheFirstFailure) {
    struct Case {
        std::vector<PageOutcome> pages;
        const char* line;
    };
    PageOutcome proxied = Answered(1, 200, 4, 4);
    proxied.transfer.proxyIgnored = true;
    PageOutcome crowded = Answered(1, 200, 1000, 990);
    crowded.itemsBeyondBound = 25;
    const Case cases[] = {
        {{}, ""},
        {{Answered(2, 200, 8, 7), Answered(1, 200, 10, 10), Answered(3, 200, 5, 5), NoResults(4)},
         "Btrabbit：第1–3页 共22条；第4页无结果，停止翻页"},
        {{Failed(1, TransferEnd::HostNotFound), Failed(2, TransferEnd::HostNotFound)},
         "Btrabbit：未能连接（找不到主机 www.example.org）"},
        {{Answered(1, 200, 3, 3), Answered(3, 200, 0, 0), Answered(5, 200, 2, 2)},
         "Btrabbit：第1、5页 共5条；第3页：页面中未找到结果标记，站点可能已改版"},
        {{proxied}, "Btrabbit：第1页 共4条；代理设置无效，已直连"},
        {{crowded}, "Btrabbit：第1页 共990条；超出单页上限未取25条"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GbkToUtf8(MagnetOutcomeLine("Btrabbit", Folded(c.pages))), c.line);
    }
}

TEST(OutcomeTextsTest, OnlineAndBoardLines) {
    PageOutcome search = Answered(0, 200, 3, 10);
    search.detailPages = 3;
    search.detailFailures = 1;
    EXPECT_EQ(GbkToUtf8(OnlineOutcomeLine("7DDS", Folded({search}))),
              "7DDS：3个结果，3个详情页 共10条；1个详情页未能读取");
    EXPECT_EQ(GbkToUtf8(OnlineOutcomeLine("7DDS", Folded({Failed(0, TransferEnd::TimedOut)}))),
              "7DDS：连接超时（www.example.org）");

    BoardOutcome board;
    board.page = Answered(0, 200, 0, 0).transfer;
    board.films = 10;
    board.postersFailed = 2;
    EXPECT_EQ(GbkToUtf8(BoardOutcomeLine(board)), "院线热映：10部影片，2张海报未能显示");
    board.films = 0;
    EXPECT_EQ(GbkToUtf8(BoardOutcomeLine(board)), "院线热映：页面中未找到结果标记，站点可能已改版");
}

std::vector<DefinitionProblem> Loaded(std::string_view text) {
    return ApplyDefinitions(BuiltInSiteDefinitions(), text, "/home/u/sites.toml",
                            DefinitionsOrigin::User)
        .problems;
}

// A user's file that was not taken as a whole: its first problem, for the
// pane, and the first that keeps a site built in, for that site.
TEST(DefinitionsNote, SaysTheFirstProblemAndWhichSiteStaysBuiltIn) {
    const std::string file = "/home/u/.config/配置/Sirelo/sites.toml";
    const std::vector<DefinitionProblem> problems = {
        {file, 3, "colour", "is no part of a definitions file", "不是定义文件的部分"},
        {file, 12, "magnet.DSS.page", "has no {keyword}", "缺少 {keyword}"},
        {file, 20, "online.\"乐享电影网\".hit", "is not a regular expression that compiles",
         "不是能编译的正则表达式"},
    };
    const struct {
        std::vector<DefinitionProblem> problems;
        std::string site;
        std::string line;
    } cases[] = {
        {problems, "", "sites.toml 第3行：colour：不是定义文件的部分"},
        {problems, "DSS", "sites.toml 第12行：magnet.DSS.page：缺少 {keyword}；DSS 仍用内置定义"},
        {problems, "乐享电影网",
         "sites.toml 第20行：online.\"乐享电影网\".hit：不是能编译的正则表达式；乐享电影网 "
         "仍用内置定义"},
        {problems, "ZZS", ""},
        {{{file, 2, "", "is not UTF-8", "不是 UTF-8"}},
         "ZZS",
         "sites.toml 第2行：不是 UTF-8；全部站点仍用内置定义"},
        {{}, "", ""},
        // The loader's own words, as it gives them.
        {Loaded("[magnet.ZZS]\npage = \"/s\"\n"), "ZZS",
         "sites.toml 第2行：magnet.ZZS.page：缺少 {keyword}；ZZS 仍用内置定义"},
        {Loaded("a = \"\xB5\xDA\"\n"), "",
         "sites.toml 第1行：不是 UTF-8：此行是第一处（存成了 GBK？）；请把文件存为 "
         "UTF-8；全部站点仍用内置定义"},
    };
    for (const auto& each : cases)
        EXPECT_EQ(GbkToUtf8(RejectedDefinitionsLine(each.problems, each.site)), each.line);
}

}  // namespace
}  // namespace sirelo
