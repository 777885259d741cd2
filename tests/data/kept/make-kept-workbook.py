#!/usr/bin/python3
"""Makes kept-features.xls: a workbook written by LibreOffice that holds what shop keepers add to
their workbooks in a spreadsheet program, so that the tests can check a save keeps it.

usage: make-kept-workbook.py [OUT.xls]     (default: kept-features.xls beside this script)

Needs LibreOffice Calc and python3-uno (Debian). The .xls it makes is kept in the repository, so
the tests themselves need neither.

Sheet "Стоки" (rows 1-based):
  row 1   headings; the panes are frozen below it; zoom 150 %
  row 2   a row the tests delete: every feature below it must move up by one
  A3:B6   numbers; C3:C6 the array formula {=A3:A6*B3:B6}
  A4      a note;  D3 a hyperlink;  B3:B6 a conditional format;  E3:E6 a validation list
  G3:H6   a data table: H3 = G8*10 (G8 is its input), G4:G6 inputs, H4:H6 MULTIPLE.OPERATIONS
  F3      a cell in a named style with its own number format; A3 with a custom colour
  rows 9-12   a picture; rows 14-24 a chart
  the sheet is protected, its tab is red, its page is landscape at 80 % with margins, header,
  footer and grid lines printed; a row page break before row 30
Sheet "Външни": A1 names a cell of another workbook (its value is cached in the file).
The workbook's structure is protected.

LibreOffice without a screen writes no panes and no zoom (they come from a view it does not
make), and it encrypts a workbook whose structure is protected. So the script adds those three as
Excel writes them to the file LibreOffice wrote: the first sheet's WINDOW2 says its panes are
frozen, SCL (150 %) and PANE (below row 1) follow it, and WINDOWPROTECT and PROTECT saying 1
come before the workbook's WINDOW1. The records LibreOffice wrote stay as they are.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

import uno
from com.sun.star.beans import PropertyValue

HERE = os.path.dirname(os.path.abspath(__file__))


def struct_(name, *fields):
    return uno.createUnoStruct(name, *fields)


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def png(path, width=16, height=16):
    rows = b''.join(b'\x00' + bytes(b for x in range(width) for b in (200, (x * 16) % 256, 40))
                   for _ in range(height))
    chunk = lambda kind, data: struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
                + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def connect(tmp):
    pipe = 'kept%d' % os.getpid()
    office = subprocess.Popen(['soffice', '-env:UserInstallation=file://' + tmp + '/profile', '--headless',
                               '--invisible', '--norestore', '--accept=pipe,name=%s;urp;' % pipe],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext('com.sun.star.bridge.UnoUrlResolver', local)
    for _ in range(120):
        try:
            ctx = resolver.resolve('uno:pipe,name=%s;urp;StarOffice.ComponentContext' % pipe)
            return office, ctx, ctx.ServiceManager.createInstanceWithContext('com.sun.star.frame.Desktop', ctx)
        except Exception:
            time.sleep(0.5)
    office.kill()
    sys.exit('LibreOffice did not start')


def other_workbook(desktop, path):
    doc = desktop.loadComponentFromURL('private:factory/scalc', '_blank', 0, (prop('Hidden', True),))
    doc.Sheets.getByIndex(0).getCellRangeByName('A1').setValue(42)
    doc.storeToURL(uno.systemPathToFileUrl(path), (prop('FilterName', 'calc8'),))
    doc.close(True)


def build(ctx, desktop, out, tmp):
    other = os.path.join(tmp, 'other.ods')
    other_workbook(desktop, other)
    picture = os.path.join(tmp, 'logo.png')
    png(picture)

    doc = desktop.loadComponentFromURL('private:factory/scalc', '_blank', 0, (prop('Hidden', True),))
    sheets = doc.Sheets
    sheet = sheets.getByIndex(0)
    sheet.Name = 'Стоки'
    sheets.insertNewByName('Външни', 1)
    cell = sheet.getCellRangeByName

    for col, text in zip('ABCDEFGH', ['Брой', 'Цена', 'Сума', 'Връзка', 'Мярка', 'Стил', 'Вход', 'Таблица']):
        cell(col + '1').setString(text)
    cell('A2').setString('ред за триене')
    for i, (a, b) in enumerate([(1, 2), (3, 4), (5, 6), (7, 8)]):
        cell('A%d' % (3 + i)).setValue(a)
        cell('B%d' % (3 + i)).setValue(b)
    cell('C3:C6').setArrayFormula('=A3:A6*B3:B6')

    # A note on A4.
    sheet.Annotations.insertNew(cell('A4').CellAddress, 'Бележка за A4')

    # A hyperlink in D3.
    d3 = cell('D3')
    field = doc.createInstance('com.sun.star.text.TextField.URL')
    field.URL = 'https://example.com/stoki'
    field.Representation = 'Сайт'
    d3.Text.insertTextContent(d3.Text.createTextCursor(), field, False)

    # A conditional format on B3:B6: values over 5 in the style "Bad".
    b = cell('B3:B6')
    cf = b.ConditionalFormat
    cf.addNew((prop('Operator', uno.Enum('com.sun.star.sheet.ConditionOperator', 'GREATER')),
               prop('Formula1', '5'), prop('StyleName', 'Bad')))
    b.ConditionalFormat = cf

    # A validation list on E3:E6.
    e = cell('E3:E6')
    v = e.Validation
    v.Type = uno.Enum('com.sun.star.sheet.ValidationType', 'LIST')
    v.setFormula1('"бр";"кг";"л"')
    v.ShowErrorMessage = True
    v.ErrorMessage = 'Изберете мярка'
    e.Validation = v
    for r in range(3, 7):
        cell('E%d' % r).setString('бр')

    # A data table: H3 = G8*10 with G8 as its input, over G4:G6.
    cell('G8').setValue(1)
    cell('H3').setFormula('=G8*10')
    for r, x in zip(range(4, 7), (2, 3, 4)):
        cell('G%d' % r).setValue(x)
    cell('G4:H6').setTableOperation(cell('H3').RangeAddress, uno.Enum('com.sun.star.sheet.TableOperationMode', 'COLUMN'), cell('G8').CellAddress, cell('G8').CellAddress)

    # A named cell style with its own number format, and a custom colour.
    styles = doc.StyleFamilies.getByName('CellStyles')
    style = doc.createInstance('com.sun.star.style.CellStyle')
    styles.insertByName('Цена в евро', style)
    formats = doc.NumberFormats
    locale = uno.createUnoStruct('com.sun.star.lang.Locale')
    code = '#,##0.000" €"'
    key = formats.queryKey(code, locale, False)
    if key < 0:
        key = formats.addNew(code, locale)
    style.NumberFormat = key
    style.CellBackColor = 0xFFF2CC
    cell('F3').setValue(12.5)
    cell('F3').CellStyle = 'Цена в евро'
    cell('A3').CellBackColor = 0x123456

    # A picture over rows 9-12 and a chart over rows 14-24.
    provider = ctx.ServiceManager.createInstanceWithContext('com.sun.star.graphic.GraphicProvider', ctx)
    shape = doc.createInstance('com.sun.star.drawing.GraphicObjectShape')
    shape.Graphic = provider.queryGraphic((prop('URL', uno.systemPathToFileUrl(picture)),))
    sheet.DrawPage.add(shape)
    anchor = cell('B9').Position
    shape.Position = struct_('com.sun.star.awt.Point', anchor.X, anchor.Y)
    shape.Size = struct_('com.sun.star.awt.Size', 2000, 1800)
    rect = struct_('com.sun.star.awt.Rectangle', cell('A14').Position.X, cell('A14').Position.Y, 8000, 5000)
    sheet.Charts.addNewByName('Продажби', rect, (cell('A1:B6').RangeAddress,), True, False)

    # Page setup of the sheet's page style.
    page = doc.StyleFamilies.getByName('PageStyles').getByName(sheet.PageStyle)
    page.IsLandscape = True
    page.Width, page.Height = page.Height, page.Width
    page.PageScale = 80
    page.LeftMargin = 1500
    page.TopMargin = 2500
    page.PrintGrid = True
    header = page.RightPageHeaderContent
    header.CenterText.setString('Стоки на магазина')
    page.RightPageHeaderContent = header
    footer = page.RightPageFooterContent
    footer.CenterText.setString('Страница')
    page.RightPageFooterContent = footer
    sheet.Rows.getByIndex(29).IsStartOfNewPage = True

    # Another workbook's cell, cached in the file.
    ext = sheets.getByName('Външни')
    ext.getCellRangeByName('A1').setFormula("='%s'#$Sheet1.A1" % uno.systemPathToFileUrl(other))
    ext.getCellRangeByName('A2').setFormula('=A1*2')

    sheet.TabColor = 0xFF0000
    sheet.protect('')
    doc.calculateAll()
    doc.storeToURL(uno.systemPathToFileUrl(out), (prop('FilterName', 'MS Excel 97'),))
    doc.close(True)


def records(data):
    pos = 0
    while pos + 4 <= len(data):
        rt, ln = struct.unpack('<HH', data[pos:pos + 4])
        yield pos, rt, data[pos + 4:pos + 4 + ln]
        pos += 4 + ln


def record(rt, data):
    return struct.pack('<HH', rt, len(data)) + data


def add_view_and_protection(stream):
    """The Workbook stream with frozen panes and zoom on the first sheet and the workbook's
    structure protected; the sheets' offsets in BOUNDSHEET follow the records moved."""
    out, moved = bytearray(), {}
    sheet = -1   # substreams begun: 0 globals, 1 first sheet
    depth = 0
    for pos, rt, data in records(stream):
        moved[pos] = len(out)
        if rt == 0x0809:
            depth += 1
            if depth == 1:
                sheet += 1
        if rt == 0x000A:
            depth -= 1
        if sheet == 0 and rt in (0x0012, 0x0019):   # PROTECT, WINDOWPROTECT: written below
            continue
        if sheet == 0 and rt == 0x003D:   # before WINDOW1: the workbook's windows and structure locked
            out += record(0x0019, struct.pack('<H', 1)) + record(0x0012, struct.pack('<H', 1))
        if sheet == 1 and depth == 1 and rt == 0x023E:   # WINDOW2: frozen panes, no split
            flags = struct.unpack('<H', data[:2])[0] | 0x0008 | 0x0100
            out += record(rt, struct.pack('<H', flags) + data[2:])
            out += record(0x00A0, struct.pack('<HH', 3, 2))                  # SCL: 3/2 = 150 %
            out += record(0x0041, struct.pack('<HHHHBB', 0, 1, 1, 0, 2, 0))  # PANE below row 1
            continue
        out += record(rt, data)
    for pos, rt, data in records(bytes(out)):
        if rt == 0x0085:   # BOUNDSHEET: where its sheet begins
            old = struct.unpack('<I', out[pos + 4:pos + 8])[0]
            out[pos + 4:pos + 8] = struct.pack('<I', moved[old])
    return bytes(out)


