#pragma once
// Behaviour every window of the program shares:
// - key preview: a modal window sees Enter and Esc before its controls do,
//   so Enter confirms and Esc cancels wherever the focus stands;
// - flat tool-bar buttons that never take the keyboard focus.
// (Minimizing one window minimizes the whole program through the filter
// the entry point installs on the application; windows need nothing for it.)
// Header of kasovka_filterui; the protocol window links it as well.

#include <QIcon>
#include <QObject>
#include <functional>

class QHBoxLayout;
class QVBoxLayout;

class QToolButton;
class QWidget;

namespace kasovka {

// Watches the key presses of one window through an application-wide event
// filter (child controls would otherwise consume Enter or Esc first). Keys
// typed into another window - a drop-down list, a calendar popup or a modal
// dialog opened on top - are left alone. Owned by the window.
class KeyPreview : public QObject {
    Q_OBJECT
public:
    KeyPreview(QWidget *window, std::function<void()> onEnter,
               std::function<void()> onEscape);
    ~KeyPreview() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    std::function<void()> m_onEnter;
    std::function<void()> m_onEscape;
};

// Installs the key preview on window; either action may be empty.
void installKeyPreview(QWidget *window, std::function<void()> onEnter,
                       std::function<void()> onEscape);

// A flat tool-bar button with a glyph and its caption beside it; it takes no
// keyboard focus, so pressing it never moves the focus out of a control.
QToolButton *makeToolbarButton(const QIcon &glyph, const QString &text, QWidget *parent);

// The frame of the program's resizable dialogs: title, system menu, minimize,
// maximize and close buttons.
Qt::WindowFlags resizableDialogFlags();

// Puts the window's outer layout in place (no margins, no spacing) with an
// empty tool-bar strip on top; the caller adds the buttons to the returned
// strip layout and the body to `outer`.
QHBoxLayout *addToolbarStrip(QWidget *window, QVBoxLayout *&outer);

// The program's own tool-bar glyphs, drawn at run time.
enum class Glyph { Ok, Back, Close, Calendar };
QIcon glyphIcon(Glyph glyph);

} // namespace kasovka
