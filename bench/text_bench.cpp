// The text toolkit on a realistic 200 KB result page: mostly ASCII HTML with
// Chinese text, as a magnet site serves it. Each measurement has its baseline
// beside it in the same run: std::string_view::find for FindText, a bare iconv
// loop for Utf8ToGbk, the cut written out by hand for the cut by the site's
// loaded definition.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <string>

#include "sitedefs/program_definitions.h"
#include "sites/magnet_site.h"
#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {
namespace {

std::string ResultPageUtf8() {
    std::string page =
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>搜索结果</title>"
        "<link rel=\"stylesheet\" href=\"/static/site.css\"></head><body>\n";
    for (int i = 0; page.size() < 200'000; ++i) {
        const std::string n = std::to_string(i);
        page +=
            "<div class=\"search-item\"><div class=\"item-title\"><h3><a title=\"流浪地球 "
            "The Wandering Earth " +
            n + " 国语中字 1080p\"  href=\"/hash/" + n +
            ".html\" target=\"_blank\">流浪地球 <b>The Wandering Earth</b> " + n +
            "</a></h3></div>\n<div class=\"item-bar\">--<a href=\"magnet:?xt=urn:btih:"
            "0123456789abcdef0123456789abcdef0123" +
            n +
            "&amp;dn=The.Wandering.Earth\" "
            "class=\"download\">磁力链接</a><span>文件大小：<b class=\"cpill\">2.3 GB</b>"
            "</span><span>下载热度：<b>" +
            n + "</b></span><span>创建时间：<b>2019-02-1" + n.substr(0, 1) +
            "</b></span></div></div>\n";
    }
    return page + "</body></html>\n";
}

const std::string& Utf8Page() {
    static const std::string page = ResultPageUtf8();
    return page;
}

const std::string& GbkPage() {
    static const std::string page = Utf8ToGbk(Utf8Page());
    return page;
}

void BM_FindText(benchmark::State& state) {
    const std::string& page = GbkPage();
    const std::string marker = Gbk("下载热度：<b>");
    for (auto _ : state) {
        int hits = 0;
        for (int at = FindText(page, marker); at > 0; at = FindText(page, marker, at + 1))
            ++hits;
        benchmark::DoNotOptimize(hits);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_FindText);

void BM_StringViewFind(benchmark::State& state) {
    const std::string_view page = GbkPage();
    const std::string marker = Gbk("下载热度：<b>");
    for (auto _ : state) {
        int hits = 0;
        for (auto at = page.find(marker); at != page.npos; at = page.find(marker, at + 1))
            ++hits;
        benchmark::DoNotOptimize(hits);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_StringViewFind);

void BM_Utf8ToGbk(benchmark::State& state) {
    const std::string& page = Utf8Page();
    for (auto _ : state)
        benchmark::DoNotOptimize(Utf8ToGbk(page));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_Utf8ToGbk);

void BM_BareIconv(benchmark::State& state) {
    const std::string& page = Utf8Page();
    iconv_t cd = iconv_open("CP936", "UTF-8");
    std::string out(page.size() * 2, '\0');
    for (auto _ : state) {
        char* in = const_cast<char*>(page.data());
        std::size_t inLeft = page.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0 &&
               iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            ++in, --inLeft;  // skip what it cannot convert, as a real caller must
            *outPtr++ = '?', --outLeft;
        }
        benchmark::DoNotOptimize(outPtr);
    }
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_BareIconv);

// The whole cut of one page as a magnet worker makes it: conversion, five
// marker cuts and the finishing steps of every item.
void BM_CutWholePage(benchmark::State& state) {
    const std::string& page = Utf8Page();
    const std::string size = Gbk("文件大小："), heat = Gbk("下载热度：<b>"),
                      created = Gbk("创建时间：<b>");
    int items = 0;
    for (auto _ : state) {
        const std::string text = PageText(page);
        const TextList names = ExtractAllBetween(text, "<a title=\"", "\"  href=");
        const TextList links = ExtractAllBetween(text, "--<a href=\"", "\" class=");
        const TextList sizes = ExtractAllBetween(text, size, "</span>");
        const TextList heats = ExtractAllBetween(text, heat, "</b></span>");
        const TextList dates = ExtractAllBetween(text, created, "</b></span>");
        items = static_cast<int>(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            benchmark::DoNotOptimize(TextBefore(links[i], "&amp;dn="));
            benchmark::DoNotOptimize(
                ReplacePairs(TextBetween(sizes[i], ">", "</b>"), {{"?", " "}}));
            benchmark::DoNotOptimize(heats[i].size() + dates[i].size());
        }
    }
    state.counters["items"] = items;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_CutWholePage)->Unit(benchmark::kMicrosecond);

// The same cut as the worker makes it, from Btrabbit's definition as data/sites.toml gives it.
void BM_CutWholePageByDefinition(benchmark::State& state) {
    const std::string& page = Utf8Page();
    const MagnetSite& site = BuiltInSiteDefinitions().magnet[kBtrabbit];
    int items = 0;
    for (auto _ : state) {
        const std::vector<MagnetResult> results =
            CutMagnetPage(site, SitePageText(page, site.encoding)).results;
        items = static_cast<int>(results.size());
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["items"] = items;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_CutWholePageByDefinition)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sirelo

BENCHMARK_MAIN();