def compound_file(stream):
    """A compound file holding only the Workbook stream (at least 4,096 bytes, as writers pad it)."""
    sector = 512
    stream = stream + b'\0' * (max(4096, -(-len(stream) // sector) * sector) - len(stream))
    data_sectors = len(stream) // sector
    fat_sectors = 1
    while (data_sectors + fat_sectors + 1) > fat_sectors * 128:
        fat_sectors += 1
    end, free, fat_mark = 0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFD
    fat = [i + 1 for i in range(data_sectors - 1)] + [end] + [fat_mark] * fat_sectors + [end]
    fat += [free] * (fat_sectors * 128 - len(fat))
    dir_sector = data_sectors + fat_sectors

    def entry(name, kind, child, start, size):
        encoded = (name + '\0').encode('utf-16-le')
        return (encoded.ljust(64, b'\0') + struct.pack('<HBB', len(encoded), kind, 1)
                + struct.pack('<III', free, free, child) + b'\0' * 16 + b'\0' * 4 + b'\0' * 16
                + struct.pack('<IQ', start, size))
    directory = entry('Root Entry', 5, 1, end, 0) + entry('Workbook', 2, free, 0, len(stream))
    directory = directory.ljust(sector, b'\0')
    difat = [data_sectors + i for i in range(fat_sectors)] + [free] * (109 - fat_sectors)
    header = (bytes.fromhex('D0CF11E0A1B11AE1') + b'\0' * 16 + struct.pack('<HHHHH', 0x3E, 3, 0xFFFE, 9, 6)
              + b'\0' * 6 + struct.pack('<IIIIIIIII', 0, fat_sectors, dir_sector, 0, 4096, end, 0, end, 0)
              + struct.pack('<109I', *difat))
    return header + stream + struct.pack('<%dI' % len(fat), *fat) + directory


def finish(path):
    import olefile
    with olefile.OleFileIO(path) as ole:
        stream = ole.openstream('Workbook').read()
    with open(path, 'wb') as f:
        f.write(compound_file(add_view_and_protection(stream)))


def main():
    out = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, 'kept-features.xls'))
    tmp = tempfile.mkdtemp()
    office, ctx, desktop = connect(tmp)
    try:
        build(ctx, desktop, out, tmp)
    finally:
        try:
            desktop.terminate()
        except Exception:
            pass
        try:
            office.wait(30)
        except subprocess.TimeoutExpired:
            office.kill()
        shutil.rmtree(tmp, ignore_errors=True)
    finish(out)
    print(out)


if __name__ == '__main__':
    main()
