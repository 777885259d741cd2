#!/usr/bin/env python3
"""Writes functions.fods, a sheet of formulas over the worksheet functions and awkward inputs, for
LibreOffice to compute and save as functions.xls, whose cached values the formula tests compare the
engine with:

    python3 make_oracle.py && soffice --headless --convert-to xls:"MS Excel 97" functions.fods

Sheet "Данни" columns A to F hold the inputs; column H of the same sheet the formulas, written
as the spreadsheet's English A1 formulas (translated below into the OpenDocument form). The
workbook defines the names of NAMES, which formulas use."""
import re
from xml.sax.saxutils import escape

# Inputs: (row, column letter, value); text is str, numbers int/float, booleans bool.
INPUTS = {
    'A': [5, 3, 8, 1, 9, 2, 7, 4, 6, 10],
    'B': ['ябълка', 'Круша', 'ёжик', 'Ѝ', 'apple', 'Apple pie', '5', '', 'a*b', 'иглолистно'],
    'C': [0.1, 0.2, 0.3, -1.5, 2.675, 1e15, 123456789.123, -0.0000001, 1e-300, 33],
    'D': [True, False, 'TRUE', '12%', '15.03.2024', '3:45 PM', ' 7 ', '1,5', 'x', '2024-03-15'],
    'E': [-1000, 300, 400, 500, 200, -100, 50, 60, 70, 80],
    'F': [45366, 45000.75, 1, 60, 61, 36526, 2958465, 0.5, 40000, 44000],
}

