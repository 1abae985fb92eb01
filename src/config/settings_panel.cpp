#include "config/settings_panel.h"

#include <QGroupBox>
#include <QLabel>
#include <QRect>
#include <QStyle>
#include <QStyleOptionButton>
#include <utility>

#include "config/app_config.h"
#include "config/settings_rules.h"
#include "text/codepage.h"
#include "widgets/tab_page.h"

namespace sirelo {
namespace {

struct LabelPlace {
    const char* name;
    const char* text;
    QRect place;
};

const LabelPlace kLabels[] = {
    {"透明标签4", "搜索页数：", QRect(20, 30, 60, 25)},
    {"透明标签5", "线程数量：", QRect(210, 30, 60, 25)},
    {"透明标签1", "搜索间隔：", QRect(420, 30, 60, 25)},
    {"透明标签6", "毫秒", QRect(630, 30, 50, 25)},
    {"透明标签2", "显示设置：", QRect(20, 70, 60, 25)},
    {"透明标签3", "磁力站点：", QRect(20, 110, 64, 25)},
    {"透明标签7", "在线播放：", QRect(20, 190, 60, 25)},
};

struct EditPlace {
    NumberBox box;
    QRect place;
};

const EditPlace kEdits[] = {
    {NumberBox::PageCount, QRect(90, 30, 100, 25)},
    {NumberBox::ThreadCount, QRect(280, 30, 120, 25)},
    {NumberBox::Interval, QRect(490, 30, 120, 25)},
};

struct CheckBoxPlace {
    FlagBox box;
    const char* caption;
    QRect place;
};

const CheckBoxPlace kCheckBoxes[] = {
    {FlagBox::ExactSearch, " 精准搜索（搜索结果只显示包含关键词的资源）", QRect(90, 70, 300, 25)},
    {FlagBox::FilterLinks, " 过滤链接（去除重复磁力链接）", QRect(400, 70, 200, 25)},
    {FlagBox::KeepNewestShown, " 保证显示（保持搜索结果列表一直在尾部）", QRect(620, 70, 300, 24)},
    {FlagBox::OneRowPerTorrent, " 种子去重（同一种子只列一次）", QRect(930, 70, 200, 25)},
};

// The sites' checkboxes stand in rows of ten, 100 pixels apart from x = 90:
// the magnet sites' from y = 110, the online sites' from y = 190, 30 pixels a row.
QRect SitePlace(const SiteSwitch& site) {
    const int top = site.kind == SiteKind::Magnet ? 110 : 190;
    return QRect(90 + 100 * (site.index % 10), top + 30 * (site.index / 10), 100, 25);
}

// The caption cut with "…" where the box's width cannot hold it.
QString CaptionToFit(const QCheckBox& box, const QString& caption) {
    QStyleOptionButton option;
    option.initFrom(&box);
    const int indicator = box.style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, &box) +
                          box.style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, &box);
    return box.fontMetrics().elidedText(caption, Qt::ElideRight, box.width() - indicator);
}

std::size_t IndexOf(NumberBox box) {
    return static_cast<std::size_t>(box);
}
std::size_t IndexOf(FlagBox box) {
    return static_cast<std::size_t>(box);
}

}  // namespace

