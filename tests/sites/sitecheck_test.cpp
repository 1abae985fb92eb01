// sirelo-sitecheck as its users run it: a process with arguments, rows on
// stdout, a summary on stderr and an exit status.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/config_test_support.h"
#include "fixture_sites.h"
#include "site_test_support.h"
#include "sitedefs/definitions_loader.h"
#include "sitedefs/program_definitions.h"
#include "sitedefs/site_roster.h"
#include "sites/magnet_worker.h"
#include "support/feed_site.h"
#include "support/loopback_server.h"
#include "support/minisign_signer.h"

extern char** environ;

namespace sirelo::testing {
namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
    std::vector<std::string> lines() const {
        std::vector<std::string> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class SitecheckTest : public ::testing::Test {
  protected:
    // Runs the tool with the configuration folder of `home`.
    ToolRun sitecheck(std::vector<std::string> args) {
        const std::string out = home.root() + "/out", err = home.root() + "/err";
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        args.insert(args.begin(), SIRELO_SITECHECK);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        pid_t child = 0;
        ToolRun run;
        if (posix_spawn(&child, SIRELO_SITECHECK, &files, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            waitpid(child, &status, 0);
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        posix_spawn_file_actions_destroy(&files);
        run.out = ReadText(out);
        run.err = ReadText(err);
        return run;
    }

    ScopedConfigHome home;  // also keeps the tool away from the user's own settings
    fixtures::FixtureSites sites{SIRELO_FIXTURES_DIR};
};

TEST_F(SitecheckTest, PrintsTheRowsOfOneMagnetPage) {
    const ToolRun run =
        sitecheck({"magnet", "Btrabbit", "英雄", "--base", sites.baseAddress("Btrabbit")});
    EXPECT_EQ(run.status, 0);
    const auto lines = run.lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(
        lines[0],
        "1\t英雄 Hero.2002.1080p.BluRay.x264.国语中字\t"
        "magnet:?xt=urn:btih:C5FA8ECD71B8B3436906ABBD56E7D38A8363CA64\tBtrabbit\t2.35 GB\t1523\t"
        "2019-03-12");
    EXPECT_EQ(lines[2],
              "3\t英雄 Hero (2002) 导演剪辑版 DVDRip\t\tBtrabbit\t700.1 MB\t95\t2016-05-20");
    EXPECT_EQ(run.err, "ok rows: 5, filtered links: 0, filtered items: 0, site exhausted: no\n");
}

TEST_F(SitecheckTest, FiltersAreOnUnlessTurnedOffAndPagesCanBeChosen) {
    const std::string base = sites.baseAddress("ZZS");
    EXPECT_EQ(sitecheck({"magnet", "ZZS", "英雄", "--base", base}).lines().size(), 3u);
    const ToolRun all = sitecheck({"magnet", "ZZS", "英雄", "1", "--no-filters", "--base", base});
    EXPECT_EQ(all.lines().size(), 4u);
    EXPECT_EQ(all.err, "ok rows: 4, filtered links: 0, filtered items: 0, site exhausted: no\n");
    const ToolRun empty = sitecheck({"magnet", "ZZS", "英雄", "3", "--base", base});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.err,
              "empty rows: 0, filtered links: 0, filtered items: 0, site exhausted: yes\n");
    EXPECT_EQ(sites.requestCount("ZZS", "/list/%E8%8B%B1%E9%9B%84/rel/3"), 1u);
}

// One row stays one line, and nothing from a page or a file can steer the terminal.
TEST_F(SitecheckTest, OneRowStaysOneLineAndControlsReachNoTerminal) {
    testsupport::LoopbackServer site(
        testsupport::Ok("<a title=\"tab\there back\\slash\r\nnext\x1B[2J\x07\"  href=x>--<a "
                        "href=\"magnet:?xt=1\" class=x>"));
    const ToolRun run = sitecheck(
        {"magnet", "Btrabbit", "x", "--no-filters", "--explain", "--base", site.BaseUrl()});
    EXPECT_EQ(run.lines().back(),
              "1\ttab\\there back\\\\slash\\r\\nnext\\x1B[2J\\x07\t\tBtrabbit\t\t\t");
    std::ofstream(home.root() + "/bad.toml") << "[magnet.DSS]\n\"k\\u001b]52;c;eA==\\u0007\" = 1\n";
    const ToolRun validate = sitecheck({"validate", home.root() + "/bad.toml"});
    EXPECT_NE(validate.out.find("k\\x1B]52;c;eA==\\x07"), std::string::npos) << validate.out;
    for (const std::string& text : {run.out, run.err, validate.out, validate.err})
        EXPECT_EQ(text.find_first_of("\x1B\x07"), std::string::npos) << text;
}

TEST_F(SitecheckTest, PrintsTheRowsOfAnOnlineSite) {
    const ToolRun sevenDds =
        sitecheck({"online", "7DDS", "英雄", "--base", sites.baseAddress("7DDS")});
    EXPECT_EQ(sevenDds.status, 0);
    ASSERT_EQ(sevenDds.lines().size(), 7u);
    EXPECT_EQ(sevenDds.lines()[6],
              "7\t英雄儿女\t第04集\t7DDS\t" + sites.baseAddress("7DDS") + "/play/103-0-4.html");
    const ToolRun lexiang = sitecheck(
        {"online", "乐享电影网", "英雄", "--base", sites.baseAddress("乐享电影网") + "/"});
    ASSERT_EQ(lexiang.lines().size(), 3u);
    EXPECT_EQ(lexiang.lines()[0], "1\t英雄\tHD国语\t乐享电影网\t" +
                                      sites.baseAddress("乐享电影网") + "/play/2345-1-1.html");
    EXPECT_EQ(lexiang.err,
              "ok rows: 3, filtered links: 0, filtered items: 0, site exhausted: no\n");
}

TEST_F(SitecheckTest, PrintsTheFilmsOfTheBoardBySlot) {
    const std::string base = sites.baseAddress("院线热映");
    const ToolRun run = sitecheck({"board", "--base", base + "/"});
    EXPECT_EQ(run.status, 0);
    const auto lines = run.lines();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0],
              "1\t星河彼岸\t" + base + "/posters/01.jpg\t上映时间：2019-02-05\t张三,李四\t9.2");
    EXPECT_EQ(lines[5].substr(0, 9), "7\t归途\t");
    EXPECT_EQ(lines[9].substr(0, 3), "11\t");
    EXPECT_EQ(run.err, "ok films shown: 10\n");
}

TEST_F(SitecheckTest, WithoutBaseTheAddressComesFromTheConfigurationFile) {
    home.writeFile(Gbk("[站点地址]\r\nDSS=") + sites.baseAddress("DSS") +
                   "\r\n7DDS=" + sites.baseAddress("7DDS") + "\r\n");
    EXPECT_EQ(sitecheck({"magnet", "DSS", "英雄"}).lines().size(), 3u);
    EXPECT_EQ(sitecheck({"online", "7DDS", "英雄"}).lines().size(), 7u);
}

// A user's sites.toml that points the DSS slot at a site of another layout:
// the page number before the keyword, other markers, pages in GBK.
constexpr const char* kRepurposedDss = R"(
[magnet.DSS]
page = "/s/{page}/{keyword}.html"
encoding = "gbk"

[magnet.DSS.name]
start = '<td class="t">'
end = "</td>"
steps = [ { trim = true } ]

[magnet.DSS.link]
start = '<td class="h">'
end = "</td>"
steps = [ { prefix = "magnet:?xt=urn:btih:" } ]

[magnet.DSS.size]
start = '<td class="s">'
end = "</td>"
steps = []

[magnet.DSS.heat]
start = '<td class="p">人气 '
end = "</td>"

[magnet.DSS.created]
start = '<td class="d">'
end = "</td>"
steps = [ { after_last = "收录于" }, { trim = true } ]
)";

