#include "xlsx/XlsxWriter.h"

#include "core/Error.h"
#include "core/OutputFile.h"
#include "core/PrivateFolder.h"
#include "workbook/Errors.h"
#include "workbook/TWorkbook.h"
#include "xlsx/detail/XlsxErrors.h"
#include "xlsx/detail/XlsxNames.h"
#include "xlsx/detail/XlsxSheet.h"
#include "xlsx/detail/XmlText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace kasovka {

using namespace kasovka::xlsx;

namespace {

// Above this many cells the sheet's XML may pass the 4 GB a plain ZIP entry holds.
constexpr qint64 kZip64Cells = 40'000'000;

// Closes (or, after a failure, still closes) the workbook exactly once.
class WorkbookHandle {
public:
    WorkbookHandle(const TOutputFile &output, lxw_workbook_options &options)
    {
        errno = 0;
        {
            QuietLibraryConsole quiet;
            m_workbook = workbook_new_opt(QFile::encodeName(output.privatePath()).constData(), &options);
        }
        if (!m_workbook)
            output.writeFailed();
    }
    ~WorkbookHandle()
    {
        // After a failure: the library still frees what it holds; what it
        // prints about the file it can no longer finish is not for the user.
        if (m_workbook) {
            QuietLibraryConsole quiet;
            workbook_close(m_workbook);
        }
    }
    lxw_workbook *get() const { return m_workbook; }
    lxw_error close()
    {
        lxw_workbook *workbook = std::exchange(m_workbook, nullptr);
        QuietLibraryConsole quiet;
        return workbook_close(workbook);
    }

private:
    lxw_workbook *m_workbook = nullptr;
};

qint64 cellCount(const TWorkbook &book, qint64 &rows)
{
    qint64 cells = 0;
    rows = 0;
    for (int i = 0; i < book.sheetCount(); ++i) {
        rows += qint64(book.sheet(i).rows().size());
        for (const RowData &row : book.sheet(i).rows())
            cells += qint64(row.cells.size());
    }
    return cells;
}

// The rest of the writing once the workbook object exists.
class BookWriter {
public:
    BookWriter(const TWorkbook &book, lxw_workbook *workbook, const TXlsxWriter::Progress &progress)
        : m_book(book), m_workbook(workbook), m_progress(progress),
          m_styles(BiffStyles::read(book.globals())), m_formats(workbook, m_styles),
          m_names(book)
    {
    }

    void write(qint64 totalRows)
    {
        // libxlsxwriter writes dates counted from 1900 only; numbers meant as
        // dates from 1904 would show four years off.
        if (m_styles.date1904())
            throw Error(QStringLiteral("Šablona počítá data od roku 1904, což formát .xlsx zde neumí; "
                                       "uložte sestavu ve formátu .xls."));
        m_total = totalRows;
        const auto &sheets = m_book.globals().sheets();
        QStringList names;
        for (int i = 0; i < m_book.sheetCount(); ++i) {
            const QString name = sheets[size_t(i)].name;
            if (m_book.sheet(i).isChart())
                throw Error(QStringLiteral("List \"%1\" je graf; grafy nelze uložit ve formátu .xlsx.").arg(name));
            writeSheet(addSheet(name, names), i, name);
            names.append(name);
            if (sheets[size_t(i)].state != 0)
                worksheet_hide(m_sheets.back());
        }
        const int active = m_book.globals().activeSheet();
        if (active >= 0 && active < int(m_sheets.size()))
            worksheet_activate(m_sheets[size_t(active)]);
        m_names.define(m_workbook);
    }

private:
    lxw_worksheet *addSheet(const QString &name, const QStringList &earlier)
    {
        if (const QString problem = sheetNameProblem(name, earlier); !problem.isEmpty())
            throw Error(QStringLiteral("List \"%1\" nelze uložit ve formátu .xlsx: %2.").arg(name, problem));
        lxw_worksheet *ws = nullptr;
        {
            // In constant-memory mode the sheet gets its scratch file here.
            QuietLibraryConsole quiet;
            ws = workbook_add_worksheet(m_workbook, xmlText(name, XmlPlace::Attribute).constData());
        }
        if (!ws)
            throw Error(QStringLiteral("List \"%1\" nelze uložit ve formátu .xlsx: pomocný soubor listu nelze "
                                       "vytvořit.").arg(name));
        m_sheets.push_back(ws);
        return ws;
    }

    void writeSheet(lxw_worksheet *ws, int index, const QString &name)
    {
        XlsxSheetWriter sheet(ws, m_formats, m_book, index, name, m_names.formulaContext());
        sheet.writeLayout(m_names.printNames(index));
        sheet.writeRows([this](int rows) {
            m_done += rows;
            if (m_progress)
                m_progress(m_done, m_total);
        });
    }

    const TWorkbook &m_book;
    lxw_workbook *m_workbook;
    const TXlsxWriter::Progress &m_progress;
    BiffStyles m_styles;
    XlsxFormats m_formats;
    XlsxNames m_names;
    std::vector<lxw_worksheet *> m_sheets;
    qint64 m_done = 0, m_total = 0;
};

// Title, subject and creator of docProps/core.xml; what is empty is left out.
lxw_error setProperties(lxw_workbook *workbook, const DocumentInfo &info)
{
    QByteArray title = xmlText(info.title, XmlPlace::Text);
    QByteArray subject = xmlText(info.subject, XmlPlace::Text);
    QByteArray author = xmlText(info.author, XmlPlace::Text);
    auto field = [](QByteArray &text) { return text.isEmpty() ? nullptr : text.data(); };
    lxw_doc_properties properties{};
    properties.title = field(title);
    properties.subject = field(subject);
    properties.author = field(author);
    return workbook_set_properties(workbook, &properties); // copies the texts
}

} // namespace

void TXlsxWriter::save(const TWorkbook &book, const QString &path, const Progress &progress,
                       const DocumentInfo &info)
{
    TOutputFile output(path);
    save(book, output, progress, info);
}

void TXlsxWriter::save(const TWorkbook &book, TOutputFile &output, const Progress &progress,
                       const DocumentInfo &info)
{
    output.open();
    qint64 rows = 0;
    bool rowByRow = true;
    for (int i = 0; i < book.sheetCount(); ++i)
        rowByRow = rowByRow && XlsxSheetWriter::writableRowByRow(book.sheet(i));
    // The library's scratch files go to this run's private folder.
    QByteArray tmpdir = QFile::encodeName(runTemporaryFolder());
    lxw_workbook_options options{};
    options.constant_memory = rowByRow ? LXW_TRUE : LXW_FALSE;
    options.tmpdir = tmpdir.data();
    options.use_zip64 = cellCount(book, rows) > kZip64Cells ? LXW_TRUE : LXW_FALSE;

    // The library opens the new file by name, inside the output's private
    // folder, where nobody else can put anything in its way.
    WorkbookHandle workbook(output, options);
    if (const lxw_error failed = setProperties(workbook.get(), info); failed != LXW_NO_ERROR)
        throw OutputError(QStringLiteral("Soubor %1 nelze zapsat: %2.").arg(output.displayPath(), libraryErrorText(failed)));
    BookWriter(book, workbook.get(), progress).write(rows);
    errno = 0;
    if (const lxw_error closed = workbook.close(); closed != LXW_NO_ERROR) {
        if (errno != 0)
            output.writeFailed();
        throw OutputError(QStringLiteral("Soubor %1 nelze zapsat: %2.").arg(output.displayPath(), libraryErrorText(closed)));
    }
    output.commit();
}

} // namespace kasovka
