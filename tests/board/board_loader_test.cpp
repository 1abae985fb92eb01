#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "board/board_loader.h"
#include "fixture_sites.h"
#include "net/http_limits.h"
#include "sitedefs/program_definitions.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

std::string BoardFixture(const std::string& relativePath) {
    std::ifstream in(std::string(SIRELO_FIXTURES_DIR) + "/board/" + relativePath, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The fixture sites with the board site answering `page` (under tests/fixtures/board/) at "/board".
class BoardSite {
  public:
    explicit BoardSite(const std::string& page = "board.html") : sites_(SIRELO_FIXTURES_DIR) {
        sites_.addRoute({"院线热映", "GET", "/board", "", "board/" + page});
    }
    std::string BoardUrl() const { return sites_.baseAddress("院线热映") + "/board"; }
    std::vector<std::string> Targets() const {
        std::vector<std::string> targets;
        for (const auto& request : sites_.requests("院线热映"))
            targets.push_back(request.target);
        return targets;
    }

  private:
    fixtures::FixtureSites sites_;
};

// Records every call as one line: "poster <slot> <bytes>" or "<label> <slot> <UTF-8 text>".
// The loader runs on the test's own thread here, so no lock is needed.
struct RecordingSink : BoardSink {
    bool ShowPoster(int slot, const Bytes& image) override {
        calls.push_back("poster " + std::to_string(slot) + " " + std::to_string(image.size()));
        posters.push_back(image);
        return !image.empty();
    }
    void ShowOutcome(const BoardOutcome& shown) override { outcome = shown; }
    void ShowLabel(int slot, SlotLabel label, const std::string& gbkText) override {
        static constexpr const char* kNames[] = {"name", "date", "score", "stars"};
        calls.push_back(std::string(kNames[static_cast<int>(label)]) + " " + std::to_string(slot) +
                        " " + GbkToUtf8(gbkText));
    }
    // The calls whose line starts with `kind`, in order.
    std::vector<std::string> Calls(std::string_view kind) const {
        std::vector<std::string> picked;
        for (const std::string& call : calls) {
            if (call.starts_with(kind)) picked.push_back(call);
        }
        return picked;
    }

    std::vector<std::string> calls;
    std::vector<std::string> posters;
    BoardOutcome outcome;
};

std::shared_ptr<RecordingSink> Load(const std::string& url) {
    auto sink = std::make_shared<RecordingSink>();
    loadMovieBoard(BuiltInSiteDefinitions().board, url, sink);
    return sink;
}

TEST(BoardLoader, FillsTenFilmSlotsFromAServedPageInOrder) {
    BoardSite site;
    const auto sink = Load(site.BoardUrl());

    const std::vector<std::string>& calls = sink->calls;
    ASSERT_EQ(calls.size(), 50u);
    EXPECT_EQ(calls[0], "poster 1 " + std::to_string(BoardFixture("posters/01.jpg").size()));
    EXPECT_EQ(calls[1], "name 1 星河彼岸");
    EXPECT_EQ(calls[2], "date 1 上映时间：2019-02-05");
    EXPECT_EQ(calls[3], "score 1 9.2");
    EXPECT_EQ(calls[4], "stars 1 张三,李四");
    EXPECT_EQ(calls[49], "stars 11 何小满");

    EXPECT_EQ(sink->Calls("name"),
              (std::vector<std::string>{"name 1 星河彼岸", "name 2 长夜将明", "name 3 山海之间",
                                        "name 4 雾中灯塔", "name 5 风起南城", "name 7 归途",
                                        "name 8 第七个夏天", "name 9 镜湖", "name 10 北纬三十度",
                                        "name 11 冬日来信"}));
    EXPECT_EQ(sink->Calls("stars"),
              (std::vector<std::string>{
                  "stars 1 张三,李四", "stars 2 无", "stars 3 一二三四五", "stars 4 张三",
                  "stars 5 周一,吴二,郑三", "stars 7 王五,赵六", "stars 8 孙七,李八,钱九",
                  "stars 9 陈一,林二", "stars 10 欧阳晨,司马青,上官云", "stars 11 何小满"}));
    EXPECT_EQ(sink->Calls("score")[1], "score 2 8.7");
    EXPECT_EQ(sink->Calls("date")[2], "date 3 上映时间：2019-02-05(中国大陆)");

    // Each poster arrives as served, the one that is no image included.
    const std::vector<std::string>& posters = sink->posters;
    ASSERT_EQ(posters.size(), 10u);
    EXPECT_EQ(posters[3], BoardFixture("posters/04.webp"));
    EXPECT_EQ(posters[6], BoardFixture("posters/07.txt"));

    // The page, then the ten posters one after another; films 11 and 12 are not fetched.
    EXPECT_EQ(site.Targets(),
              (std::vector<std::string>{"/board", "/posters/01.jpg", "/posters/02.png",
                                        "/posters/03.gif", "/posters/04.webp", "/posters/05.jpg",
                                        "/posters/06.png", "/posters/07.txt", "/posters/08.webp",
                                        "/posters/09.gif", "/posters/10.jpg"}));
}

TEST(BoardLoader, AScoreLineWithoutTheTwoBlanksMovesTheLaterScoresUp) {
    BoardSite site("board-score-without-blanks.html");
    const auto sink = Load(site.BoardUrl());
    EXPECT_EQ(sink->Calls("score"),
              (std::vector<std::string>{"score 1 8.7", "score 2 7.5", "score 3 "}));
}

TEST(BoardLoader, FewerMatchesThanTitlesLeaveTheLastFilmsEmpty) {
    BoardSite site("board-fewer-matches.html");
    const auto sink = Load(site.BoardUrl());
    EXPECT_EQ(sink->Calls("name"), (std::vector<std::string>{"name 1 一号", "name 2 二号",
                                                             "name 3 三号", "name 4 四号"}));
    // Film 2 takes film 3's poster, and so on; the last film has none.
    const std::vector<std::string>& posters = sink->posters;
    ASSERT_EQ(posters.size(), 4u);
    EXPECT_EQ(posters[1], BoardFixture("posters/03.gif"));
    EXPECT_EQ(posters[3], "");
    EXPECT_EQ(sink->outcome.films, 4);
    EXPECT_EQ(sink->outcome.page.httpStatus, 200);
    EXPECT_EQ(sink->outcome.postersFailed, 1);
    EXPECT_EQ(sink->Calls("date"), (std::vector<std::string>{
                                       "date 1 上映时间：2019-02-11", "date 2 上映时间：2019-02-12",
                                       "date 3 上映时间：2019-02-14", "date 4 上映时间："}));
    EXPECT_EQ(sink->Calls("score"),
              (std::vector<std::string>{"score 1 8.0", "score 2 7.3", "score 3 6.4", "score 4 "}));
    EXPECT_EQ(sink->Calls("stars"), (std::vector<std::string>{"stars 1 赵甲", "stars 2 钱乙",
                                                              "stars 3 无", "stars 4 无"}));
}

class BoardLoaderFailure : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = CurrentHttpLimits();
        HttpLimits quick = saved_;
        quick.connectTimeoutMs = 2'000;
        quick.stallTimeoutMs = 500;
        SetHttpLimits(quick);
    }
    void TearDown() override { SetHttpLimits(saved_); }

  private:
    HttpLimits saved_;
};