SettingsPanel::SettingsPanel(LiveSettings& live, std::vector<SiteSwitch> sites, QWidget* parent)
    : QWidget(parent), live_(live), sites_(std::move(sites)) {
    auto* 分组框1 = new QGroupBox(this);
    分组框1->setObjectName(QStringLiteral("分组框1"));
    分组框1->setGeometry(0, PageTop(20), 1160, 406);

    for (const LabelPlace& label : kLabels) {
        auto* widget = new QLabel(QString::fromUtf8(label.text), 分组框1);
        widget->setObjectName(QString::fromUtf8(label.name));
        widget->setGeometry(label.place);
    }

    for (const EditPlace& place : kEdits) {
        const NumberSetting& setting = SettingOf(place.box);
        auto* box = new NumberEdit(分组框1);
        box->setObjectName(QString::fromUtf8(setting.control));
        box->setGeometry(place.place);
        box->setText(QString::fromUtf8(setting.formDefault));
        edits_[IndexOf(place.box)] = box;
        NumberOf(live_, place.box) = textToInteger(setting.formDefault);
        connect(box, &QLineEdit::textChanged, this, [this, which = place.box] {
            onNumberChanged(*this, which, TheAppConfig(), live_);
        });
    }

    for (const CheckBoxPlace& place : kCheckBoxes) {
        const FlagSetting& setting = SettingOf(place.box);
        auto* box = new QCheckBox(QString::fromUtf8(place.caption), 分组框1);
        box->setObjectName(QString::fromUtf8(setting.control));
        box->setGeometry(place.place);
        box->setChecked(setting.formDefault);
        checkBoxes_[IndexOf(place.box)] = box;
        FlagOf(live_, place.box) = setting.formDefault;
        // toggled also follows states set by the program; clicked only real clicks.
        connect(box, &QCheckBox::toggled, this,
                [this, which = place.box](bool checked) { FlagOf(live_, which) = checked; });
        connect(box, &QCheckBox::clicked, this,
                [this, which = place.box] { onFlagClicked(*this, which, TheAppConfig()); });
    }

    for (const SiteSwitch& site : sites_) {
        const QString caption = QString::fromStdString(site.caption);
        auto* box = new QCheckBox(caption, 分组框1);
        box->setObjectName(QString::fromStdString(site.control));
        box->setGeometry(SitePlace(site));
        const QString shown = site.builtIn ? caption : CaptionToFit(*box, caption);
        if (shown != caption) {
            box->setText(shown);
            box->setToolTip(QString::fromStdString(site.label));
        }
        box->setChecked(site.formDefault);
        // A site that may not be switched takes its state from the file alone.
        box->setEnabled(site.clickable);
        siteBoxes_.push_back(box);
        SiteFlagOf(live_, site) = site.formDefault;
        connect(box, &QCheckBox::toggled, this,
                [this, &site](bool checked) { SiteFlagOf(live_, site) = checked; });
        connect(box, &QCheckBox::clicked, this,
                [this, &site] { onSiteClicked(*this, site, TheAppConfig()); });
    }
}

void SettingsPanel::loadSettings() {
    TheAppConfig().loadSettings(*this);
}

void SettingsPanel::setSiteToolTip(SiteKind kind, int index, const QString& tip) {
    if (QCheckBox* box = siteBox(kind, index)) box->setToolTip(tip);
}

std::string SettingsPanel::numberText(NumberBox box) const {
    return Utf8ToGbk(edit(box)->text().toStdString());
}

void SettingsPanel::setNumberText(NumberBox box, const std::string& text) {
    edit(box)->setText(QString::fromStdString(GbkToUtf8(text)));
}

bool SettingsPanel::flagChecked(FlagBox box) const {
    return checkBox(box)->isChecked();
}

void SettingsPanel::setFlagChecked(FlagBox box, bool checked) {
    checkBox(box)->setChecked(checked);
}

bool SettingsPanel::siteChecked(const SiteSwitch& site) const {
    const QCheckBox* box = siteBox(site.kind, site.index);
    return box && box->isChecked();
}

void SettingsPanel::setSiteChecked(const SiteSwitch& site, bool checked) {
    if (QCheckBox* box = siteBox(site.kind, site.index)) box->setChecked(checked);
}

NumberEdit* SettingsPanel::edit(NumberBox box) const {
    return edits_[IndexOf(box)];
}

QCheckBox* SettingsPanel::checkBox(FlagBox box) const {
    return checkBoxes_[IndexOf(box)];
}

QCheckBox* SettingsPanel::siteBox(SiteKind kind, int index) const {
    for (std::size_t i = 0; i < sites_.size(); ++i) {
        if (sites_[i].kind == kind && sites_[i].index == index) return siteBoxes_[i];
    }
    return nullptr;
}

}  // namespace sirelo
