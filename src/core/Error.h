#pragma once
// The program's exception base. Library-level failures throw an Error that
// carries the user-facing (Czech) text; the flows catch it and show the text
// through the UI services. what() returns the same text in UTF-8.

#include <QString>
#include <stdexcept>

namespace kasovka {

class Error : public std::runtime_error {
public:
    explicit Error(const QString &text)
        : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString &text() const noexcept { return m_text; }

private:
    QString m_text;
};

} // namespace kasovka