FORMULAS = r'''
SUM(A1:A10)
SUM(A1:A10,C1:C3)
SUM(D1:D2)
SUM(1,TRUE)
SUM("3",2)
0.1+0.2-0.3
0.1+0.2&""
1/3&""
C6+0.5&""
C7&"!"
0.1*3
ROUND(2.675,2)
ROUND(-1.5,0)
ROUND(C7,-3)
ROUND(1234567890123456789,2)
ROUNDUP(2.111,2)
ROUNDUP(-2.111,1)
ROUNDDOWN(2.999,2)
ROUNDDOWN(-2.999,0)
TRUNC(-7.9)
TRUNC(7.987,2)
INT(-7.5)
INT(7.5)
MOD(10,3)
MOD(-3,2)
MOD(3,-2)
MOD(5,0)
MOD(0.3,0.1)
CEILING(2.5,1)
CEILING(0.3,0.1)
CEILING(-2.5,-2)
CEILING(2.5,-1)
FLOOR(2.5,1)
FLOOR(-2.5,-2)
FLOOR(7,0)
SQRT(16)
SQRT(-1)
POWER(2,10)
POWER(0,-1)
2^-1
(-8)^(1/3)
10^-400
LN(EXP(2))
LN(0)
LOG(100)
LOG(8,2)
LOG(10,1)
LOG10(1000)
EXP(1)
PI()
SIGN(-3)
SIGN(0)
ABS(-2.5)
PRODUCT(A1:A4)
PRODUCT(B1:B3)
SUMIF(A1:A10,">5")
SUMIF(A1:A10,">5",E1:E10)
SUMIF(B1:B10,"apple*",A1:A10)
SUMIF(B1:B10,"5",A1:A10)
SUMIF(A1:A10,5,E1:E10)
SUMIF(B1:B10,"<>",A1:A10)
SUMIF(B1:B10,"",A1:A10)
SUMIF(F1:F10,">="&DATE(2024,1,1),A1:A10)
SUMPRODUCT(A1:A10,E1:E10)
SUMPRODUCT((A1:A10>5)*(E1:E10))
SUMPRODUCT((A1:A10>5)*1)
SUMPRODUCT(A1:A3,{1;2;3})
SUMPRODUCT({1,2,3},{4,5,6})
SUMPRODUCT(A1:A3,A1:A4)
SUMPRODUCT(--(B1:B10="apple"))
SUMPRODUCT(--ISNUMBER(SEARCH("a",B1:B10)))
SUMPRODUCT(LEN(B1:B10))
SUMPRODUCT(--(LEFT(B1:B10,1)="a"))
SUMPRODUCT(ROUND(C1:C5,1)*A1:A5)
SUMPRODUCT(ABS(E1:E10),{1;1;1;1;1;1;1;1;1;2})
SUBTOTAL(9,A1:A10)
SUBTOTAL(1,A1:A10)
SUBTOTAL(2,A1:A10,B1:B10)
SUBTOTAL(109,A1:A5)
LEN(B1)
LEN(C6)
LEN(C1+C2)
LEFT(B2,2)
LEFT(B2)
LEFT(B2,-1)
RIGHT(B6,3)
RIGHT(B6,100)
MID(B1,2,3)
MID(B1,10,3)
MID(B1,0,3)
FIND("a",B6)
FIND("A",B6)
FIND("z",B6)
FIND("",B6,3)
SEARCH("P*E",B6)
SEARCH("?ie",B6)
SEARCH("pie",B6,6)
SEARCH("x",B6)
SUBSTITUTE("a-b-c","-","+")
SUBSTITUTE("a-b-c","-","+",2)
SUBSTITUTE("a-b-c","","+")
REPLACE("abcdef",2,3,"X")
REPLACE("abc",10,1,"X")
TRIM("  a   b  ")
UPPER(B3)
LOWER("ЁЖИК Abc")
PROPER("иван петров-smith o'neil")
TEXT(1234.567,"#,##0.00")
TEXT(0.256,"0.0%")
TEXT(-5,"0;(0)")
TEXT("abc","0.00")
TEXT(3.14159,"0.000")
TEXT(F1,"dd.mm.yyyy")
TEXT(F2,"yyyy-mm-dd hh:mm:ss")
TEXT(F8,"h:mm AM/PM")
TEXT(F1,"mmmm d, yy")
TEXT(F1,"ddd")
TEXT(F4,"d.m.yyyy")
VALUE("12.5")
VALUE("12%")
VALUE("abc")
VALUE("3:45 PM")
CONCATENATE("a",1,TRUE,C1+C2)
CONCATENATE(B1," ",B2)
FIXED(1234.567)
FIXED(1234.567,1,TRUE)
FIXED(-1234.567,-2)
REPT("ab",3)
REPT("ab",-1)
CHAR(65)
CODE("A")
CODE("")
EXACT("Abc","abc")
EXACT("abc","abc")
CLEAN("a"&CHAR(9)&"b")
T(B1)
T(A1)
DATE(2024,3,15)
DATE(2024,14,35)
DATE(2024,0,0)
DATE(99,1,1)
DATE(1900,2,29)
YEAR(F1)
MONTH(F1)
DAY(F1)
YEAR(F3)
DAY(F4)
MONTH(F4)
DAY(F5)
WEEKDAY(F1)
WEEKDAY(F1,2)
WEEKDAY(F1,3)
WEEKDAY(F3)
DATEVALUE("2024-03-15")
TIME(15,45,30)
TIME(25,0,0)
HOUR(F2)
MINUTE(0.7543)
SECOND(0.7543)
HOUR(F8)
TIMEVALUE("3:45 PM")
TIMEVALUE("15:45:30")
DAYS360(F1,F10)
DAYS360(DATE(2024,1,31),DATE(2024,3,31))
DAYS360(DATE(2024,1,31),DATE(2024,3,31),TRUE)
DAYS360(DATE(2024,2,29),DATE(2024,3,31))
VLOOKUP(3,A1:E10,5,FALSE)
VLOOKUP(11,A1:E10,5,FALSE)
VLOOKUP("круша",B1:E10,2,FALSE)
VLOOKUP("a?b",B1:E10,4,FALSE)
VLOOKUP(5,A1:E10,6,FALSE)
VLOOKUP(5,A1:E10,0,FALSE)
VLOOKUP(4.5,{1,"a";3,"b";5,"c"},2)
VLOOKUP(7,{1,"a";3,"b";5,"c"},2,TRUE)
VLOOKUP(0,{1,"a";3,"b";5,"c"},2,TRUE)
HLOOKUP(3,{1,2,3;"x","y","z"},2,FALSE)
HLOOKUP(2.5,{1,2,3;"x","y","z"},2)
LOOKUP(4.5,{1,3,5},{"a","b","c"})
LOOKUP(6,{1,3,5;10,30,50})
LOOKUP(0,{1,3,5},{"a","b","c"})
MATCH(9,A1:A10,0)
MATCH(100,A1:A10,0)
MATCH("ёжик",B1:B10,0)
MATCH("Круш*",B1:B10,0)
MATCH(4.5,{1,3,5,7},1)
MATCH(4.5,{7,5,3,1},-1)
MATCH(4,{1,3,5,7})
MATCH(3,A1:B2,0)
INDEX(A1:E10,3,5)
INDEX(A1:A10,4)
INDEX({1,2,3},2)
INDEX({1,2;3,4},2,1)
INDEX(A1:E10,11,1)
SUM(INDEX(A1:E10,0,1))
SUM(INDEX(A1:E10,2,0))
CHOOSE(2,"a","b","c")
CHOOSE(4,"a","b","c")
SUM(CHOOSE(2,A1:A3,E1:E3))
SUM(OFFSET(A1,1,0,3,1))
OFFSET(A1,2,4)
OFFSET(A1,-1,0)
SUM(INDIRECT("A1:A3"))
INDIRECT("E"&2)
INDIRECT("R2C5",FALSE)
INDIRECT("nonsense")
ROW(C5)
ROWS(A1:E10)
COLUMN(D2)
COLUMNS(A1:E10)
ROWS({1,2;3,4;5,6})
ADDRESS(3,4)
ADDRESS(3,4,4)
ADDRESS(3,4,2)
ADDRESS(3,4,1,FALSE)
ADDRESS(3,4,4,FALSE)
AND(TRUE,1)
AND(D1:D2)
AND(A1:A3)
OR(FALSE,0)
OR(D1:D2)
OR(B1:B2)
NOT(0)
NOT("x")
TRUE()
FALSE()
IF(A1>4,"big","small")
IF(A1,"yes")
IF(B1,1,2)
ISBLANK(B8)
ISBLANK(G1)
ISERROR(1/0)
ISERROR(1)
ISNA(NA())
ISNA(1/0)
ISERR(NA())
ISERR(1/0)
ISNUMBER(A1)
ISNUMBER(B7)
ISTEXT(B7)
ISTEXT(A1)
ISLOGICAL(D1)
ISLOGICAL(D3)
ISNONTEXT(G1)
ISNONTEXT(B1)
ISREF(A1)
ISREF(1)
N(A1)
N(D1)
N(B1)
TYPE(A1)
TYPE(B1)
TYPE(D1)
TYPE(1/0)
TYPE({1,2})
COUNT(A1:F10)
COUNT(1,"2","x",TRUE)
COUNTA(A1:F10)
COUNTBLANK(A1:G10)
COUNTIF(B1:B10,"apple")
COUNTIF(B1:B10,"APPLE*")
COUNTIF(B1:B10,"<>apple")
COUNTIF(B1:B10,5)
COUNTIF(B1:B10,"5")
COUNTIF(A1:A10,">="&A5)
COUNTIF(A1:A10,"<>5")
COUNTIF(B1:B10,">к")
COUNTIF(B1:B10,"<=ё*")
COUNTIF(D1:D10,TRUE)
COUNTIF(D1:D10,"TRUE")
COUNTIF(F1:F10,">"&DATE(2023,1,1))
COUNTIF(B1:B10,"~*")
COUNTIF(B1:B10,"a~*b")
COUNTIF(B1:B10," 5")
AVERAGE(A1:A10)
AVERAGE(B1:B3)
AVERAGEA(A1:B3)
AVERAGEA(D1:D2)
MIN(A1:A10)
MAX(A1:A10)
MIN(B1:B3)
MINA(D1:D2,5)
MAXA(D1:D2,-5)
LARGE(A1:A10,2)
LARGE(A1:A10,11)
SMALL(A1:A10,3)
SMALL(E1:E10,1)
RANK(7,A1:A10)
RANK(7,A1:A10,1)
RANK(7.5,A1:A10)
MEDIAN(A1:A10)
MEDIAN(A1:A9)
MODE(1,2,2,3,3)
MODE(1,2,3)
STDEV(A1:A10)
STDEVP(A1:A10)
VAR(A1:A10)
VARP(A1:A10)
STDEV(1)
PMT(0.05/12,36,10000)
PMT(0,10,1000)
PMT(0.05/12,36,10000,0,1)
PV(0.08/12,240,-500)
PV(0,10,-100)
FV(0.06/12,10,-200,-500,1)
FV(0,10,-100)
NPV(0.1,E2:E5)
NPV(0.1,-10000,3000,4200,6800)
IRR(E1:E6)
IRR({-100,10,110})
IRR({100,10,110})
IRR({-70000,12000,15000,18000,21000,26000})
RATE(48,-200,8000)
RATE(10,-100,1000,0,1)
RATE(60,-1000,50000,0,0,0.01)
NPER(0.12/12,-100,-1000,10000,1)
NPER(0,-100,1000)
IPMT(0.1/12,1,36,8000)
IPMT(0.1,3,3,8000)
IPMT(0.1,4,3,8000)
PPMT(0.1/12,1,24,2000)
PPMT(0.08,10,10,200000,0,1)
SLN(30000,7500,10)
SYD(30000,7500,10,1)
DDB(2400,300,10,1)
DDB(2400,300,10,10)
DDB(2400,300,10,2,1.5)
"12%"+1
"15.03.2024"+0
"3:45 PM"*24
" 7 "+1
"1,5"+1
"x"+1
D3+0
0^0
"a"<"b"
"a"="A"
"ё"<"ж"
"е"<"ё"
"и"<"ѝ"
"ѝ"<"й"
"Z"<"а"
"10"<"9"
1<"1"
TRUE>1
"abc"<>"ABC"
A1&B1&D1
1E+20&""
-0.5&""
SUM(Цени)
AVERAGE(Цени)*2
VLOOKUP(3,Таблица,2,FALSE)
INDEX(Таблица,2,5)
ROUND(100/Курс,2)
Първа+1
ОбщоЦени-1
SUMPRODUCT(Двойни)
COUNTIF(Цени,">5")
ISERROR(Цени)
'''.strip().splitlines()

