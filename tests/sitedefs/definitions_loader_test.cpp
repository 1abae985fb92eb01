#include "sitedefs/definitions_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "config/config_test_support.h"
#include "sitedefs/program_definitions.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

const SiteDefinitions& BuiltIns() {
    return BuiltInSiteDefinitions();
}

LoadedDefinitions Apply(const std::string& text) {
    return ApplyDefinitions(BuiltIns(), text, "sites.toml");
}

std::vector<std::string> Described(const LoadedDefinitions& loaded) {
    std::vector<std::string> lines;
    for (const DefinitionProblem& problem : loaded.problems)
        lines.push_back(DescribeProblem(problem));
    return lines;
}

TEST(BuiltInDefinitions, LoadCleanlyAndADumpOfThemChangesNothing) {
    const LoadedDefinitions built =
        ApplyDefinitions(BlankSiteDefinitions(), BuiltInDefinitionsText(), "built in");
    EXPECT_EQ(Described(built), std::vector<std::string>{});
    EXPECT_EQ(built.definitions, BuiltIns());
    const LoadedDefinitions dumped = Apply(std::string(BuiltInDefinitionsText()));
    EXPECT_TRUE(dumped.problems.empty());
    EXPECT_EQ(dumped.definitions, BuiltIns());
    EXPECT_EQ(BuiltIns().online[kLexiang].label, Gbk("乐享电影网"));
    EXPECT_EQ(BuiltIns().online[kLexiang].blockEnd, "</a></li> ");
}

TEST(UserDefinitions, ATableReplacesTheKeysItNamesAndKeepsTheRest) {
    const LoadedDefinitions loaded = Apply(R"(
[magnet.DSS]
page = "/s/{page}/{keyword}.html"
encoding = "gbk"
no_results = "没有找到"
delay_ms = 1000
max_in_flight = 1
[magnet.DSS.name]
end = "</td>"
steps = [ { trim = true }, { append = "!" }, { between = ["a", "b"] } ]
[magnet.DSS.size]
steps = []
[online."乐享电影网"]
block = false
delay_ms = 250
[board.stars]
separator = "、"
)");
    EXPECT_EQ(Described(loaded), std::vector<std::string>{});
    const MagnetSite& dss = loaded.definitions.magnet[kDss];
    const MagnetSite& builtIn = BuiltIns().magnet[kDss];
    EXPECT_EQ(dss.pagePath, "/s/{page}/{keyword}.html");
    EXPECT_EQ(dss.encoding, PageEncoding::Gbk);
    EXPECT_EQ(dss.noResults, Gbk("没有找到"));
    EXPECT_EQ(dss.pacing, (SitePacing{.delayMs = 1000, .maxInFlight = 1}));
    EXPECT_EQ(loaded.definitions.online[kLexiang].pacing, (SitePacing{.delayMs = 250}));
    EXPECT_FALSE(builtIn.pacing.paced());
    EXPECT_EQ(dss.base, builtIn.base);
    EXPECT_EQ(dss.fields[kFieldName].startMarker, builtIn.fields[kFieldName].startMarker);
    EXPECT_EQ(dss.fields[kFieldName].endMarker, "</td>");
    EXPECT_EQ(dss.fields[kFieldName].steps, (FinishSteps{{FinishKind::Trim, {}},
                                                         {FinishKind::Append, {"!"}},
                                                         {FinishKind::TextBetween, {"a", "b"}}}));
    EXPECT_TRUE(dss.fields[kFieldSize].steps.empty());
    EXPECT_EQ(dss.fields[kFieldLink], builtIn.fields[kFieldLink]);
    EXPECT_TRUE(loaded.definitions.online[kLexiang].blockStart.empty());
    EXPECT_EQ(loaded.definitions.board.starsSeparator, Gbk("、"));
    EXPECT_EQ(loaded.definitions.board.starsLabel, BuiltIns().board.starsLabel);
    EXPECT_EQ(loaded.definitions.magnet[kZzs], BuiltIns().magnet[kZzs]);
    EXPECT_EQ(loaded.definitions.online[k7dds], BuiltIns().online[k7dds]);
    EXPECT_EQ(FillPlaceholders(dss.pagePath, "%41", "2"), "/s/2/%41.html");
}

