#include "BrowserImportDialog.h"

#include "BookmarkTexts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

BrowserImportDialog::BrowserImportDialog(QList<BrowserProfile> profiles, QWidget* owner)
    : QDialog(owner), m_profiles(std::move(profiles))
{
    setObjectName(QStringLiteral("BrowserImportDialog"));
    setWindowTitle(BookmarkTexts::BrowserImportCaption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(BookmarkTexts::ChooseBrowsers, this));
    列表框_浏览器 = new QListWidget(this);
    列表框_浏览器->setObjectName(QStringLiteral("列表框_浏览器"));
    for (const BrowserProfile& profile : m_profiles) {
        const QString name = profile.name == profile.browser
                                 ? profile.browser
                                 : profile.browser + QStringLiteral(" – ") + profile.name;
        auto* item = new QListWidgetItem(BookmarkTexts::ProfileEntry.arg(name).arg(profile.bookmarkCount),
                                         列表框_浏览器);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        item->setToolTip(profile.path);
    }
    layout->addWidget(列表框_浏览器);
    auto* buttons = new QDialogButtonBox(this);
    按钮_导入 = buttons->addButton(BookmarkTexts::ImportButton, QDialogButtonBox::AcceptRole);
    按钮_导入->setObjectName(QStringLiteral("按钮_导入"));
    按钮_导入->setDefault(true);
    按钮_取消 = buttons->addButton(BookmarkTexts::CancelButton, QDialogButtonBox::RejectRole);
    按钮_取消->setObjectName(QStringLiteral("按钮_取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Nothing ticked, nothing to import.
    connect(列表框_浏览器, &QListWidget::itemChanged, this,
            [this] { 按钮_导入->setEnabled(!ChosenProfiles().isEmpty()); });
    layout->addWidget(buttons);
    resize(420, 260);
}

QList<BrowserProfile> BrowserImportDialog::ChosenProfiles() const
{
    QList<BrowserProfile> chosen;
    for (int row = 0; row < 列表框_浏览器->count(); ++row) {
        if (列表框_浏览器->item(row)->checkState() == Qt::Checked)
            chosen.append(m_profiles[row]);
    }
    return chosen;
}