# Totals over the SUBTOTAL formulas above, which SUBTOTAL leaves out and SUM does not.
_subtotals = 'H%d:H%d' % (FORMULAS.index('SUBTOTAL(9,A1:A10)') + 1, FORMULAS.index('SUBTOTAL(109,A1:A5)') + 1)
FORMULAS += ['SUBTOTAL(9,%s)' % _subtotals, 'SUBTOTAL(3,%s)' % _subtotals, 'SUM(%s)' % _subtotals]

# Names of the workbook: ranges (name, its cells) and expressions (name, its formula).
NAMED_RANGES = [('Цени', '$Данни.$A$1:.$A$10'), ('Таблица', '$Данни.$A$1:.$E$10'), ('Първа', '$Данни.$A$1')]
NAMED_EXPRESSIONS = [('Курс', '1.95583'), ('ОбщоЦени', 'SUM(Цени)'), ('Двойни', '[$Данни.$A$1:.$A$10]*2')]

def ods_formula(excel):
    """The English A1 formula as OpenFormula: [.A1] references, ';' between arguments, array
    rows split by '|'."""
    out, i, in_array = [], 0, False
    while i < len(excel):
        c = excel[i]
        if c == '"':
            j = excel.index('"', i + 1)
            while j + 1 < len(excel) and excel[j + 1] == '"':
                j = excel.index('"', j + 2)
            out.append(excel[i:j + 1]); i = j + 1; continue
        m = re.match(r'\$?[A-Z]{1,2}\$?\d+(:\$?[A-Z]{1,2}\$?\d+)?(?![\w(])', excel[i:])
        if m and (i == 0 or not (excel[i - 1].isalnum() or excel[i - 1] in '._')):
            parts = m.group(0).split(':')
            out.append('[' + ':'.join('.' + p for p in parts) + ']'); i += len(m.group(0)); continue
        if c == '{': in_array = True
        if c == '}': in_array = False
        if c == ',': out.append(';')
        elif c == ';' and in_array: out.append('|')
        else: out.append(c)
        i += 1
    text = ''.join(out)
    # Names the OpenDocument form gives the spreadsheet's own CEILING and FLOOR.
    for excel_name, ods_name in (('CEILING(', 'COM.MICROSOFT.CEILING('), ('FLOOR(', 'COM.MICROSOFT.FLOOR(')):
        text = text.replace(excel_name, ods_name)
    return 'of:=' + text

