#include "AccountDialog.h"

#include "BookmarkListModel.h"
#include "BookmarkTexts.h"
#include "MainWindow.h"
#include "PasswordAccess.h"
#include "Placement.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "StorageNames.h"
#include "TextNumber.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>

namespace {

// A field with its label just before it.
template <typename Widget>
Widget* Field(QWidget* parent, Widget* field, const QString& name, const QString& labelName,
              const QString& caption, int left, int top, int width)
{
    auto* label = Place(new QLabel(caption, parent), labelName, left - 66, top, 64, 20);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return Place(field, name, left, top, width, 20);
}

QComboBox* ChoiceBox(QWidget* parent, const QStringList& entries)
{
    auto* box = new QComboBox(parent);
    box->addItems(entries);
    return box;
}

// The stored digit is the entry's position; a digit outside the list chooses nothing.
void ChooseType(QComboBox* box, const QString& stored)
{
    const int position = TextToInteger(stored);
    box->setCurrentIndex(position >= 0 && position < box->count() ? position : -1);
}

QString TypeDigit(const QComboBox* box)
{
    return box->currentText().left(1);
}

} // namespace

AccountDialog::AccountDialog(MainWindow& mainWindow) : QDialog(&mainWindow), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("AccountDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(BookmarkTexts::AccountCaption);
    // The designed height counted the title bar; the client ends a margin below the buttons.
    setFixedSize(495, 216);
    CreateControls();

    QStringList categories;
    mainWindow.Globals().Database->ReadColumn(categories, Tables::Categories, Columns::CategoryName);
    类型框->addItems(categories);
    类型框->setCurrentIndex(-1);
    Refill();
}

void AccountDialog::CreateControls()
{
    namespace T = BookmarkTexts;
    外形框1 = Place(new QFrame(this), QStringLiteral("外形框1"), 7, 8, 474, 144);
    外形框1->setFrameShape(QFrame::StyledPanel);
    QWidget* box = 外形框1;
    站名框 = Field(box, new QLineEdit(box), QStringLiteral("站名框"), QStringLiteral("标签9"), T::NameField,
                   44, 6, 123);
    地址框 = Field(box, new QLineEdit(box), QStringLiteral("地址框"), QStringLiteral("标签6"),
                   T::SiteAddressField, 236, 7, 230);
    类型框 = Field(box, new QComboBox(box), QStringLiteral("类型框"), QStringLiteral("标签11"),
                   T::CategoryLabel, 44, 30, 112);
    类型框->setEditable(true);
    类型框->setInsertPolicy(QComboBox::NoInsert);
    备注框 = Field(box, new QLineEdit(box), QStringLiteral("备注框"), QStringLiteral("标签12"),
                   T::RemarkLabel, 200, 30, 266);
    账号框 = Field(box, new QLineEdit(box), QStringLiteral("账号框"), QStringLiteral("标签1"),
                   T::AccountField, 68, 67, 90);
    密码框 = Field(box, new QLineEdit(box), QStringLiteral("密码框"), QStringLiteral("标签13"),
                   T::PasswordField, 228, 67, 90);
    密码框->setEchoMode(QLineEdit::Password);
    显示密码 = Place(new QToolButton(box), QStringLiteral("显示密码"), 320, 67, 40, 20);
    显示密码->setText(T::ShowPassword);
    显示密码->setCheckable(true);
    connect(显示密码, &QToolButton::toggled, this,
            [this](bool shown) { 密码框->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password); });
    账号标识框 = Field(box, new QLineEdit(box), QStringLiteral("账号标识框"), QStringLiteral("标签3"),
                       T::AccountIdField, 68, 90, 90);
    密码标识框 = Field(box, new QLineEdit(box), QStringLiteral("密码标识框"), QStringLiteral("标签4"),
                       T::PasswordIdField, 228, 90, 90);
    标识类型框 = Field(box, ChoiceBox(box, T::IdTypes), QStringLiteral("标识类型框"), QStringLiteral("标签5"),
                       T::IdTypeField, 387, 90, 80);
    按钮标识框 = Field(box, new QLineEdit(box), QStringLiteral("按钮标识框"), QStringLiteral("标签8"),
                       T::ButtonIdField, 68, 113, 90);
    标识类型框1 = Field(box, ChoiceBox(box, T::IdTypes), QStringLiteral("标识类型框1"),
                        QStringLiteral("标签7"), T::IdTypeField, 228, 113, 90);
    控件类型框 = Field(box, ChoiceBox(box, {T::ButtonControl, T::LinkControl}), QStringLiteral("控件类型框"),
                       QStringLiteral("标签10"), T::ControlTypeField, 387, 113, 80);

    按钮3 = Place(new QPushButton(T::AddButton, this), QStringLiteral("按钮3"), 152, 172, 80, 32);
    按钮1 = Place(new QPushButton(T::ModifyButton, this), QStringLiteral("按钮1"), 263, 172, 80, 32);
    connect(按钮3, &QPushButton::clicked, this, &AccountDialog::Add);
    connect(按钮1, &QPushButton::clicked, this, &AccountDialog::Modify);

    // Tab goes as the eye reads the layout, whatever order the controls were made in.
    const QList<QWidget*> order{站名框,     地址框,      类型框,     备注框,     账号框,
                                密码框,     显示密码,    账号标识框, 密码标识框, 标识类型框,
                                按钮标识框, 标识类型框1, 控件类型框, 按钮3,      按钮1};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void AccountDialog::Refill()
{
    const int row = m_mainWindow.CurrentRow();
    if (row < 0)
        return;
    RecordTable& database = *m_mainWindow.Globals().Database;
    database.Query(Tables::Bookmarks, QStringLiteral("*"), QStringLiteral("地址=?"),
                   {m_mainWindow.Bookmarks().Cell(row, BookmarkListModel::AddressColumn)});
    // A record changed behind the list reads as empty texts and empties the boxes.
    站名框->setText(database.ReadText(Columns::Name));
    地址框->setText(database.ReadText(Columns::Address));
    类型框->setCurrentText(database.ReadText(Columns::Category));
    备注框->setText(database.ReadText(Columns::Remark));
    账号框->setText(database.ReadText(Columns::Account));
    const QString storedPassword = database.ReadText(Columns::Password);
    账号标识框->setText(database.ReadText(Columns::AccountId));
    密码标识框->setText(database.ReadText(Columns::PasswordId));
    ChooseType(标识类型框, database.ReadText(Columns::IdType));
    按钮标识框->setText(database.ReadText(Columns::ButtonId));
    ChooseType(标识类型框1, database.ReadText(Columns::ButtonIdType));
    控件类型框->setCurrentIndex(控件类型框->findText(database.ReadText(Columns::ControlType)));
    database.CloseRecordSet();
    ShowPassword(storedPassword);
}

