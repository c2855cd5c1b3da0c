#include "AppearanceDialog.h"

#include "BookmarkTexts.h"
#include "ColorPickerButton.h"
#include "ColorValue.h"
#include "MainWindow.h"
#include "Placement.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "SettingsKeys.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>

namespace {

void PlaceLabel(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
                int height)
{
    Place(new QLabel(text, parent), name, left, top, width, height);
}

QComboBox* FontNameBox(QWidget* parent, const QString& name, int left, int top)
{
    // Wider than designed: a name such as "Sans Serif" would be cut in 75 pixels.
    auto* box = Place(new QComboBox(parent), name, left, top, 115, 20);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(BookmarkTexts::FontNames);
    // The box is narrow; its list opens wide enough for every name.
    int widest = 0;
    for (const QString& font : BookmarkTexts::FontNames)
        widest = std::max(widest, box->fontMetrics().horizontalAdvance(font));
    box->view()->setMinimumWidth(widest + 2 * box->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    return box;
}

QSpinBox* FontSizeBox(QWidget* parent, const QString& name, int left, int top)
{
    auto* box = Place(new QSpinBox(parent), name, left, top, 56, 22);
    box->setRange(0, 100);
    return box;
}

QString ColorText(const QColor& color)
{
    return QString::number(StoredValueFromColor(color));
}

// A window size as typed: a positive whole number, or nothing.
std::optional<int> WholeSize(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value > 0 ? std::optional<int>(value) : std::nullopt;
}

} // namespace

AppearanceDialog::AppearanceDialog(MainWindow& mainWindow) : QDialog(&mainWindow), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("AppearanceDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(BookmarkTexts::AppearanceCaption);
    // The designed height counted the title bar; the client ends a margin below the buttons.
    setFixedSize(360, 282);
    CreateControls();
    FillFromMainWindow();
    ConnectPreview();
}

void AppearanceDialog::CreateControls()
{
    分组框1 = Place(new QGroupBox(BookmarkTexts::BookmarkListGroup, this), QStringLiteral("分组框1"), 5, 8,
                    344, 104);
    PlaceLabel(分组框1, QStringLiteral("标签1"), BookmarkTexts::TextColorLabel, 31, 16, 61, 24);
    字_文本颜色 = Place(new ColorPickerButton(分组框1), QStringLiteral("字_文本颜色"), 93, 18, 57, 22);
    PlaceLabel(分组框1, QStringLiteral("标签2"), BookmarkTexts::TextBackColorLabel, 7, 44, 86, 24);
    字_字体背景色 = Place(new ColorPickerButton(分组框1), QStringLiteral("字_字体背景色"), 93, 45, 57, 22);
    PlaceLabel(分组框1, QStringLiteral("标签3"), BookmarkTexts::BackColorLabel, 31, 70, 61, 24);
    字_背景颜色 = Place(new ColorPickerButton(分组框1), QStringLiteral("字_背景颜色"), 93, 71, 57, 22);
    PlaceLabel(分组框1, QStringLiteral("标签4"), BookmarkTexts::FontNameLabel, 160, 16, 62, 24);
    字_字体名称 = FontNameBox(分组框1, QStringLiteral("字_字体名称"), 222, 17);
    PlaceLabel(分组框1, QStringLiteral("标签5"), BookmarkTexts::FontSizeLabel, 160, 44, 62, 22);
    字_字体大小 = FontSizeBox(分组框1, QStringLiteral("字_字体大小"), 222, 44);

    分组框2 = Place(new QGroupBox(BookmarkTexts::CategoryListGroup, this), QStringLiteral("分组框2"), 5, 116,
                    344, 72);
    PlaceLabel(分组框2, QStringLiteral("标签8"), BookmarkTexts::FontColorLabel, 8, 16, 61, 24);
    字_字体背景色1 = Place(new ColorPickerButton(分组框2), QStringLiteral("字_字体背景色1"), 69, 16, 57, 22);
    PlaceLabel(分组框2, QStringLiteral("标签7"), BookmarkTexts::BackColorLabel, 8, 41, 61, 24);
    分类背景颜色 = Place(new ColorPickerButton(分组框2), QStringLiteral("分类背景颜色"), 69, 41, 57, 22);
    PlaceLabel(分组框2, QStringLiteral("标签9"), BookmarkTexts::FontSizeLabel, 133, 16, 62, 22);
    字_字体大小1 = FontSizeBox(分组框2, QStringLiteral("字_字体大小1"), 195, 16);
    PlaceLabel(分组框2, QStringLiteral("标签10"), BookmarkTexts::FontNameLabel, 133, 41, 62, 24);
    字_字体名称1 = FontNameBox(分组框2, QStringLiteral("字_字体名称1"), 195, 42);

    标签6 = Place(new QLabel(BookmarkTexts::WindowSizeLabel, this), QStringLiteral("标签6"), 8, 200, 160, 16);
    宽框 = Place(new QLineEdit(this), QStringLiteral("宽框"), 61, 197, 38, 22);
    高框 = Place(new QLineEdit(this), QStringLiteral("高框"), 120, 197, 38, 22);
    // The caption spaces 高 out to sit between the two boxes, which only works in the font it was
    // made for; a label of its own puts it there in any font.
    auto* heightLabel = new QLabel(BookmarkTexts::WindowSizeLabel.trimmed().right(1), this);
    heightLabel->setObjectName(QStringLiteral("标签6_高"));
    heightLabel->setGeometry(宽框->geometry().right() + 4, 200, 高框->x() - 宽框->geometry().right() - 4, 16);
    按钮1 = Place(new QPushButton(BookmarkTexts::OkButton, this), QStringLiteral("按钮1"), 93, 238, 68, 32);
    按钮2 =
        Place(new QPushButton(BookmarkTexts::CancelButton, this), QStringLiteral("按钮2"), 198, 238, 68, 32);
    按钮1->setDefault(true);
    按钮2->setAutoDefault(false);
    connect(按钮1, &QPushButton::clicked, this, &AppearanceDialog::Confirm);
    connect(按钮2, &QPushButton::clicked, this, &QDialog::close);
}

void AppearanceDialog::FillFromMainWindow()
{
    字_文本颜色->SetColor(m_mainWindow.ListTextColor());
    字_字体背景色->SetColor(m_mainWindow.ListTextBackColor());
    字_背景颜色->SetColor(m_mainWindow.ListBackColor());
    字_字体名称->setCurrentText(m_mainWindow.ListFontName());
    字_字体名称->lineEdit()->setCursorPosition(0);
    字_字体大小->setValue(m_mainWindow.ListFontSize());
    ShowWindowSize(m_mainWindow.size());
    字_字体背景色1->SetColor(m_mainWindow.CategoryTextColor());
    分类背景颜色->SetColor(m_mainWindow.CategoryBackColor());
    字_字体大小1->setValue(m_mainWindow.CategoryFontSize());
    字_字体名称1->setCurrentText(m_mainWindow.CategoryFontName());
    字_字体名称1->lineEdit()->setCursorPosition(0);
}

void AppearanceDialog::ShowWindowSize(const QSize& size)
{
    宽框->setText(QString::number(size.width()));
    高框->setText(QString::number(size.height()));
}

void AppearanceDialog::ConnectPreview()
{
    MainWindow* w = &m_mainWindow;
    connect(字_文本颜色, &ColorPickerButton::colorChanged, w, &MainWindow::SetListTextColor);
    connect(字_字体背景色, &ColorPickerButton::colorChanged, w, &MainWindow::SetListTextBackColor);
    connect(字_背景颜色, &ColorPickerButton::colorChanged, w, &MainWindow::SetListBackColor);
    connect(字_字体名称, &QComboBox::textActivated, w, [w](const QString& name) { w->SetListFont(name, 0); });
    connect(字_字体大小, &QSpinBox::valueChanged, w, [w](int size) { w->SetListFont({}, size); });
    connect(字_字体背景色1, &ColorPickerButton::colorChanged, w, &MainWindow::SetCategoryTextColor);
    connect(分类背景颜色, &ColorPickerButton::colorChanged, w, &MainWindow::SetCategoryBackColor);
    connect(字_字体大小1, &QSpinBox::valueChanged, w, [w](int size) { w->SetCategoryFont({}, size); });
    connect(字_字体名称1, &QComboBox::textActivated, w,
            [w](const QString& name) { w->SetCategoryFont(name, 0); });
}

void AppearanceDialog::Confirm()
{
    const std::optional<int> width = WholeSize(宽框->text());
    const std::optional<int> height = WholeSize(高框->text());
    if (!width || !height) {
        // A size saved as typed would give a window of no size at the next start.
        m_mainWindow.Services().ShowMessage(BookmarkTexts::SizeNotWhole,
                                            MessageStyle::Ok | MessageStyle::WarningIcon, {}, this);
        return;
    }
    const QSize smallest = MainWindow::SmallestSize;
    if (*width < smallest.width() || *height < smallest.height()) {
        // Smaller, the lists and the entry panel could no longer be used.
        m_mainWindow.Services().ShowMessage(
            BookmarkTexts::SizeTooSmall.arg(smallest.width()).arg(smallest.height()),
            MessageStyle::Ok | MessageStyle::WarningIcon, {}, this);
        return;
    }

    MainWindow& w = m_mainWindow;
    w.SetListTextColor(字_文本颜色->Color());
    w.SetListTextBackColor(字_字体背景色->Color());
    w.SetListBackColor(字_背景颜色->Color());
    w.SetListFont(字_字体名称->currentText(), 字_字体大小->value());
    w.resize(*width, *height);
    w.SetCategoryBackColor(分类背景颜色->Color());
    w.SetCategoryTextColor(字_字体背景色1->Color());
    w.SetCategoryFont(字_字体名称1->currentText(), 字_字体大小1->value());

    const IniFile settings = w.Globals().Settings();
    const bool saved = settings.Write(Settings::TextBackColor, ColorText(字_字体背景色->Color())) &&
                       settings.Write(Settings::TextColor, ColorText(字_文本颜色->Color())) &&
                       settings.Write(Settings::BackColor, ColorText(字_背景颜色->Color())) &&
                       settings.Write(Settings::FontName, 字_字体名称->currentText()) &&
                       settings.Write(Settings::FontSize, QString::number(字_字体大小->value())) &&
                       settings.Write(Settings::Width, QString::number(*width)) &&
                       settings.Write(Settings::Height, QString::number(*height)) &&
                       settings.Write(Settings::CategoryTextColor, ColorText(字_字体背景色1->Color())) &&
                       settings.Write(Settings::CategoryBackColor, ColorText(分类背景颜色->Color())) &&
                       settings.Write(Settings::CategoryFontName, 字_字体名称1->currentText()) &&
                       settings.Write(Settings::CategoryFontSize, QString::number(字_字体大小1->value()));
    // The look is applied either way; the user learns it will not be there next time.
    if (!saved)
        w.ReportUnwritableFile(settings.Path());
    close();
}
