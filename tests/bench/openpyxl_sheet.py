#!/usr/bin/env python3
"""openpyxl doing the benchmark's work: write the timetable sheet, then read its block back.

Usage: openpyxl_sheet.py write OUT.xlsx ROUNDS | read IN.xlsx ROUNDS
Prints the median time of one round in milliseconds: elapsed, then the processor time used.
"""

import statistics
import sys
import time

import openpyxl
from openpyxl.styles import Alignment

FIRST_ROW, ROWS, COLUMNS = 7, 2040, 8


def entry(i):
    exception = i % 3 == 0
    return [50 + i % 4 if exception else i % 4, 1 + i % 12 if exception else 0,
            0 if exception else 1 + i % 7, 1 + i % 28 if exception else 0,
            i % 24, i % 60, 1 + i % 4, "dev-%d" % i]


def write(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    shrink = Alignment(shrink_to_fit=True)
    for n, note in ((2, "normal"), (3, "exception"), (4, "weekday")):
        ws.merge_cells(start_row=n, start_column=1, end_row=n, end_column=COLUMNS)
        ws.cell(n, 1, note).alignment = shrink
    for c in range(1, COLUMNS + 1):
        ws.cell(6, c, "caption %d" % c)
        ws.column_dimensions[openpyxl.utils.get_column_letter(c)].width = 10
    for i in range(ROWS):
        for c, value in enumerate(entry(i), 1):
            cell = ws.cell(FIRST_ROW + i, c, value)
            cell.alignment = shrink
    wb.save(path)


def read(path):
    wb = openpyxl.load_workbook(path, read_only=True)
    ws = wb.worksheets[0]
    cells = sum(1 for row in ws.iter_rows(min_row=1, max_row=FIRST_ROW + ROWS - 1,
                                          max_col=COLUMNS, values_only=True) for v in row
                if v is not None)
    wb.close()
    return cells


def main():
    work, path, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
    times, cpu_times = [], []
    for _ in range(rounds):
        start, cpu_start = time.perf_counter(), time.process_time()
        (write if work == "write" else read)(path)
        times.append((time.perf_counter() - start) * 1000)
        cpu_times.append((time.process_time() - cpu_start) * 1000)
    print("%.1f %.1f" % (statistics.median(times), statistics.median(cpu_times)))


if __name__ == "__main__":
    main()