void AccountDialog::ShowPassword(const QString& stored)
{
    PasswordAccess access(*m_mainWindow.Globals().Vault, m_mainWindow.Services(), this);
    // The keyring is waited for with the windows live: this dialog, closed already, may go meanwhile.
    const QPointer<AccountDialog> alive(this);
    const std::optional<QString> password =
        access.Reveal(stored, m_unlockRefused ? PasswordAccess::Asking::Quiet : PasswordAccess::Asking::Ask);
    if (!alive)
        return;
    m_unlockRefused = m_unlockRefused || !password;
    m_passwordUnopened = !password;
    密码框->setText(password.value_or(QString()));
    密码框->setEnabled(password.has_value());
    密码框->setPlaceholderText(password ? QString() : BookmarkTexts::PasswordLocked);
}

BookmarkRecord AccountDialog::Entered() const
{
    return {站名框->text(),        地址框->text(),     类型框->currentText(),  备注框->text(),
            账号框->text(),        密码框->text(),     账号标识框->text(),     密码标识框->text(),
            TypeDigit(标识类型框), 按钮标识框->text(), TypeDigit(标识类型框1), 控件类型框->currentText()};
}

void AccountDialog::Add()
{
    RuntimeServices& services = m_mainWindow.Services();
    const BookmarkRecord bookmark = Entered();
    if (bookmark.name.isEmpty() || bookmark.address.isEmpty() || bookmark.category.isEmpty()) {
        services.ShowMessage(BookmarkTexts::MissingFields, MessageStyle::Ok, {}, this);
        return;
    }
    if (bookmark.account.isEmpty() || bookmark.password.isEmpty()) {
        services.ShowMessage(BookmarkTexts::AccountAndPasswordRequired, MessageStyle::Ok, {}, this);
        return;
    }
    if (m_mainWindow.Globals().Database->Exists(Tables::Bookmarks, Columns::Address, QStringLiteral("地址=?"),
                                                {bookmark.address})) {
        services.ShowMessage(BookmarkTexts::AlreadyBookmarked, MessageStyle::Ok | MessageStyle::ErrorIcon,
                             BookmarkTexts::ErrorTitle, this);
        return;
    }
    m_mainWindow.AddBookmark(bookmark);
}

void AccountDialog::Modify()
{
    RuntimeServices& services = m_mainWindow.Services();
    const int row = m_mainWindow.CurrentRow();
    if (row < 0) {
        services.ShowMessage(BookmarkTexts::SelectRecordToModify, MessageStyle::Ok, {}, this);
        return;
    }
    const BookmarkListModel& bookmarks = m_mainWindow.Bookmarks();
    const QString oldAddress = bookmarks.Cell(row, BookmarkListModel::AddressColumn);
    const QString oldCategory = bookmarks.Cell(row, BookmarkListModel::CategoryColumn);
    const BookmarkRecord b = Entered();
    QString assignments =
        QStringLiteral("名称=?,地址=?,分类=?,备注=?,账号=?,账号标识=?,密码标识=?,标识类型=?,"
                       "按钮标识=?,按钮标识类型=?,控件类型=?");
    QVariantList values{b.name,       b.address, b.category, b.remark,       b.account,    b.accountId,
                        b.passwordId, b.idType,  b.buttonId, b.buttonIdType, b.controlType};
    // A password that could not be opened is not written at all: whatever the database holds by
    // now (sealed again, unsealed by a change of protection meanwhile) stays.
    if (!m_passwordUnopened) {
        const std::optional<QString> password =
            PasswordAccess(*m_mainWindow.Globals().Vault, services, this).Seal(b.password);
        if (!password)
            return;
        assignments += QStringLiteral(",密码=?");
        values.append(*password);
    }
    values.append(oldAddress);
    if (!m_mainWindow.Globals().Database->Update(Tables::Bookmarks, assignments, QStringLiteral("地址=?"),
                                                 values)) {
        m_mainWindow.ReportRefusedChange(BookmarkTexts::ModifyFailed);
        return;
    }
    if (m_mainWindow.ReportGoneRow())
        return;
    m_mainWindow.ShowModifiedBookmark(row, oldCategory, b, !b.account.isEmpty());
    services.ShowMessage(BookmarkTexts::ModifySucceeded, MessageStyle::Ok | MessageStyle::InformationIcon, {},
                         this);
}
