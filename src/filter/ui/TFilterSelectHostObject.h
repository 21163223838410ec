#pragma once
// Choosing host objects for a report filter: the list of one kind of object
// is read from the host's code-list table, and the user either picks one
// object or edits a list of several. The result is text in the form the
// filter stores: one code, or the codes each followed by ";".
//
// One object serves one click of a "..." button: construct it, call
// Execute, read SelectionText when Execute returned true, and free it. The
// host list is read at most once per object, on the first pick.

#include "core/MemTable.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

class QWidget;

namespace kasovka {

class TBaseApplication;

enum THostObjectKind : quint8 {
    mokCentre = 0,     // SZSTRED in the year folder
    mokActivity = 1,   // SZCINN in the year folder
    mokContract = 2,   // ZAKAZKY in the year folder
    mokCurrency = 3,   // MENY in the agenda folder
    mokAddressKey = 4, // ADKLICE in the agenda folder
    mokStockGroup = 5, // SKSEZSKP with the stores SKSEZSKL, agenda folder
};
inline constexpr quint8 LastHostObjectKind = mokStockGroup;

class TFilterSelectHostObject {
public:
    // The launch context shows the messages and is not owned. A trailing
    // "/" is added to the year folder; the agenda folder is derived from it
    // ("/" alone when the year folder does not end in .../AGENDA*/ROK*).
    TFilterSelectHostObject(TBaseApplication &app, quint8 kind, const QString &yearFolder,
                            bool editorMode, const QString &initialText);

    // Editor mode: the list editor; true when it was left with "OK", and
    // SelectionText then holds the new list. Otherwise a single pick from
    // the host list starting on SelectionText; true when a non-empty code
    // was picked, which then replaces SelectionText.
    bool Execute(QWidget *parent = nullptr);

    // Shows the host list positioned on `currentCode` (letter case ignored;
    // the first object when it is not listed) and returns the code picked,
    // or empty text when the user closed the list or it cannot be loaded.
    QString PickFromHostList(const QString &currentCode, QWidget *parent = nullptr);

    // Fills HostList from the kind's host table, once. On failure an error
    // message has been shown, HostList is empty and the next call tries
    // again.
    bool LoadHostList();

    // The codes of a filter text ("S1;S2;") that the host's list does not
    // hold, as typed (letter case counts, as when the report reads the
    // journal). Empty when the list cannot be read; its failure has been
    // shown then.
    QStringList UnknownCodes(const QString &filterText);

    // "Editor " or "Seznam " followed by the kind's noun ("Seznam měn").
    QString KindCaption(bool editor) const;
    // The noun of a kind ("středisek", "měn", ...); empty above the last kind.
    static QString KindNoun(quint8 kind);
    // The folder and name of the kind's (main) host table, without ".DAT".
    QString HostTablePath() const;

    quint8 Kind() const { return m_kind; }
    const QString &YearFolder() const { return m_yearFolder; }
    const QString &AgendaFolder() const { return m_agendaFolder; }
    bool EditorMode() const { return m_editorMode; }
    const QString &SelectionText() const { return m_selectionText; }
    void SetSelectionText(const QString &text) { m_selectionText = text; }

    // The codes being edited: ID (auto-increment), ShortCut (text 255).
    TMemTable &SelectedList() { return m_selectedList; }
    // The host's objects in the order read: ID, ShortCut, Description.
    TMemTable &HostList() { return m_hostList; }
    bool HostListLoaded() const { return m_hostListLoaded; }

    TBaseApplication &Application() const { return m_app; }

    // Field positions shared by both tables (ID 0, ShortCut 1) and HostList's
    // Description (2).
    static constexpr int FieldID = 0;
    static constexpr int FieldShortCut = 1;
    static constexpr int FieldDescription = 2;

    // The list text split into codes: every piece before a ";" is a code,
    // an empty piece between two ";" an empty code, and a last piece without
    // its ";" is a code too (the filter matches it as one).
    static QStringList SplitSelectionText(const QString &text);
    // The codes each followed by ";"; no codes give empty text.
    static QString JoinSelectionText(const QStringList &codes);

private:
    bool readCodeList(const QString &path, const QString &codeField,
                      const QString &descriptionField);
    bool readStockGroups();
    void showError(const QString &text) const;

    TBaseApplication &m_app;
    quint8 m_kind;
    QString m_yearFolder;
    bool m_editorMode;
    QString m_selectionText;
    TMemTable m_selectedList;
    TMemTable m_hostList;
    bool m_hostListLoaded = false;
    QString m_agendaFolder;
};

} // namespace kasovka
