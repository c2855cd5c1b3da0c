#pragma once

#include <QWidget>

#include <functional>

class QPlainTextEdit;
class QTimer;

// Shows HTML of the page (an element's, or the whole source) below or over the browser window, as
// a tool window of it that stays above it; while it is open its timer reports where the mouse is
// on the page.
class CodeWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignedHeight = 185;

    CodeWindow(QWidget* owner, std::function<void()> onTick);

    // Below the browser window when the screen has room for it, else over its lower part, leaving
    // the last `keepVisible` pixels of it (the status bar where the mouse position shows) uncovered.
    static QRect Placement(const QRect& browser, int screenHeight, int keepVisible = 0);

    QPlainTextEdit* 编辑框_信息;
    QTimer* 时钟1;

protected:
    void resizeEvent(QResizeEvent* event) override;
};
