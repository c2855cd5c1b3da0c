#include "BookmarkListView.h"

#include "BookmarkTexts.h"

#include <QPainter>

namespace {
constexpr int Margin = 16;
} // namespace

BookmarkListView::BookmarkListView(QWidget* parent) : QTreeView(parent) {}

QString BookmarkListView::Hint() const
{
    const QString hint = HintFor();
    return HintRect(hint).isValid() ? hint : QString();
}

QString BookmarkListView::HintFor() const
{
    return model() && model()->rowCount() > 0 ? BookmarkTexts::ListHint : BookmarkTexts::EmptyListHint;
}

QRect BookmarkListView::FreeArea() const
{
    QRect area = viewport()->rect();
    const int rows = model() ? model()->rowCount() : 0;
    if (rows > 0) {
        const QRect last = visualRect(model()->index(rows - 1, 0));
        // The last row below the list's bottom (or scrolled above it) leaves no room.
        if (!last.isValid() || last.bottom() >= area.bottom())
            return {};
        area.setTop(last.bottom() + 1);
    }
    return area;
}

QRect BookmarkListView::HintRect(const QString& hint) const
{
    const QRect free = FreeArea().adjusted(Margin, Margin, -Margin, -Margin);
    if (free.width() <= 0 || free.height() <= 0)
        return {};
    const QRect needed = fontMetrics().boundingRect(free, Qt::AlignHCenter | Qt::TextWordWrap, hint);
    if (needed.height() > free.height() || needed.width() > free.width())
        return {};
    return needed;
}

void BookmarkListView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    const QString hint = HintFor();
    const QRect where = HintRect(hint);
    if (!where.isValid())
        return;
    // Readable but plainly not a row: the list's text colour two thirds of the way from its background.
    const QColor text = palette().color(QPalette::Text);
    const QColor base = palette().color(QPalette::Base);
    const auto mix = [](int a, int b) { return (a * 2 + b) / 3; };
    QPainter painter(viewport());
    painter.setPen(
        QColor(mix(text.red(), base.red()), mix(text.green(), base.green()), mix(text.blue(), base.blue())));
    painter.drawText(where, Qt::AlignHCenter | Qt::TextWordWrap, hint);
}
