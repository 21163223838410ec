// Comments and images of the workbook object, found by the row of their
// anchor on the active sheet.

#include "workbook/Workbook.h"

#include "core/Error.h"
#include "workbook/Errors.h"
#include "workbook/TWorkbook.h"

namespace kasovka {

namespace {

template <typename List>
void checkIndex(const List &list, int row, int index)
{
    if (index < 0 || index >= int(list.size()))
        throw Error(xlstext::invalidRow(row));
}

} // namespace

int TXLSFile::commentCount(int row) const
{
    return int(activeWorkSheet().drawing().notesInRow(row - 1).size());
}

QString TXLSFile::commentText(int row, int index) const
{
    const SheetDrawing &d = activeWorkSheet().drawing();
    const auto notes = d.notesInRow(row - 1);
    checkIndex(notes, row, index);
    return d.noteText(notes[index]);
}

void TXLSFile::setCommentText(int row, int index, const QString &text)
{
    SheetDrawing &d = activeWorkSheet().drawing();
    const auto notes = d.notesInRow(row - 1);
    checkIndex(notes, row, index);
    if (text.isEmpty())
        m_book->removeComment(m_active - 1, notes[index]);
    else
        d.setNoteText(notes[index], text);
}

int TXLSFile::imageCount(int row) const
{
    return int(activeWorkSheet().drawing().imagesInRow(row - 1).size());
}

QString TXLSFile::imageName(int row, int index) const
{
    const auto images = activeWorkSheet().drawing().imagesInRow(row - 1);
    checkIndex(images, row, index);
    return images[index]->name;
}

void TXLSFile::setImage(int row, int index, XlsImageType type, const QByteArray &data)
{
    const auto images = activeWorkSheet().drawing().imagesInRow(row - 1);
    checkIndex(images, row, index);
    m_book->replacePicture(m_active - 1, *images[index], type, data);
}

QList<XlsCommentEntry> TXLSFile::comments() const
{
    const SheetDrawing &d = activeWorkSheet().drawing();
    QList<XlsCommentEntry> out;
    for (int n : d.allNotes())
        out.append({d.noteRow(n) + 1, d.noteColumn(n) + 1, d.noteText(n)});
    return out;
}

QList<XlsImageEntry> TXLSFile::images() const
{
    const SheetDrawing &d = activeWorkSheet().drawing();
    QList<XlsImageEntry> out;
    for (const auto *s : d.allImages())
        out.append({d.anchorRow(*s) + 1, s->name});
    return out;
}

} // namespace kasovka
