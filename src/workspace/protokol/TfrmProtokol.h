#pragma once
// The protocol window of TProtokol: a tool bar with "OK", a bold headline
// strip coloured by the warning flag and a borderless read-only text box.
// OK, Enter or Esc anywhere closes it.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QToolButton;
class QWidget;

namespace kasovka {

class TProtokol;

class TfrmProtokol : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProtokol(const TProtokol &protokol, QWidget *parent = nullptr);

    // Colours of the headline strip and its text for either style.
    static QColor HeadlineBackground(bool warning);
    static QColor HeadlineTextColour(bool warning);

    QToolButton *btnOK() const { return m_btnOK; }
    QLabel *lblHeadline() const { return m_lblHeadline; }
    QWidget *panHeadline() const { return m_panHeadline; }
    QPlainTextEdit *mmProtokol() const { return m_mmProtokol; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void applyHeadlineStyle(bool warning);

    const TProtokol &m_protokol;
    QToolButton *m_btnOK;
    QWidget *m_panHeadline;
    QLabel *m_lblHeadline;
    QPlainTextEdit *m_mmProtokol;
};

} // namespace kasovka
