#include "filter/ui/TFilterSelectHostObject.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "filter/ui/TfrmFilterSelectHostObject.h"
#include "filter/ui/TfrmFilterSelectHostObjectListForm.h"
#include "host/HostTableMessages.h"
#include "host/TBFTable.h"

#include <QSet>

namespace kasovka {

namespace {

constexpr int CodeSize = 255;

struct KindInfo {
    const char *noun;    // completes "Seznam " and "Editor "
    bool agendaFolder;   // the table lives in the agenda folder
    const char *table;
    const char *codeField;
    const char *descriptionField;
};

// Indexed by THostObjectKind. The stock groups read two tables and are
// handled on their own (readStockGroups).
const KindInfo Kinds[] = {
    {"středisek", false, "SZSTRED", "Zkrat", "Nazev"},
    {"činností", false, "SZCINN", "Zkrat", "Nazev"},
    {"zakázek", false, "ZAKAZKY", "Zkrat", "Nazev"},
    {"měn", true, "MENY", "Kod", "Zeme"},
    {"adresních klíčů", true, "ADKLICE", "Klic", "Popis"},
    {"skladových skupin", true, "SKSEZSKP", "Sklad", "Název"},
};

const KindInfo *kindInfo(quint8 kind)
{
    return kind <= LastHostObjectKind ? &Kinds[kind] : nullptr;
}

void defineList(TMemTable &table, const QString &name, bool withDescription)
{
    table.setTableName(name);
    table.addField(QStringLiteral("ID"), FieldType::AutoInc);
    table.addField(QStringLiteral("ShortCut"), FieldType::Text, CodeSize);
    if (withDescription)
        table.addField(QStringLiteral("Description"), FieldType::Text, CodeSize);
    table.createTable();
}

} // namespace

TFilterSelectHostObject::TFilterSelectHostObject(TBaseApplication &app, quint8 kind,
                                                 const QString &yearFolder, bool editorMode,
                                                 const QString &initialText)
    : m_app(app), m_kind(kind), m_yearFolder(yearFolder), m_editorMode(editorMode),
      m_selectionText(initialText)
{
    if (!m_yearFolder.endsWith(QLatin1Char('/')))
        m_yearFolder += QLatin1Char('/');
    m_agendaFolder = TBaseApplication::DeriveHostFolder(m_yearFolder, HostFolderLevel::Agenda);
    defineList(m_selectedList, QStringLiteral("SelectedList"), false);
    defineList(m_hostList, QStringLiteral("HostList"), true);
}

QString TFilterSelectHostObject::KindNoun(quint8 kind)
{
    const KindInfo *info = kindInfo(kind);
    return info ? QString::fromUtf8(info->noun) : QString();
}

QString TFilterSelectHostObject::KindCaption(bool editor) const
{
    return (editor ? QStringLiteral("Editor ") : QStringLiteral("Seznam ")) + KindNoun(m_kind);
}

QString TFilterSelectHostObject::HostTablePath() const
{
    const KindInfo *info = kindInfo(m_kind);
    if (!info)
        return QString();
    return (info->agendaFolder ? m_agendaFolder : m_yearFolder) + QLatin1String(info->table);
}

bool TFilterSelectHostObject::Execute(QWidget *parent)
{
    if (m_editorMode) {
        TfrmFilterSelectHostObject editor(*this, parent);
        return editor.exec() == QDialog::Accepted;
    }
    const QString code = PickFromHostList(m_selectionText, parent);
    if (code.isEmpty())
        return false;
    m_selectionText = code;
    return true;
}

QString TFilterSelectHostObject::PickFromHostList(const QString &currentCode, QWidget *parent)
{
    if (!m_hostListLoaded && !LoadHostList())
        return QString();
    if (!m_hostList.locate(QStringLiteral("ShortCut"), Variant(currentCode), true))
        m_hostList.first();
    TfrmFilterSelectHostObjectListForm list(*this, parent);
    if (list.exec() != QDialog::Accepted)
        return QString();
    return list.SelectedCode();
}

bool TFilterSelectHostObject::LoadHostList()
{
    const KindInfo *info = kindInfo(m_kind);
    if (!info) {
        showError(QStringLiteral("Neznámý druh seznamu objektů (%1).").arg(m_kind));
        return false;
    }
    const bool loaded = m_kind == mokStockGroup
                            ? readStockGroups()
                            : readCodeList(HostTablePath(), QString::fromUtf8(info->codeField),
                                           QString::fromUtf8(info->descriptionField));
    if (!loaded) {
        m_hostList.emptyTable();
        return false;
    }
    m_hostList.first();
    m_hostListLoaded = true;
    return true;
}

QStringList TFilterSelectHostObject::UnknownCodes(const QString &filterText)
{
    const QStringList typed = filterText.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (typed.isEmpty() || (!m_hostListLoaded && !LoadHostList()))
        return {};
    QSet<QString> known;
    for (int record = 0; record < m_hostList.totalRecordCount(); ++record)
        known.insert(m_hostList.recordValue(record, FieldShortCut).toText());
    QStringList unknown;
    for (const QString &code : typed)
        if (!known.contains(code) && !unknown.contains(code))
            unknown.append(code);
    return unknown;
}

bool TFilterSelectHostObject::readCodeList(const QString &path, const QString &codeField,
                                           const QString &descriptionField)
{
    TBFTable table;
    if (table.Open(path) != 0) {
        showError(tableOpenFailedText(path, table));
        return false;
    }
    // A damaged file or a missing field is reported with the store's own
    // text, which names the file and the field.
    try {
        const int code = table.FieldIndex(codeField);
        const int description = table.FieldIndex(descriptionField);
        if (table.RecordCount() > 0) {
            table.First();
            do {
                m_hostList.append();
                m_hostList.setText(FieldShortCut, table.Value(code).toText());
                m_hostList.setText(FieldDescription, table.Value(description).toText());
                m_hostList.post();
            } while (table.Next() != TBFTable::EndOfTable);
        }
    } catch (const Error &error) {
        table.Close();
        showError(error.text());
        return false;
    }
    table.Close();
    return true;
}

bool TFilterSelectHostObject::readStockGroups()
{
    const QString groupsPath = m_agendaFolder + QStringLiteral("SKSEZSKP");
    const QString storesPath = m_agendaFolder + QStringLiteral("SKSEZSKL");
    TBFTable groups;
    if (groups.Open(groupsPath) != 0) {
        showError(tableOpenFailedText(groupsPath, groups));
        return false;
    }
    if (groups.SetIndex(QStringLiteral("Sklad+Název")) != 0) {
        groups.Close();
        showError(tableIndexFailedText(groupsPath));
        return false;
    }
    TBFTable stores;
    if (stores.Open(storesPath) != 0) {
        groups.Close();
        showError(tableOpenFailedText(storesPath, stores));
        return false;
    }
    if (stores.SetIndex(QStringLiteral("Číslo")) != 0) {
        stores.Close();
        groups.Close();
        showError(tableIndexFailedText(storesPath));
        return false;
    }
    try {
        const int store = groups.FieldIndex(QStringLiteral("Sklad"));
        const int number = groups.FieldIndex(QStringLiteral("Číslo"));
        const int groupName = groups.FieldIndex(QStringLiteral("Název"));
        const int storeName = stores.FieldIndex(QStringLiteral("Název"));
        const int storeType = stores.FieldIndex(QStringLiteral("TypSkladu"));
        if (groups.RecordCount() > 0) {
            groups.First();
            do {
                const qint64 storeNumber = groups.Value(store).toInt();
                // Groups of a missing store, or of a store of type 1, are
                // not offered.
                if (stores.Seek(Variant(storeNumber)) != TBFTable::SeekFound
                    || stores.Value(storeType).toInt() == 1)
                    continue;
                m_hostList.append();
                m_hostList.setText(FieldShortCut, QString::number(storeNumber) + QLatin1Char('/')
                                                      + QString::number(groups.Value(number).toInt()));
                m_hostList.setText(FieldDescription, stores.Value(storeName).toText()
                                                         + QLatin1Char('/')
                                                         + groups.Value(groupName).toText());
                m_hostList.post();
            } while (groups.Next() != TBFTable::EndOfTable);
        }
    } catch (const Error &error) {
        stores.Close();
        groups.Close();
        showError(error.text());
        return false;
    }
    stores.Close();
    groups.Close();
    return true;
}

void TFilterSelectHostObject::showError(const QString &text) const
{
    m_app.ShowMessageDialog(text, MessageKind::Error);
}

QStringList TFilterSelectHostObject::SplitSelectionText(const QString &text)
{
    QStringList codes = text.split(QLatin1Char(';'));
    // "A;B;" splits into A, B and the empty rest after the last separator,
    // which is no code; a rest without its separator ("A;B") is one.
    if (!codes.isEmpty() && codes.last().isEmpty())
        codes.removeLast();
    return codes;
}

QString TFilterSelectHostObject::JoinSelectionText(const QStringList &codes)
{
    QString text;
    for (const QString &code : codes)
        text += code + QLatin1Char(';');
    return text;
}

} // namespace kasovka
