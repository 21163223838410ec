#pragma once
// The access-rights check: finds the user who started the plug-in in the
// host's rights tables PRISTUP and PRISTUP2 (data root, index "Password") by
// the scrambled password, and reads the user's right to the cash journal
// (field JUPDTisk). No users (PRISTUP empty) means full rights for everybody.
//
// The check shows nothing itself: ReadRights returns false with the reasons
// in ErrorText, and the caller shows them (an error box through the launch
// context) or, on true, refuses when JUPDTisk() is TRightLevel::None.

#include <QString>
#include <QStringList>

namespace kasovka {

enum class TRightLevel : unsigned char { None = 0, ReadOnly = 1, Full = 2 };

class TPristupPrava {
public:
    // `dataFolder` is the host's data root; a trailing "/" is added when
    // missing.
    TPristupPrava(const QString &dataFolder, const QString &password);

    // True when both tables could be read; UserFound() and JUPDTisk() are
    // valid then. False when a table could not be opened or indexed, with
    // ErrorText() naming it. A damaged table counts as one that cannot be
    // opened.
    bool ReadRights();
    // The error messages, each followed by a line break.
    QString ErrorText() const;
    bool UserFound() const { return m_userFound; }
    TRightLevel JUPDTisk() const { return m_jupdTisk; }

    // "A" full, "R" read-only, anything else none (letter case kept).
    static TRightLevel LevelOfText(const QString &text);
    // The stored form of a password: each UTF-16 code unit XOR a key byte
    // that starts at PasswordKeyStart and grows by one per position
    // (mod 256). The same function stores and compares.
    static QString ScramblePassword(const QString &password);
    static constexpr unsigned char PasswordKeyStart = 0xA7;

private:
    bool fail(const QString &message);

    QString m_dataFolder;
    QString m_password;
    QStringList m_errors;
    bool m_userFound = false;
    TRightLevel m_jupdTisk = TRightLevel::None;
};

} // namespace kasovka