TEST_F(SitecheckTest, AUserFileRepurposesASlotForTheProgramAndTheTool) {
    home.writeFile(Gbk("[站点地址]\r\nDSS=") + sites.baseAddress("DSS") + "\r\n");
    std::ofstream(home.folder() + "/sites.toml") << kRepurposedDss;
    const std::vector<std::string> expected = {
        "1\t英雄 Hero 2002 国语中字 1080p\tmagnet:?xt=urn:btih:"
        "5B3F1C0E9A8D7C6B5A4F3E2D1C0B9A8F7E6D5C4B\tDSS\t2.1 GB\t312\t2020-01-02",
        "2\t英雄本色 A Better Tomorrow 1986\tmagnet:?xt=urn:btih:"
        "AA11BB22CC33DD44EE55FF6677889900AABBCCDD\tDSS\t1.4 GB\t87\t2018-07-30",
        "3\t少年英雄 DVDRip\tmagnet:?xt=urn:btih:0F1E2D3C4B5A69788796A5B4C3D2E1F00F1E2D3C\tDSS\t"
        "700 MB\t5\t2015-11-11"};

    // The program's start-up path, then its worker.
    AppConfig config;
    SiteDefinitions definitions = ProgramSiteDefinitions(config, stderr);
    ApplySiteAddresses(config, definitions);
    WorkerHarness harness(definitions, "英雄");
    MagnetSiteWorker(harness.context, harness.lock, kDss, 1);
    std::vector<std::string> programRows;
    for (const auto& cells : RowsOf(harness.magnetList)) {
        std::string line;
        for (const std::string& cell : cells)
            line += (line.empty() ? "" : "\t") + cell;
        programRows.push_back(line);
    }
    EXPECT_EQ(programRows, expected);
    EXPECT_EQ(sites.requestCount("DSS", "/s/1/%E8%8B%B1%E9%9B%84.html"), 1u);

    const ToolRun fetched = sitecheck({"magnet", "DSS", "英雄"});
    EXPECT_EQ(fetched.lines(), expected);
    EXPECT_EQ(fetched.err,
              "ok rows: 3, filtered links: 0, filtered items: 0, site exhausted: no\n");

    // Offline, from the saved page, with the definition and the cut explained
    // before the rows.
    const ToolRun saved = sitecheck({"magnet", "DSS", "英雄", "--explain", "--page",
                                     std::string(SIRELO_FIXTURES_DIR) + "/gbksite/hero-1.html"});
    const std::vector<std::string> all = saved.lines();
    ASSERT_GE(all.size(), 24u);
    const std::vector<std::string> definition = {all.begin(), all.begin() + 24};
    EXPECT_EQ(definition[0], "[magnet.DSS]");
    EXPECT_EQ(definition[1], "label = \"DSS\"   # built in");
    EXPECT_EQ(definition[3], "base = \"http://www.diaosisou.cc\"   # built in");
    EXPECT_EQ(definition[4], "page = \"/s/{page}/{keyword}.html\"   # sites.toml");
    EXPECT_EQ(definition[11], "name.steps = [ { trim = true } ]   # sites.toml");
    const std::vector<std::string> lines = {all.begin() + 24, all.end()};
    ASSERT_EQ(lines.size(), 10u);  // the page, five fields, the inherited no_results, the rows
    EXPECT_EQ(
        lines[1],
        "name     start markers 3, end markers 15, pieces 3; first \" 英雄 Hero 2002 国语中字 "
        "1080p \" -> \"英雄 Hero 2002 国语中字 1080p\"");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 7, lines.end()), expected);
    EXPECT_EQ(sitecheck({"validate"}).status, 0);
}