def value_cell(v):
    if isinstance(v, bool):   # a formula, so the file holds a boolean rather than 1 or 0
        return '<table:table-cell table:formula="of:=%s()"/>' % ('TRUE' if v else 'FALSE')
    if isinstance(v, (int, float)):
        return '<table:table-cell office:value-type="float" office:value="%r"/>' % v
    if v == '':
        return '<table:table-cell/>'
    return '<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>' % escape(v)

rows = []
for r in range(max(len(FORMULAS), 10)):
    cells = [value_cell(INPUTS[col][r]) if r < 10 else '<table:table-cell/>' for col in 'ABCDEF']
    cells.append('<table:table-cell/>')
    if r < len(FORMULAS):
        cells.append('<table:table-cell table:formula="%s"/>' % escape(ods_formula(FORMULAS[r]), {'"': '&quot;'}))
    rows.append('<table:table-row>%s</table:table-row>' % ''.join(cells))

open('functions.fods', 'w', encoding='utf-8').write('''<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:body><office:spreadsheet>
<table:calculation-settings table:case-sensitive="false" table:search-criteria-must-apply-to-whole-cell="true"
 table:use-regular-expressions="false" table:use-wildcards="true" table:automatic-find-labels="false"/>
<table:table table:name="Данни">
%s
</table:table>
<table:named-expressions>
%s
</table:named-expressions></office:spreadsheet></office:body></office:document>
''' % ('\n'.join(rows), '\n'.join(
    ['<table:named-range table:name="%s" table:base-cell-address="$Данни.$A$1" table:cell-range-address="%s"/>'
     % named for named in NAMED_RANGES]
    + ['<table:named-expression table:name="%s" table:base-cell-address="$Данни.$A$1" table:expression="of:=%s"/>'
       % named for named in NAMED_EXPRESSIONS])))
print(len(FORMULAS), 'formulas')