TEST(UserDefinitions, AnUnescapeStepFinishesHtmlReferences) {
    const LoadedDefinitions loaded =
        Apply("[magnet.DSS.name]\nsteps = [ { unescape = \"html\" }, { trim = true } ]\n");
    ASSERT_EQ(Described(loaded), std::vector<std::string>{});
    PageBudget budget;
    EXPECT_EQ(ApplyFinishing(" Tom &amp; Jerry&#33; ",
                             loaded.definitions.magnet[kDss].fields[kFieldName].steps, budget),
              "Tom & Jerry!");
}

// Each file holds one bad table beside a good one: the bad one's site stays
// built in, the good one applies, and each problem names its line and key.
struct BadFile {
    const char* name;
    const char* text;
    std::vector<std::string> problems;
};

TEST(UserDefinitions, ProblemsNameTheLineAndKeyAndNeverHalfApply) {
    const std::string good = "\n[magnet.ZZS]\npage = \"/z/{keyword}/{page}\"\n";
    const std::vector<BadFile> files = {
        {"unknown key",
         "[magnet.DSS]\nencoding = \"gbk\"\ncolour = 1\n",
         {"sites.toml:3: magnet.DSS.colour: is no known key"}},
        {"wrong type",
         "[magnet.DSS]\nencoding = \"gbk\"\npage = 5\n",
         {"sites.toml:3: magnet.DSS.page: wants a text in quotes"}},
        {"empty marker",
         "[magnet.DSS.name]\nstart = \"\"\nend = \"x\"\n",
         {"sites.toml:2: magnet.DSS.name.start: is an empty marker"}},
        {"unknown step",
         "[magnet.DSS.link]\nsteps = [ { before = \"a\" }, { cut = \"b\" } ]\n",
         {"sites.toml:2: magnet.DSS.link.steps[2]: \"cut\" is no step; a step is a table of "
          "one key: before, between, after_last, replace, prefix, append, trim or unescape"}},
        {"two keys in a step",
         "[magnet.DSS.link]\nsteps = [ { before = \"a\", prefix = \"b\" } ]\n",
         {"sites.toml:2: magnet.DSS.link.steps[1]: a step is a table of one key: before, "
          "between, after_last, replace, prefix, append, trim or unescape"}},
        {"page without keyword",
         "[magnet.DSS]\nencoding = \"gbk\"\npage = \"/list/{page}\"\n",
         {"sites.toml:3: magnet.DSS.page: has no {keyword}"}},
        {"negative delay",
         "[magnet.DSS]\nencoding = \"gbk\"\ndelay_ms = -5\n",
         {"sites.toml:3: magnet.DSS.delay_ms: wants a whole number from 0 to 60000"}},
        {"in flight as text",
         "[magnet.DSS]\nmax_in_flight = \"1\"\n",
         {"sites.toml:2: magnet.DSS.max_in_flight: wants a whole number from 0 to 100"}},
        {"bad encoding",
         "[magnet.DSS]\nencoding = \"latin1\"\n",
         {"sites.toml:2: magnet.DSS.encoding: wants \"utf-8\" or \"gbk\""}},
        {"a character GBK lacks",
         "[magnet.DSS.heat]\nstart = \"\xF0\x9F\x8E\xAC\"\n",
         {"sites.toml:2: magnet.DSS.heat.start: holds a character that GBK lacks"}},
        {"unescape but not html",
         "[magnet.DSS.name]\nsteps = [ { unescape = \"xml\" } ]\n",
         {"sites.toml:2: magnet.DSS.name.steps[1]: wants unescape = \"html\""}},
        {"replace without pairs",
         "[magnet.DSS.size]\nsteps = [ { replace = [\"?\", \" \"] } ]\n",
         {"sites.toml:2: magnet.DSS.size.steps[1]: wants two texts: [\"...\", \"...\"]"}},
        {"bad pattern",
         "[online.\"乐享电影网\"]\nhit = \"(href\"\n",
         {"sites.toml:2: online.\"乐享电影网\".hit: is not a regular expression that compiles"}},
        {"pattern matching empty text",
         "[board.date]\npattern = \"a??\"\n",
         {"sites.toml:2: board.date.pattern: can match empty text, which would match everywhere"}},
        {"a seventh site",
         "[magnet.Btdigg]\npage = \"/{keyword}\"\n",
         {"sites.toml:1: magnet.Btdigg: is no such site; the sites are Btrabbit, ZZS, DSS, "
          "Btbook"}},
        {"bad base",
         "[board]\nbase = \"maoyan.com\"\n",
         {"sites.toml:2: board.base: wants http:// or https://, a host and an optional port, and "
          "nothing else"}},
        {"base with a user part",
         "[magnet.DSS]\nbase = \"http://user@127.0.0.1\"\n",
         {"sites.toml:2: magnet.DSS.base: wants http:// or https://, a host and an optional port, "
          "and nothing else"}},
    };
    for (const BadFile& file : files) {
        SCOPED_TRACE(file.name);
        const LoadedDefinitions loaded = Apply(file.text + good);
        EXPECT_EQ(Described(loaded), file.problems);
        EXPECT_EQ(loaded.definitions.magnet[kDss], BuiltIns().magnet[kDss]);
        EXPECT_EQ(loaded.definitions.online, BuiltIns().online);
        EXPECT_EQ(loaded.definitions.board, BuiltIns().board);
        EXPECT_EQ(loaded.definitions.magnet[kZzs].pagePath, "/z/{keyword}/{page}");
    }
}

