#pragma once
// Behaviour and look every window of the program shares:
// - key preview: a modal window sees Enter and Esc before its controls do,
//   so Enter confirms and Esc cancels wherever the focus stands;
// - tool-bar strips with flat buttons that never take the keyboard focus;
// - the frame of resizable dialogs and a place that fits the screen.
// (Minimizing one window minimizes the whole program through the filter
// the entry point installs on the application; windows need nothing for it.)

#include <QIcon>
#include <QObject>
#include <functional>

class QFrame;
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
QToolButton *makeToolbarButton(const QIcon &glyph, const QString &text, QWidget *parent,
                               int iconSize = 16);

// The thin sunken line between groups of tool-bar buttons.
QFrame *toolbarSeparator(QWidget *parent);

// The frame of the program's resizable dialogs: title, system menu, minimize,
// maximize and close buttons.
Qt::WindowFlags resizableDialogFlags();

enum class StripLook { Plain, Grey };

// An empty tool-bar strip; the caller adds the buttons to `layout`.
QWidget *makeToolbarStrip(QWidget *parent, QHBoxLayout *&layout, StripLook look);

// Puts the window's outer layout in place (no margins, no spacing) with an
// empty tool-bar strip on top; the caller adds the buttons to the returned
// strip layout and the body to `outer`.
QHBoxLayout *addToolbarStrip(QWidget *window, QVBoxLayout *&outer,
                             StripLook look = StripLook::Plain);

// Shrinks the window to the available area of its screen when it is larger
// and centres it there, so no part of it opens below the task bar.
void placeOnScreen(QWidget *window);

// The program's own tool-bar glyphs, drawn at run time.
enum class Glyph { Ok, Back, Close, Calendar };
QIcon glyphIcon(Glyph glyph);

} // namespace kasovka