TEST_F(SitecheckTest, AnAddedSiteIsAskedAtItsConfiguredAddressUnderItsLabel) {
    testsupport::LoopbackServer site(testsupport::Ok(
        "<tr><td>英雄 2002</td><td>magnet:?xt=urn:btih:A1</td><td class=s>1.2 GB</td></tr>\n"));
    home.writeFile(Gbk("[站点地址]\r\nnew-1=") + site.BaseUrl() + "\r\n");
    std::ofstream(home.folder() + "/sites.toml")
        << "[magnet.new-1]\nlabel = \"新站\"\nbase = \"http://example.invalid\"\n"
           "page = \"/s?q={keyword}&p={page}\"\n"
           "name = { start = \"<tr><td>\", end = \"</td>\" }\n"
           "link = { start = \"<td>magnet\", end = \"</td>\", steps = [ { prefix = \"magnet\" } ] "
           "}\n"
           "size = { start = \"<td class=s>\", end = \"</td>\" }\n"
           "heat = { start = \"<none>\", end = \"</none>\" }\n"
           "created = { start = \"<none>\", end = \"</none>\" }\n";
    EXPECT_EQ(sitecheck({"validate"}).status, 0);
    const ToolRun run = sitecheck({"magnet", "new-1", "英雄", "--explain"});
    const std::vector<std::string> lines = run.lines();
    ASSERT_FALSE(lines.empty()) << run.err;
    EXPECT_EQ(lines[0], "[magnet.new-1]");
    EXPECT_EQ(lines[1], "label = \"新站\"   # sites.toml");
    EXPECT_EQ(lines[3], "base = \"http://example.invalid\"   # sites.toml");
    EXPECT_NE(run.out.find("\t英雄 2002\tmagnet:?xt=urn:btih:A1\t新站\t"), std::string::npos)
        << run.out;
    ASSERT_EQ(site.RequestCount(), 1u);
    EXPECT_EQ(site.Requests()[0].target, "/s?q=%E8%8B%B1%E9%9B%84&p=1");
}