TEST(UserDefinitions, AFileThatDoesNotParseChangesNothing) {
    const LoadedDefinitions loaded = Apply("[magnet.ZZS]\npage = \"/z/{keyword}\"\n[magnet.DSS\n");
    ASSERT_EQ(loaded.problems.size(), 1u);
    EXPECT_EQ(loaded.problems[0].line, 3);
    EXPECT_EQ(loaded.definitions, BuiltIns());
    EXPECT_EQ(Apply(std::string("page = \"\xFF\"\n")).definitions, BuiltIns());
    // Shapes the parser cannot start a key on, or would recurse into until its
    // stack runs out; a nested array line is no header.
    const std::string header = "a table name starts with a letter, a digit, _, - or a quote";
    const std::string longKey = "a key or table name of more than 64 dotted parts";
    auto dotted = [](int parts, const std::string& part) {
        std::string key = part;
        for (int i = 1; i < parts; ++i)
            key += "." + part;
        return key;
    };
    const struct {
        std::string text;
        long line;
        std::string words;
    } shapes[] = {
        {"[&]\n", 1, header},
        {"x = 1\n [[=a]]\n", 2, header},
        {"[[[a]]]\n", 1, header},
        {"s = \"\"\"\n\"\"\"\n[ \x7F]\n", 3, header},
        {dotted(150'000, "a") + " = 1\n", 1, longKey},
        {"\n[" + dotted(200'000, "a") + "]\n", 2, longKey},
        {"[[" + dotted(65, "'.'") + "]]\n", 1, longKey},
        {"x = { " + dotted(65, "\"b\"") + " = 1 }\n", 1, longKey},
        {"x = " + std::string(65, '[') + std::string(65, ']') + "\n", 1,
         "values nested more than 64 deep"},
    };
    for (const auto& shape : shapes) {
        const LoadedDefinitions loaded = Apply(shape.text);
        ASSERT_EQ(loaded.problems.size(), 1u) << shape.text.substr(0, 40);
        EXPECT_EQ(loaded.problems[0].line, shape.line) << shape.text.substr(0, 40);
        EXPECT_EQ(loaded.problems[0].words, shape.words) << shape.text.substr(0, 40);
    }
    EXPECT_EQ(Apply("[" + dotted(64, "a") + "]\n").problems.at(0).words,
              "is no part of a "
              "definitions file; the parts are magnet, online and board");
    EXPECT_TRUE(Apply("[magnet.DSS.size]\nsteps = [\n{ replace = [\n[\"?\", \" \"],\n] },\n]\n")
                    .problems.empty());
    // toml++ itself assumes this cannot happen; compiled in, it says so instead.
    EXPECT_EQ(Described(Apply("s=[{t=''},}")),
              std::vector<std::string>{"sites.toml: is not valid TOML"});
    EXPECT_EQ(Described(Apply("\n[board.stars]\nseparator = \"\xEF\xB9\x90\"\n")),
              std::vector<std::string>{"sites.toml:3: holds U+FE50 as it is, which the TOML reader "
                                       "cannot take; write it as \\uFE50 inside quotes"});
    EXPECT_TRUE(Apply("[board.stars]\nseparator = \"\\uFE50\"\n").problems.empty());
    const LoadedDefinitions zero = Apply(std::string("\n[\0magnet.ZZS.size]\n", 20));
    EXPECT_EQ(Described(zero), std::vector<std::string>{"sites.toml:2: holds a zero byte"});
}

TEST(UserDefinitions, EveryRawCharacterIsNamedAndAFileNotInUtf8SaysSo) {
    const std::string raw = "which the TOML reader cannot take; write it as \\u";
    EXPECT_EQ(Described(Apply("# \xC2\xB7\n\n[board.stars]\nlabel = \"\xC3\x97\xEF\xB9\x8F\"\n")),
              (std::vector<std::string>{
                  "sites.toml:1: holds U+00B7 as it is, " + raw + "00B7 inside quotes",
                  "sites.toml:4: holds U+00D7 as it is, " + raw + "00D7 inside quotes",
                  "sites.toml:4: holds U+FE4F as it is, " + raw + "FE4F inside quotes"}));
    const LoadedDefinitions gbk = Apply("[magnet.DSS.name]\n" + Gbk("start = \"名称\"\n"));
    EXPECT_EQ(Described(gbk),
              std::vector<std::string>{"sites.toml:2: is not UTF-8: this line is the first that is "
                                       "not (saved as GBK?); save the file as UTF-8"});
    EXPECT_EQ(gbk.definitions, BuiltIns());
}

TEST(UserDefinitions, WarningsAndTheKeysSetComeApartFromProblems) {
    const LoadedDefinitions loaded = Apply(
        "[magnet.DSS]\npage = \"/s/{keyword}\"\n[magnet.DSS.name]\nend = \"</td>\"\n"
        "[magnet.ZZS]\npage = \"/z\"\n");
    EXPECT_EQ(loaded.definitions.magnet[kDss].pagePath, "/s/{keyword}");
    ASSERT_EQ(loaded.warnings.size(), 1u);
    EXPECT_EQ(
        DescribeProblem(loaded.warnings[0]),
        "sites.toml:2: magnet.DSS.page: has no {page}, so every result page is the first one");
    EXPECT_EQ(Described(loaded).size(), 1u) << "ZZS's page has no {keyword}";
    EXPECT_EQ(loaded.fileKeys,
              (std::set<std::string>{"magnet.DSS.page", "magnet.DSS.name", "magnet.DSS.name.end"}));
}

TEST(DefinitionsFile, OnlyARegularFileOfSensibleSizeIsRead) {
    testing::ScopedConfigHome home;
    const std::string folder = home.root();
    EXPECT_TRUE(LoadDefinitionsFile(folder + "/none.toml", false).problems.empty());
    EXPECT_EQ(LoadDefinitionsFile(folder + "/none.toml", true).problems.size(), 1u);

    const std::string fifo = folder + "/fifo.toml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const LoadedDefinitions fromFifo = LoadDefinitionsFile(fifo, false);
    ASSERT_EQ(fromFifo.problems.size(), 1u);
    EXPECT_EQ(fromFifo.problems[0].words, "is no regular file");

    const std::string huge = folder + "/huge.toml";
    std::ofstream(huge) << "# " << std::string(2 << 20, 'x') << "\n";
    const LoadedDefinitions fromHuge = LoadDefinitionsFile(huge, false);
    ASSERT_EQ(fromHuge.problems.size(), 1u);
    EXPECT_EQ(fromHuge.problems[0].words, "is larger than a megabyte");
    EXPECT_EQ(fromHuge.definitions, BuiltIns());
}

}  // namespace
}  // namespace sirelo
