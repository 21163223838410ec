#pragma once
// Installation of the plug-in's support files (workbook templates, ...) from
// the program folder into the host's shared data root, once per installed
// version: the sign in ProgramFolder/SetupDat/setup.ini is compared with the
// sign last copied into ProgramDataFolder/setup.ini (section INSTALL, key
// SIGN), and ProgramFolder/Install.ini lists the folder pairs to copy
// (section COPY: Source1/Dest1, Source2/Dest2, ...; "%HOSTDATA%" in a
// destination stands for the data root).

#include <QString>

namespace kasovka {

// True when the support files are in place (copied now or before). False
// with a Czech error text in `errorText`; the sign is then left unchanged so
// that the next start copies the whole list again. All folders carry a
// trailing delimiter.
bool InstallSupportFiles(const QString &programFolder, const QString &programDataFolder,
                         const QString &dataFolder, QString &errorText);

// Copies every file (not sub-folders) of `sourceFolder` into
// `destinationFolder`, replacing read-only files and keeping modification
// times. A missing or empty source is no error. Stops at the first file that
// cannot be copied, with the Czech error text naming both paths.
bool CopyFolderFiles(const QString &sourceFolder, const QString &destinationFolder,
                     QString &errorText);

} // namespace kasovka