TEST_F(SitecheckTest, AUserFileWithProblemsLeavesTheirSitesBuiltInAndSaysWhere) {
    std::filesystem::create_directories(home.folder());
    std::ofstream(home.folder() + "/sites.toml")
        << "[magnet.DSS]\npage = \"/s/{page}\"\n[magnet.ZZS.name]\nstart = \"\"\n";
    const ToolRun run = sitecheck({"magnet", "DSS", "英雄", "--base", sites.baseAddress("DSS")});
    EXPECT_EQ(run.lines().size(), 3u) << "DSS keeps its built-in definition";
    EXPECT_NE(run.err.find("sites.toml:2: magnet.DSS.page: has no {keyword}\n"), std::string::npos)
        << run.err;
    const ToolRun validate = sitecheck({"validate"});
    EXPECT_EQ(validate.status, 1);
    EXPECT_EQ(validate.lines().size(), 2u);
    EXPECT_NE(validate.out.find("sites.toml:4: magnet.ZZS.name.start: is an empty marker"),
              std::string::npos);
    // The dump, as the user's file, is clean.
    std::ofstream(home.folder() + "/sites.toml") << sitecheck({"dump"}).out;
    EXPECT_EQ(sitecheck({"validate"}).status, 0);
}

TEST_F(SitecheckTest, HelpValidateAndInitSayWhatThereIs) {
    for (const std::vector<std::string>& help :
         std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"magnet", "DSS", "--help"}}) {
        const ToolRun run = sitecheck(help);
        EXPECT_EQ(run.status, 0);
        for (const char* word : {"usage:", "magnet", "online", "board", "all", "dump", "validate",
                                 "init", "--sites", "--proxy", "--explain", "--no-filters"})
            EXPECT_NE(run.out.find(word), std::string::npos) << word;
    }
    const std::string path = home.folder() + "/sites.toml";
    const ToolRun none = sitecheck({"validate"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out.find("There is no sites.toml: " + path + " does not exist"), 0u) << none.out;

    std::filesystem::remove_all(home.folder());
    EXPECT_EQ(sitecheck({"init"}).status, 0);
    const std::string starter = ReadText(path);
    EXPECT_NE(starter.find("# [magnet.DSS]\n"), std::string::npos);
    EXPECT_NE(starter.find("# [magnet.Example]\n"), std::string::npos);
    EXPECT_EQ(sitecheck({"validate"}).status, 0) << "the starter changes nothing";
    std::ofstream(path) << "# mine\n";
    EXPECT_EQ(sitecheck({"init"}).status, 1);
    EXPECT_EQ(ReadText(path), "# mine\n") << "init never overwrites";

    const struct {
        std::string text;
        int status;
        std::vector<std::string> lines;
    } files[] = {
        {"[magnet.DSS]\npage = \"/s/{keyword}\"\n",
         0,
         {"warning: " + path +
          ":2: magnet.DSS.page: has no {page}, so every result page is the first one"}},
        {"# \xC2\xB7\n# \xEF\xB9\x8F\n",
         1,
         {path + ":1: holds U+00B7 as it is, which the TOML reader cannot take; write it as "
                 "\\u00B7 inside quotes",
          path + ":2: holds U+FE4F as it is, which the TOML reader cannot take; write it as "
                 "\\uFE4F inside quotes"}},
        {"# ok\n" + Gbk("# 英雄\n"),
         1,
         {path + ":2: is not UTF-8: this line is the first that is not (saved as GBK?); save the "
                 "file as UTF-8"}},
    };
    for (const auto& file : files) {
        std::ofstream(path) << file.text;
        const ToolRun run = sitecheck({"validate"});
        EXPECT_EQ(run.status, file.status) << file.text;
        EXPECT_EQ(run.lines(), file.lines);
    }
}

