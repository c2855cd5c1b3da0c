#pragma once

#include <QTreeView>

// The bookmark list. Where its rows leave room it tells a newcomer how to begin: every command
// lives in the right-click menu, which nothing on screen shows.
class BookmarkListView : public QTreeView {
    Q_OBJECT

public:
    explicit BookmarkListView(QWidget* parent = nullptr);

    // The hint drawn under the rows now; empty when the rows leave no room for it.
    QString Hint() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect FreeArea() const;
    QRect HintRect(const QString& hint) const;
    QString HintFor() const;
};
