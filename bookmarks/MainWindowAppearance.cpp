// MainWindow: colours, fonts and size of the two lists, as saved and as the appearance dialog edits them.
#include "MainWindow.h"
#include "Placement.h"

#include "AppearanceDialog.h"
#include "BookmarkListModel.h"
#include "ColorValue.h"
#include "ProgramGlobals.h"
#include "SettingsKeys.h"
#include "TextNumber.h"

#include <QListWidget>
#include <QTreeView>

namespace {

void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

// An empty name or a size of 0 keeps what the control has.
void SetFont(QWidget* widget, const QString& name, int size)
{
    QFont font = widget->font();
    if (!name.isEmpty())
        font.setFamily(name);
    if (size > 0)
        font.setPointSize(size);
    widget->setFont(font);
}

} // namespace

void MainWindow::ApplySavedAppearance()
{
    const IniFile settings = m_globals.Settings();
    // A present but empty text colour switches the saved appearance off as a whole.
    const QString textColor = settings.Read(Settings::TextColor);
    if (textColor.isEmpty())
        return;
    const auto number = [&](const SettingKey& key) { return TextToInteger(settings.Read(key)); };
    const auto color = [&](const SettingKey& key) { return ColorFromStoredValue(number(key)); };

    SetListTextColor(ColorFromStoredValue(TextToInteger(textColor)));
    SetListTextBackColor(color(Settings::TextBackColor));
    SetListBackColor(color(Settings::BackColor));
    SetListFont(settings.Read(Settings::FontName), number(Settings::FontSize));
    const int width = number(Settings::Width);
    const int height = number(Settings::Height);
    if (width > 0 && height > 0)
        resize(width, height);
    SetCategoryTextColor(color(Settings::CategoryTextColor));
    SetCategoryBackColor(color(Settings::CategoryBackColor));
    SetCategoryFont(settings.Read(Settings::CategoryFontName), number(Settings::CategoryFontSize));
}

QColor MainWindow::ListTextColor() const
{
    return 网址框->palette().color(QPalette::Text);
}

void MainWindow::SetListTextColor(const QColor& color)
{
    SetPaletteColor(网址框, QPalette::Text, color);
    m_bookmarks->SetTextColor(color);
}

QColor MainWindow::ListTextBackColor() const
{
    const QColor color = m_bookmarks->TextBackground();
    return color.isValid() ? color : ListBackColor();
}

void MainWindow::SetListTextBackColor(const QColor& color)
{
    m_bookmarks->SetTextBackground(color);
}

QColor MainWindow::ListBackColor() const
{
    return 网址框->palette().color(QPalette::Base);
}

void MainWindow::SetListBackColor(const QColor& color)
{
    SetPaletteColor(网址框, QPalette::Base, color);
}

QString MainWindow::ListFontName() const
{
    return 网址框->font().family();
}

int MainWindow::ListFontSize() const
{
    return 网址框->font().pointSize();
}

void MainWindow::SetListFont(const QString& name, int size)
{
    SetFont(网址框, name, size);
    FitColumns();
}

QColor MainWindow::CategoryTextColor() const
{
    return 列表框_分类->palette().color(QPalette::Text);
}

void MainWindow::SetCategoryTextColor(const QColor& color)
{
    SetPaletteColor(列表框_分类, QPalette::Text, color);
}

QColor MainWindow::CategoryBackColor() const
{
    return 列表框_分类->palette().color(QPalette::Base);
}

void MainWindow::SetCategoryBackColor(const QColor& color)
{
    SetPaletteColor(列表框_分类, QPalette::Base, color);
}

QString MainWindow::CategoryFontName() const
{
    return 列表框_分类->font().family();
}

int MainWindow::CategoryFontSize() const
{
    return 列表框_分类->font().pointSize();
}

void MainWindow::SetCategoryFont(const QString& name, int size)
{
    SetFont(列表框_分类, name, size);
}

void MainWindow::OpenAppearanceDialog()
{
    if (!m_appearanceDialog)
        m_appearanceDialog = new AppearanceDialog(*this);
    ShowInFront(m_appearanceDialog);
}
