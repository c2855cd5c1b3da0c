#pragma once

#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QWebEngineLoadingInfo;
class QWebEngineView;

// Shows that a page is loading: its progress in the status bar, "停止" enabled only meanwhile, and
// "正在打开…" before the window's caption; a page that fails says why, in Chinese.
class PageLoadIndicator : public QObject {
    Q_OBJECT
public:
    PageLoadIndicator(QWebEngineView& view, QAction& stop, QLabel& label, QObject* parent = nullptr);

    // The Chinese words for why a page could not be opened, the engine's own after them.
    static QString FailureText(const QWebEngineLoadingInfo& info);

private:
    void Finish(bool ok);
    void ShowProgress(int percent);

    QWebEngineView& m_view;
    QAction& m_stop;
    QLabel& m_label;
    bool m_loading = false;
    bool m_told = false; // the end of this load was told with its reason
};
