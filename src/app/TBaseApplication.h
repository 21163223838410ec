#pragma once
// The launch context: everything the program knows about where it runs,
// built once from the host's launch parameters and the year settings, and
// the services through which every part talks to the user. It is created
// once per run, handed to every object by reference and owned by none.

#include "app/UiServices.h"
#include "core/Currency.h"
#include "core/DateTime.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

namespace kasovka {

class TMemTable;

// One group ?NAME=value?NAME of the host's command line.
struct TLaunchParameter {
    QString Name;  // upper case, without the question mark, at most 255 characters
    QString Value; // verbatim, at most 255 characters
};

enum class HostFolderLevel {
    Agenda,   // the folder that holds the year folder
    DataRoot, // the folder that holds the agenda folder
};

class TBaseApplication {
public:
    // `arguments` are the program's arguments without the program name, as
    // the platform split them. The services are not owned and must outlive
    // the launch context. Nothing is read here.
    TBaseApplication(IUiServices &ui, QStringList arguments);
    ~TBaseApplication();
    TBaseApplication(const TBaseApplication &) = delete;
    TBaseApplication &operator=(const TBaseApplication &) = delete;

    // --- Launch parameters and host folders (pure helpers) ---------------

    // Reads the groups ?NAME=value?NAME from the joined arguments; parsing
    // stops at the first group without its closing marker.
    static QList<TLaunchParameter> ParseLaunchParameters(const QStringList &arguments);
    // The agenda folder or the data root above a year folder, with a trailing
    // "/", or the single text "/" when the path does not end in
    // .../AGENDA*/ROK*. The name tests ignore letter case; the derived text
    // keeps the case of the given path.
    static QString DeriveHostFolder(const QString &yearFolder, HostFolderLevel level);
    // The leading number text of a version value: up to the first blank,
    // digits, "." and "," only ("11.060 build" gives "11.060").
    static QString ExtractVersionNumber(const QString &value);
    // Replaces the characters a file name cannot hold (" * / : < > ? \ |)
    // by "_".
    static QString SanitizeFileName(const QString &name);
    // "# ### ### ##0" with 0..4 decimals; any other count gives two decimals
    // (the same as core/DisplayFormat.h).
    static QString DisplayFormatForDecimals(int decimals);

    // Parses the parameters, fills the fields and reads the year settings.
    // False when the program must end; the reason has been shown already.
    // The year folder is taken with "." and ".." segments resolved.
    bool LoadLaunchContext();

    // --- Fields ------------------------------------------------------------

    const QList<TLaunchParameter> &LaunchParameters() const;
    // The value of the first parameter of that name (letter case ignored).
    bool FindLaunchParameter(const QString &name, QString *value) const;

    QString YearFolder() const;   // AKTROK normalised, with a trailing "/"
    QString AgendaFolder() const; // "/" when the year folder has the wrong shape
    QString DataFolder() const;   // "/" when the year folder has the wrong shape
    // True when the year folder ends in .../AGENDA*/ROK*, so that the agenda
    // folder and the data root are real folders and not the bare "/".
    bool HasHostFolderShape() const;
    Currency HostVersion() const; // 0 when MVERZE does not read as a number
    QString UserPassword() const;
    QString ConfigName() const;   // safe for a file name, "Default" when blank
    QString AgendaCode() const;   // upper case, empty without a dot
    TDateTime FiscalYearTo() const; // day serial
    bool DoubleEntryBookkeeping() const;
    // Why year settings that exist could not be read (the values above are
    // then the defaults); empty otherwise. The start-up refuses to go on.
    QString YearSettingsError() const;
    // ROK.INI in the year folder (any letter case); the settings read
    // through THostIniFile, which takes ROK.DAT where it exists.
    QString YearSettingsFileName() const;

    // --- Computed folders and constants -----------------------------------

    // The folder of the running executable, unless overridden (tests, tools).
    QString ProgramFolder() const;
    void SetProgramFolder(const QString &folder);
    QString ProgramDataFolder() const; // DataFolder + "Doplnky/Kasovka/"
    QString SettingsFolder() const;    // ProgramDataFolder + "Setting/"
    QString PrintFormsFolder() const;  // ProgramDataFolder + "PrintFrm/"
    QString SettingsFileName() const;  // SettingsFolder + ConfigName + AgendaCode + ".ini"
    QString TempFolder() const;        // this run's private folder under the system temporary folder
    QString HelpFolder() const;        // ProgramFolder + "help/"
    static QString ProgramVersion();   // "3.10"
    static TDateTime CompatibilityDate(); // 30 September 2016

    // --- Cancelling --------------------------------------------------------

    // Set by the cancel link (through the services); a job that offers
    // cancelling clears it before it starts and polls it.
    bool CancelRequested() const;
    void SetCancelRequested(bool value);

    // --- Services ----------------------------------------------------------

    MessageResult ShowMessageDialog(const QString &text, MessageKind kind);
    void ShowProgress(const QString &text, bool showCancelLink = false, bool animate = false);
    void RefreshProgress();
    void HideProgress();
    // Whether a job shows its progress now: the windows that would end the
    // program or the job's window ask first.
    bool JobRunning() const { return m_progressShown; }
    // Asked when a window whose closing would cut a running job short is
    // closed: true when the user stops the job (the cancel flag is then
    // set and the window closes once the job has ended), false to go on.
    bool AskToStopJob();
    // True when the folder exists or could be created with its parents;
    // otherwise shows "Nelze vytvořit adresář " + path and returns false.
    bool EnsureFolder(const QString &path);
    // True when the file does not exist afterwards; otherwise shows
    // "Nelze přepsat soubor " + path and returns false.
    bool DeleteExistingFile(const QString &path);
    int OpenWithAssociatedProgram(const QString &path);
    void ShowHelpTopic(const QString &topic);
    // The short notice after a file was written that nothing opened.
    void ShowSavedNotice(const QString &path);

    // Every currency field of the table: no currency symbol, the display
    // format of `decimals`, and `defaultExpression` as its default value.
    void FormatCurrencyFields(TMemTable &table, int decimals,
                              const QString &defaultExpression) const;

    IUiServices &UiServices() const;

private:
    struct Fields;
    bool fail(const QString &message);
    void readYearSettings();

    IUiServices &m_ui;
    QStringList m_arguments;
    std::atomic<bool> m_cancelRequested{false};
    bool m_progressShown = false;
    // The progress shown, to show it again after a question hid it.
    QString m_progressText;
    bool m_progressCancel = false, m_progressAnimate = false;
    std::unique_ptr<Fields> m_fields;
};

} // namespace kasovka
