#!/usr/bin/python3
"""The reference for xlsx_bench: openpyxl writing the same cells in write-only mode.

  xlsx_openpyxl.py template OUT.xlsx   writes the one-sheet template the engine fills
  xlsx_openpyxl.py write ROWS OUT.xlsx writes ROWS rows of the six cells; prints the seconds taken
"""
import datetime
import sys
import time

import openpyxl


def rows(count):
    base = datetime.datetime(2024, 1, 1, 8, 0)
    return [(i, f'Client {i}', base + datetime.timedelta(minutes=i), i % 97, i * 1.25, f'login{i % 1000}')
            for i in range(count)]


def template(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = 'Bench'
    ws.append(['No', 'Client', 'Last visit', 'Visits', 'Amount', 'Login'])
    ws.append(['{=NO}', '{=CLIENT}', '{=VISIT}', '{=VISITS}', '{=AMOUNT}', '{=LOGIN}'])
    ws['C2'].number_format = 'dd.mm.yyyy hh:mm'
    ws['E2'].number_format = '#,##0.00'
    wb.save(path)


def write(count, path):
    data = rows(count)
    start = time.perf_counter()
    wb = openpyxl.Workbook(write_only=True)
    ws = wb.create_sheet('Bench')
    ws.append(['No', 'Client', 'Last visit', 'Visits', 'Amount', 'Login'])
    # Plain values, its fastest path (a date-time still gets a date format).
    for row in data:
        ws.append(row)
    wb.save(path)
    print(time.perf_counter() - start)


if __name__ == '__main__':
    if sys.argv[1] == 'template':
        template(sys.argv[2])
    else:
        write(int(sys.argv[2]), sys.argv[3])
