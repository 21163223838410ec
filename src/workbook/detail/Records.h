#pragma once
// BIFF8 records of the "Workbook" stream ([MS-XLS] 2.1.4): a 2-byte id, a
// 2-byte size and at most 8224 bytes of data; longer data continues in
// CONTINUE records, which the reader attaches to the record they extend.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace kasovka::detail {

namespace rid {
constexpr uint16_t Formula = 0x0006, Eof = 0x000A, CalcCount = 0x000C, Note = 0x001C, ExternName = 0x0023;
constexpr uint16_t Name = 0x0018, ExternSheet = 0x0017, HorizontalBreaks = 0x001B;
constexpr uint16_t VerticalBreaks = 0x001A, FilePass = 0x002F, Continue = 0x003C;
constexpr uint16_t Window1 = 0x003D, DefColWidth = 0x0055, Obj = 0x005D, ColInfo = 0x007D;
constexpr uint16_t BoundSheet = 0x0085, MulRk = 0x00BD, MulBlank = 0x00BE;
constexpr uint16_t RString = 0x00D6, DbCell = 0x00D7, MergedCells = 0x00E5;
constexpr uint16_t MsoDrawingGroup = 0x00EB, MsoDrawing = 0x00EC, Sst = 0x00FC;
constexpr uint16_t LabelSst = 0x00FD, ExtSst = 0x00FF, SupBook = 0x01AE, Txo = 0x01B6;
constexpr uint16_t Dimensions = 0x0200, Blank = 0x0201, Number = 0x0203, Label = 0x0204;
constexpr uint16_t BoolErr = 0x0205, String = 0x0207, Row = 0x0208, Index = 0x020B;
constexpr uint16_t Array = 0x0221, Window2 = 0x023E, Table = 0x0236, Rk = 0x027E;
constexpr uint16_t SharedFormula = 0x04BC, Bof = 0x0809;
} // namespace rid

constexpr int kMaxRecordData = 8224;

struct BiffRecord {
    static constexpr uint32_t kMade = UINT32_MAX;

    uint16_t id = 0;
    QByteArray data;
    std::vector<QByteArray> continues;
    uint32_t offset = kMade; // stream position of the header as read

    // Stream position of byte `at` of the joined data, for error texts.
    qsizetype streamPos(qsizetype at) const;

    // Data with its continuations appended.
    QByteArray joined() const;
    // Stores edited joined data back, split where the original was split
    // (the size must not have changed).
    void setJoined(const QByteArray &bytes);
    qsizetype streamSize() const;
    void appendTo(QByteArray &out) const;
};

// The record's name in error texts ("NOTE", "ROW", or its id in hex).
QString recordName(uint16_t id);
// Throws the damaged-records error naming the record, the stream position
// of byte `at` of its joined data, and what was wrong there.
[[noreturn]] void throwDamaged(const BiffRecord &rec, qsizetype at, const QString &what);

// Appends one record, splitting data longer than a record can hold into
// CONTINUE records.
void appendRecord(QByteArray &out, uint16_t id, const QByteArray &data);

// A record holding `data`, split into CONTINUE records where it is longer
// than a record can hold.
BiffRecord splitRecord(uint16_t id, const QByteArray &data);

// Splits a stream into records; throws `error` for a record cut short.
std::vector<BiffRecord> readRecords(const QByteArray &stream, const QString &error);

} // namespace kasovka::detail
