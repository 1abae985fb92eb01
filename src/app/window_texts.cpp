#include "app/window_texts.h"

#include <initializer_list>

namespace sirelo {
namespace {

struct Release {
    const char* heading;
    std::initializer_list<const char*> changes;
};

const std::initializer_list<Release> kReleases{
    {"Sirelo 1.1.4（2019.2.24）",
     {"新增 在线播放站点：7DDS 、乐享电影网", "状态条新增可在线播放视频数量",
      "去除在线播放站点：百事影院", "新增支付宝扫码领红包", "新增打赏赞助窗口和子夹"}},
    {"Sirelo 1.1.3（2019.2.23）",
     {"新增 Btbook 磁力站点", "新增 精准搜索，只留下名称含关键词的资源",
      "修复 站点改版后搜不到结果的问题"}},
    {"Sirelo 1.1.2（2019.2.17）",
     {"新增 过滤重复的磁力链接", "状态条新增过滤链接、过滤资源的数量"}},
    {"Sirelo 1.1.1（2019.2.16）",
     {"新增 保证显示：列表跟随最新的结果", "设置改动后立即保存到配置文件"}},
    {"Sirelo 1.1.0（2019.2.15）",
     {"新增 院线热映子夹，点击海报即可搜索", "新增 在线播放站点：百事影院", "新增 设置中心子夹"}},
    {"Sirelo 1.0.3（2018.1.20）", {"新增 暂停、继续和停止搜索", "状态条新增搜索耗时"}},
    {"Sirelo 1.0.2（2018.1.19）", {"新增 多线程搜索，可设置线程数量和搜索间隔"}},
    {"Sirelo 1.0.1（2018.1.18）", {"新增 DSS 磁力站点", "新增 右键菜单复制磁力链接"}},
    {"Sirelo 1.0.0（ 2018.1.16）",
     {"首个版本：搜索 Btrabbit、ZZS 两个磁力站点", "双击结果即可复制磁力链接"}},
};

}  // namespace

QStringList SponsorLines() {
    return {QStringLiteral("我们一起来让这个世界有趣一点……"),
            QStringLiteral("听说，打赏我的人最后都找到了真爱。"),
            QStringLiteral("听说打赏我的人，都进了福布斯排行榜"),
            QStringLiteral("打赏的都是天使。"), QStringLiteral("打赏了的人都会变美~")};
}

QString SponsorPageText() {
    return QString(6, u'\n') + SponsorLines().join(u"\n\n");
}

QString ReleaseNotesText() {
    const QString lineEnd = QStringLiteral("\r\n\r\n");
    QString text = QStringLiteral(" ") + lineEnd;
    for (const Release& release : kReleases) {
        text += u' ' + QString::fromUtf8(release.heading) + lineEnd;
        int number = 0;
        for (const char* change : release.changes) {
            text += QStringLiteral(" %1：").arg(++number) + QString::fromUtf8(change) + lineEnd;
        }
    }
    return text;
}

}  // namespace sirelo