TEST_F(SitecheckTest, BadArgumentsGiveTheUsageAndStatusTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"board2"},
        {"magnet"},
        {"magnet", "btrabbit", "x"},
        {"magnet", "DSS", ""},
        {"magnet", "DSS", "x", "0"},
        {"magnet", "DSS", "x", "2x"},
        {"magnet", "DSS", "x", "1", "2"},
        {"magnet", "DSS", "x", "--base"},
        {"magnet", "DSS", "x", "--base", "ftp://h"},
        {"magnet", "DSS", "x", "--fast"},
        {"online", "7DDS"},
        {"online", "7DDS", "x", "--no-filters"},
        {"online", "Btbook", "x"},
        {"board", "x"},
        {"board", "--page"},
        {"online", "7DDS", "x", "--page", "p.html"},
        {"magnet", "DSS", "x", "--page", "/no/such/page.html"},
        {"dump", "x"},
        {"validate", "a", "b"},
    };
    for (const auto& args : bad) {
        const ToolRun run = sitecheck(args);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(sites.requestCount("DSS") + sites.requestCount("7DDS"), 0u);
}

// Every site asked at once, each failing in another way the tool tells apart;
// a server that never answers is the transfer tests' case, not worth 30 s here.
TEST_F(SitecheckTest, AllSaysHowEverySiteEnded) {
    testsupport::TestCertificate certificate;
    testsupport::LoopbackServer untrusted(testsupport::Ok("<html></html>"), certificate.Files());
    testsupport::LoopbackServer changed(testsupport::Ok("<html><body>改版了</body></html>"));
    const std::string unknownHost = "http://" + std::string(70, 'a') + ".invalid";
    home.writeFile(Gbk("[站点地址]\r\nBtrabbit=") + unknownHost +
                   "\r\nZZS=http://127.0.0.1:1\r\nDSS=" + sites.baseAddress("DSS") +
                   "\r\nBtbook=" + untrusted.BaseUrl() + "\r\n7DDS=" + sites.baseAddress("7DDS") +
                   Gbk("\r\n乐享电影网=") + changed.BaseUrl() + Gbk("\r\n院线热映=") +
                   sites.baseAddress("院线热映") + "\r\n");

    const ToolRun run = sitecheck({"all", "英雄", "--page", "3"});
    EXPECT_EQ(run.status, 1);
    const std::vector<std::string> lines = run.lines();
    ASSERT_EQ(lines.size(), 7u) << run.out << run.err;
    const std::string expected[][3] = {
        {"Btrabbit", "dns", "-"},  {"ZZS", "refused", "-"}, {"DSS", "empty", "200"},
        {"Btbook", "tls", "-"},    {"7DDS", "ok", "200"},   {"乐享电影网", "layout", "200"},
        {"院线热映", "ok", "200"},
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> fields;
        std::istringstream line(lines[i]);
        for (std::string field; std::getline(line, field, '\t');)
            fields.push_back(field);
        ASSERT_GE(fields.size(), 6u) << lines[i];
        EXPECT_EQ(fields[0], expected[i][0]);
        EXPECT_EQ(fields[1], expected[i][1]) << lines[i];
        EXPECT_EQ(fields[2], expected[i][2]) << lines[i];
    }
    EXPECT_NE(lines[0].find("找不到主机"), std::string::npos);
    EXPECT_NE(lines[4].find("\t7\t"), std::string::npos) << "7DDS's seven rows";
    EXPECT_NE(lines[5].find("页面中未找到结果标记"), std::string::npos);
    EXPECT_NE(lines[6].find("\t10\t"), std::string::npos) << "ten films";
}

