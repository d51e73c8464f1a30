#!/usr/bin/python3
"""Reads a workbook the report engine wrote, independently of it, and prints what it holds as JSON.

openpyxl gives each cell's value with its type, number format and formula, and (a second load with
data_only) the cached value; the texts are decoded again here from the raw XML, and every SUBTOTAL is
recomputed from the cells of its range. The package check: every part well-formed and declared in
[Content_Types].xml, every relationship target present.
"""
import datetime
import json
import posixpath
import re
import sys
import zipfile
import xml.etree.ElementTree as ET

import openpyxl
from openpyxl.utils import range_boundaries, get_column_letter

MAIN = '{http://schemas.openxmlformats.org/spreadsheetml/2006/main}'
ESCAPE = re.compile(r'_x([0-9A-Fa-f]{4})_')


def decode(text):
    return ESCAPE.sub(lambda m: chr(int(m.group(1), 16)), text)


def check_package(path):
    errors = []
    with zipfile.ZipFile(path) as z:
        names = z.namelist()
        if len(names) != len(set(names)):
            errors.append('duplicate entries')
        parsed = {}
        for name in names:
            if name.endswith('.xml') or name.endswith('.rels'):
                try:
                    parsed[name] = ET.fromstring(z.read(name))
                except ET.ParseError as e:
                    errors.append(f'{name}: not well-formed: {e}')
        types = parsed.get('[Content_Types].xml')
        if types is None:
            return ['no [Content_Types].xml'], z.read
        ns = '{http://schemas.openxmlformats.org/package/2006/content-types}'
        defaults = {d.get('Extension').lower() for d in types.iter(ns + 'Default')}
        overrides = {o.get('PartName').lstrip('/') for o in types.iter(ns + 'Override')}
        for part in overrides:
            if part not in names:
                errors.append(f'declared part {part} is missing')
        for name in names:
            if name == '[Content_Types].xml' or name.endswith('/'):
                continue
            if name not in overrides and name.rsplit('.', 1)[-1].lower() not in defaults:
                errors.append(f'{name} is not declared in [Content_Types].xml')
        rns = '{http://schemas.openxmlformats.org/package/2006/relationships}'
        for name, root in parsed.items():
            if not name.endswith('.rels'):
                continue
            folder = posixpath.dirname(posixpath.dirname(name))
            for rel in root.iter(rns + 'Relationship'):
                if rel.get('TargetMode') == 'External':
                    continue
                target = rel.get('Target')
                part = target.lstrip('/') if target.startswith('/') else posixpath.normpath(posixpath.join(folder, target))
                if part not in names:
                    errors.append(f'{name}: relationship {rel.get("Id")} points at missing {part}')
    return errors


def raw_texts(path, sheet_part):
    with zipfile.ZipFile(path) as z:
        shared = []
        if 'xl/sharedStrings.xml' in z.namelist():
            for si in ET.fromstring(z.read('xl/sharedStrings.xml')).iter(MAIN + 'si'):
                shared.append(decode(''.join(t.text or '' for t in si.iter(MAIN + 't'))))
        texts = {}
        for c in ET.fromstring(z.read(sheet_part)).iter(MAIN + 'c'):
            if c.get('t') == 's':
                texts[c.get('r')] = shared[int(c.find(MAIN + 'v').text)]
            elif c.get('t') == 'inlineStr':
                texts[c.get('r')] = decode(''.join(t.text or '' for t in c.iter(MAIN + 't')))
        return texts


def plain(value):
    if isinstance(value, (datetime.datetime, datetime.date)):
        return value.isoformat()
    return value


def subtotal(ws, formula):
    m = re.fullmatch(r'=SUBTOTAL\((\d+),([A-Z]+\d+:[A-Z]+\d+)\)', formula or '')
    if not m:
        return None
    code, area = int(m.group(1)), m.group(2)
    min_col, min_row, max_col, max_row = range_boundaries(area)
    values = []
    for row in ws.iter_rows(min_row=min_row, max_row=max_row, min_col=min_col, max_col=max_col):
        for cell in row:
            if cell.data_type == 'f' or cell.value is None:
                continue  # SUBTOTAL leaves other subtotals out
            values.append(cell.value)
    numbers = [v for v in values if isinstance(v, (int, float)) and not isinstance(v, bool)]
    if code == 9:
        return sum(numbers)
    if code == 2:
        return len(numbers)
    if code == 3:
        return len(values)
    if code == 1:
        return sum(numbers) / len(numbers) if numbers else None
    if code == 4:
        return max(numbers) if numbers else 0
    if code == 5:
        return min(numbers) if numbers else 0
    return None


def main():
    path = sys.argv[1]
    result = {'package_errors': check_package(path)}
    wb = openpyxl.load_workbook(path)
    cached = openpyxl.load_workbook(path, data_only=True)
    result['sheets'] = wb.sheetnames
    ws = wb.worksheets[0]
    cws = cached.worksheets[0]
    with zipfile.ZipFile(path) as z:
        sheet_part = [n for n in z.namelist() if n.startswith('xl/worksheets/sheet')][0]
    texts = raw_texts(path, sheet_part)
    cells = {}
    for row in ws.iter_rows():
        for cell in row:
            if cell.value is None and cell.coordinate not in texts:
                continue
            value = cell.value
            kind = 'd' if isinstance(value, datetime.datetime) else cell.data_type
            entry = {'type': kind, 'value': plain(value), 'format': cell.number_format}
            if cell.coordinate in texts:
                entry['text'] = texts[cell.coordinate]
            if kind == 'f':
                entry['cached'] = plain(cws[cell.coordinate].value)
                entry['recomputed'] = subtotal(ws, value)
            cells[cell.coordinate] = entry
    result['cells'] = cells
    result['merges'] = sorted(str(r) for r in ws.merged_cells.ranges)
    result['max_row'] = ws.max_row
    result['print_titles'] = ws.print_title_rows
    result['widths'] = {k: v.width for k, v in ws.column_dimensions.items() if v.width}
    json.dump(result, sys.stdout, ensure_ascii=False)


if __name__ == '__main__':
    main()
