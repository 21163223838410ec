#pragma once
// The notice after a file was written that nothing opened: the path and
// "Otevřít složku" in a small window at the bottom right of the screen. It
// takes no focus, waits for nobody and closes by itself after a while.

#include <QUrl>
#include <QWidget>

#include <functional>

class QLabel;

namespace kasovka {

class TfrmSavedNotice : public QWidget {
    Q_OBJECT
public:
    // Hands a URL to the desktop; false when that failed.
    using UrlOpener = std::function<bool(const QUrl &url)>;

    static constexpr int ShownMs = 12000;

    TfrmSavedNotice(const QString &path, UrlOpener opener, QWidget *parent = nullptr);

    QLabel *lblText;
    QLabel *lblOpenFolder; // "Otevřít složku"
};

} // namespace kasovka