TEST_F(BoardLoaderFailure, NoNetworkFillsNothingAndEndsAtOnce) {
    std::string closedUrl;
    {
        testsupport::LoopbackServer gone(testsupport::Ok(""));
        closedUrl = gone.BaseUrl() + "/board";
    }
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(Load(closedUrl)->calls.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(Load("")->calls.empty());
}

TEST_F(BoardLoaderFailure, HostilePagesFillNothing) {
    for (testsupport::Reply reply :
         {testsupport::Garbage(1 << 20), testsupport::Silent(), testsupport::Reset(),
          testsupport::Ok(std::string(1 << 20, '\0'))}) {
        testsupport::LoopbackServer site(reply);
        EXPECT_TRUE(Load(site.BaseUrl() + "/board")->calls.empty());
    }
}

TEST_F(BoardLoaderFailure, APosterThatNeverComesStillLetsItsLabelsThrough) {
    testsupport::LoopbackServer site(testsupport::Silent());
    std::string page = BoardFixture("board-score-without-blanks.html");
    for (std::size_t at; (at = page.find("{{BASE}}")) != std::string::npos;) {
        page.replace(at, 8, site.BaseUrl());
    }
    site.SetHandler([&page](const testsupport::ReceivedRequest& request) {
        return request.target == "/board" ? testsupport::Ok(page) : testsupport::Silent();
    });
    const auto sink = Load(site.BaseUrl() + "/board");
    EXPECT_EQ(sink->Calls("poster"),
              (std::vector<std::string>{"poster 1 0", "poster 2 0", "poster 3 0"}));
    EXPECT_EQ(sink->Calls("name").size(), 3u);
}

}  // namespace
}  // namespace sirelo
