#pragma once
// The .xlsx writer's failures in the user's words: libxlsxwriter's
// failures. The library describes its error codes in English and prints some
// failures to standard error by itself; neither may reach the user.

#include <QString>

#include <xlsxwriter.h>

namespace kasovka::xlsx {

// Why the library refused, as the end of a Czech sentence.
QString libraryErrorText(lxw_error error);

// Sends standard error to nowhere while it lives, flushing what was written
// before. Wrapped around the library calls that print a failure the writer
// cannot prevent (a scratch file or the archive that cannot be written); the
// caller reports the failure in Czech. The program writes its workbooks on
// its only thread, so nothing of its own is printed in between.
class QuietLibraryConsole {
public:
    QuietLibraryConsole();
    ~QuietLibraryConsole();
    QuietLibraryConsole(const QuietLibraryConsole &) = delete;
    QuietLibraryConsole &operator=(const QuietLibraryConsole &) = delete;

private:
    int m_saved = -1; // the real standard error
};

} // namespace kasovka::xlsx
