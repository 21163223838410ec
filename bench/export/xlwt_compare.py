#!/usr/bin/python3
"""Side-by-side figure for the export benchmark: a general-purpose Python
writer producing a comparable Excel 97-2003 sheet from scratch.

Writes ROWS rows of 35 cells (number, date, two texts and 31 amounts in the
"# ##0.00" format, three of them filled as in the journal benchmark), saves
the workbook and prints one line "seconds=<elapsed> file_bytes=<size>".

    xlwt_compare.py OUT.xls [ROWS]
"""
import datetime
import os
import sys
import time

import xlwt


def main():
    if len(sys.argv) < 2:
        sys.stderr.write("usage: xlwt_compare.py OUT.xls [ROWS]\n")
        return 2
    target = sys.argv[1]
    rows = int(sys.argv[2]) if len(sys.argv) > 2 else 65536
    if not 1 <= rows <= 65536:
        sys.stderr.write("ROWS must lie in 1..65536 (one Excel 97-2003 sheet)\n")
        return 2

    started = time.perf_counter()
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Peněžní deník")
    # Stored with the comma grouping code, which a Czech locale shows as "# ##0,00".
    amount = xlwt.easyxf(num_format_str="#,##0.00")
    date = xlwt.easyxf(num_format_str="D.M.YYYY")
    first_day = datetime.date(2026, 1, 1)
    for row in range(rows):
        value = (1000000 + row * 137) / 10000.0
        sheet.write(row, 0, row)
        sheet.write(row, 1, first_day + datetime.timedelta(days=row % 365), date)
        sheet.write(row, 2, "FV%d/%d" % (row, 7000 + row))
        sheet.write(row, 3, "Úhrada faktury %d" % row)
        for column in range(4, 35):
            filled = column in (4, 10, 13)
            sheet.write(row, column, value if filled else 0.0, amount)
        # Keeps the row records from piling up in memory, as a large sheet needs.
        if row % 1000 == 999:
            sheet.flush_row_data()
    book.save(target)
    elapsed = time.perf_counter() - started
    print("seconds=%.3f file_bytes=%d" % (elapsed, os.path.getsize(target)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
