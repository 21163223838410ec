#include "workspace/protokol/TProtokol.h"

#include "workspace/protokol/TfrmProtokol.h"

namespace kasovka {

TProtokol::TProtokol(const QString &headline, const QString &text, bool warning)
    : m_text(text), m_headline(headline), m_warning(warning)
{
}

void TProtokol::Execute(QWidget *parent)
{
    TfrmProtokol window(*this, parent);
    window.exec();
}

} // namespace kasovka
