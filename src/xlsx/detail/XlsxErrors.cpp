#include "xlsx/detail/XlsxErrors.h"

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace kasovka::xlsx {

QString libraryErrorText(lxw_error error)
{
    switch (error) {
    case LXW_NO_ERROR:
        break;
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return QStringLiteral("nedostatek paměti");
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        return QStringLiteral("pomocný soubor nelze vytvořit nebo přečíst");
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return QStringLiteral("sešit nelze zapsat");
    case LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED:
    case LXW_ERROR_INVALID_SHEETNAME_CHARACTER:
    case LXW_ERROR_SHEETNAME_START_END_APOSTROPHE:
    case LXW_ERROR_SHEETNAME_ALREADY_USED:
        return QStringLiteral("neplatný název listu");
    case LXW_ERROR_32_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("text je delší než 32 znaků");
    case LXW_ERROR_128_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("text je delší než 128 znaků");
    case LXW_ERROR_255_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("text je delší než 255 znaků");
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("text je delší než 32 767 znaků");
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
        return QStringLiteral("leží mimo list");
    default:
        break;
    }
    return QStringLiteral("neplatná hodnota (kód chyby %1)").arg(int(error));
}

QuietLibraryConsole::QuietLibraryConsole()
{
    std::fflush(stderr);
    const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (sink < 0)
        return;
    m_saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (m_saved >= 0 && ::dup2(sink, STDERR_FILENO) < 0) {
        ::close(m_saved);
        m_saved = -1;
    }
    ::close(sink);
}

QuietLibraryConsole::~QuietLibraryConsole()
{
    if (m_saved < 0)
        return;
    std::fflush(stderr);
    ::dup2(m_saved, STDERR_FILENO);
    ::close(m_saved);
}

} // namespace kasovka::xlsx