// The worked example of docs/sites.md as the user's file: `all` lists the added
// sites after the built-in ones of their kind, and each mode asks them.
TEST_F(SitecheckTest, TheAddedSitesOfTheWorkedExampleListTheirRows) {
    const std::string file = ReadText(std::string(SIRELO_FIXTURES_DIR) + "/added/sites.toml");
    const LoadedDefinitions added =
        ApplyDefinitions(BuiltInSiteDefinitions(), file, "sites.toml", DefinitionsOrigin::User);
    ASSERT_TRUE(added.problems.empty());
    home.writeFile(
        Utf8ToGbk(fixtures::FixtureSites::addressSection(sites.definitions(added.definitions))));
    std::ofstream(home.folder() + "/sites.toml") << file;

    const ToolRun all = sitecheck({"all", "英雄"});
    std::vector<std::string> labels;
    for (const std::string& line : all.lines())
        labels.push_back(line.substr(0, line.find('\t')));
    EXPECT_EQ(labels,
              (std::vector<std::string>{"Btrabbit", "ZZS", "DSS", "Btbook", "表格站", "国标站",
                                        "7DDS", "乐享电影网", "影院一号", "院线热映"}))
        << all.out << all.err;
    for (const char* line : {"表格站\tok\t200\t", "国标站\tok\t200\t", "影院一号\tok\t200\t"})
        EXPECT_NE(all.out.find(line), std::string::npos) << line << "\n" << all.out;

    const struct {
        std::vector<std::string> args;
        std::string rowLabel;
        std::size_t rows;
    } modes[] = {{{"magnet", "Rows", "英雄"}, "\t表格站\t", 3},
                 {{"magnet", "gbk-site", "英雄"}, "\t国标站\t", 2},
                 {{"online", "film-1", "英雄"}, "\t影院一号\t", 3}};
    for (const auto& mode : modes) {
        const ToolRun run = sitecheck(mode.args);
        std::size_t rows = 0;
        for (const std::string& line : run.lines())
            rows += line.find(mode.rowLabel) != std::string::npos;
        EXPECT_EQ(rows, mode.rows) << run.out << run.err;
    }
}

TEST_F(SitecheckTest, AllTellsALimitFromAChallenge) {
    testsupport::LoopbackServer limited(
        testsupport::Answer(testsupport::HttpResponse(429, "", {"Retry-After: 120"})));
    testsupport::LoopbackServer challenge(
        testsupport::Answer(testsupport::HttpResponse(403, "<title>Just a moment...</title>")));
    std::string section = Gbk("[站点地址]\r\n");
    for (const std::string& site : fixtures::KnownSites()) {
        const std::string base = site == "DSS"    ? limited.BaseUrl()
                                 : site == "7DDS" ? challenge.BaseUrl()
                                                  : sites.baseAddress(site);
        section += Utf8ToGbk(site) + "=" + base + "\r\n";
    }
    home.writeFile(section);

    const ToolRun run = sitecheck({"all", "英雄"});
    const std::vector<std::string> lines = run.lines();
    ASSERT_EQ(lines.size(), 7u) << run.out << run.err;
    EXPECT_TRUE(lines[2].starts_with("DSS\tlimited\t429\t")) << lines[2];
    EXPECT_NE(lines[2].find("站点要求稍后再试（约120秒）"), std::string::npos) << lines[2];
    EXPECT_TRUE(lines[4].starts_with("7DDS\tchallenge\t403\t")) << lines[4];
    EXPECT_NE(lines[4].find("站点要求人机验证，暂时无法搜索"), std::string::npos) << lines[4];
    EXPECT_EQ(limited.RequestCount(), 1u);
    EXPECT_EQ(challenge.RequestCount(), 1u);
}

TEST_F(SitecheckTest, TheFeedModesSayHowItWentInTheirFirstWord) {
    const MinisignSigner signer;
    FeedSite feed;
    const std::string file =
        "[feed]\nversion = \"2026.12.08\"\n[magnet.DSS]\npage = \"/f/{keyword}\"\n";
    feed.serve(file, signer.sign(file));
    EXPECT_EQ(sitecheck({"subscribe", feed.address(), "RWQ"}).status, 2);
    EXPECT_EQ(sitecheck({"subscribe", feed.address(), signer.publicKey()}).status, 0);
    const struct {
        const char* firstLine;
        int status;
    } steps[] = {{"updated 2026.12.08", 0}, {"unchanged", 0}, {"bad-signature", 1}};
    for (const auto& step : steps) {
        if (step.status != 0) feed.serve(file + "#", signer.sign(file));
        const ToolRun run = sitecheck({"update"});
        EXPECT_EQ(run.status, step.status) << step.firstLine;
        ASSERT_FALSE(run.lines().empty());
        EXPECT_EQ(run.lines()[0], step.firstLine);
    }
    const std::string status = sitecheck({"status"}).out;
    EXPECT_NE(status.find("in force: version 2026.12.08"), std::string::npos) << status;
    EXPECT_NE(status.find("bad-signature: the file does not match"), std::string::npos) << status;
    EXPECT_EQ(sitecheck({"subscribe", "--off"}).status, 0);
    EXPECT_EQ(sitecheck({"update"}).lines().at(0), "refused");
}

}  // namespace
}  // namespace sirelo::testing
