// The four magnet sites. Markers are written here as UTF-8 and held as GBK;
// mind the spaces inside them, which the sites' pages really contain.

#include "sites/magnet_site.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

FieldRule Rule(std::string_view startMarker, std::string_view endMarker, FinishSteps steps = {}) {
    return {Gbk(startMarker), Gbk(endMarker), std::move(steps)};
}

std::array<MagnetSite, kMagnetSiteCount> BuildMagnetSites() {
    return {{
        {kBtrabbit,
         "Btrabbit",
         "/search/",
         "/default-",
         ".html",
         {{
             Rule("<a title=\"", "\"  href="),
             Rule("--<a href=\"", "\" class=", {Before("&amp;dn=")}),
             Rule("文件大小：", "</span>", {Between(">", "</b>"), Replace({"?", " "})}),
             Rule("下载热度：<b>", "</b></span>"),
             Rule("创建时间：<b>", "</b></span>"),
         }}},
        {kZzs,
         "ZZS",
         "/list/",
         "/rel/",
         "",
         {{
             Rule("/info", "</h4></a>",
                  {AfterLast("\">"), Replace({"<b>", "", "</b>", "", " ", ""})}),
             Rule("<a href=\"magnet", "\"><span", {Prefix("magnet")}),
             Rule("大小：<strong>", "</strong></td>"),
             Rule("热度：<strong>", "</strong></td>"),
             Rule("创建日期：<strong>", "</strong></td>"),
         }}},
        {kDss,
         "DSS",
         "/list/",
         "/",
         "",
         {{
             Rule("/torrent", "</a></div>", {AfterLast("\">"), Replace({"</span>", ""})}),
             Rule("href=\"magnet", "\">[磁力链接]", {Prefix("magnet")}),
             Rule("大小:<span> ", "</span>", {Replace({"?", " "})}),
             Rule("访问热度:<span> ", " </span>"),
             Rule("创建日期:<span> ", " </span>"),
         }}},
        {kBtbook,
         "Btbook",
         "/sou/",
         "/time-",
         ".html",
         {{
             Rule("<h3><a title=\"", "\" href="),
             Rule("href=\"magnet", "\" class=", {Before("&amp;dn="), Prefix("magnet")}),
             Rule("文件大小：", "</b></span>", {AfterLast("\">"), Replace({"?", " "})}),
             Rule("下载热度：", "</b></span>", {AfterLast("\">")}),
             Rule("blue-pill\"><b>", "</b></b></span>"),
         }}},
    }};
}

}  // namespace

const std::array<MagnetSite, kMagnetSiteCount>& MagnetSites() {
    static const std::array<MagnetSite, kMagnetSiteCount> sites = BuildMagnetSites();
    return sites;
}

}  // namespace sirelo
