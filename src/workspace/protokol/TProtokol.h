#pragma once
// The warning protocol: a headline over a multi-line text, shown in a modal,
// read-only window. The report container shows a new report's warnings with
// it in warning style.

#include <QString>

class QWidget;

namespace kasovka {

class TProtokol {
public:
    // The text is shown unchanged (lines separated by "\n"); warning selects
    // the headline style: red on pale peach when true, black on pale
    // lavender when false.
    TProtokol(const QString &headline, const QString &text, bool warning);

    // Shows the protocol window modally and releases it when it closes.
    void Execute(QWidget *parent = nullptr);

    const QString &Text() const { return m_text; }
    const QString &Headline() const { return m_headline; }
    bool Warning() const { return m_warning; }

private:
    QString m_text;
    QString m_headline;
    bool m_warning;
};

} // namespace kasovka
