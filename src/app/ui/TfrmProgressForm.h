#pragma once
// The progress window: a small borderless white window with a thin frame,
// centred on the screen. Left an activity picture, right the main text and
// under it the cancel link "Přerušit". It is never modal; a click on the
// link only calls the cancel handler, which sets the launch context's
// CancelRequested, and the running job notices it when it polls.

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace kasovka {

// A label that reads like a web link and reports a click anywhere on it.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLinkLabel(const QString &text, QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// Eight dots running round a circle.
class TActivityIndicator : public QWidget {
public:
    explicit TActivityIndicator(QWidget *parent = nullptr);
    void start();
    void stop();
    bool isAnimating() const { return m_timer.isActive(); }
    QSize sizeHint() const override { return {36, 36}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer m_timer;
    int m_step = 0;
};

class TfrmProgressForm : public QWidget {
    Q_OBJECT
public:
    explicit TfrmProgressForm(std::function<void()> onCancel);

    // Processes pending events, sets the text, shows or hides the link and
    // the animation, shows the window and processes pending events again.
    void ShowProgress(const QString &text, bool showCancelLink, bool animate);
    // Shows the window again, unchanged, and processes pending events.
    void RefreshProgress();
    // Hides the window and stops the animation.
    void HideProgress();

    QString text() const { return m_lblText->text(); }
    bool cancelLinkShown() const { return !m_lblCancel->isHidden(); }
    bool animating() const { return m_animation->isAnimating(); }
    TLinkLabel *cancelLink() const { return m_lblCancel; }

protected:
    void paintEvent(QPaintEvent *event) override;
    // Esc is "Přerušit" where the link is shown.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void attachToModalWindow();
    void centreOnScreen();

    std::function<void()> m_onCancel;
    TActivityIndicator *m_animation;
    QLabel *m_lblText;
    TLinkLabel *m_lblCancel;
};

} // namespace kasovka
