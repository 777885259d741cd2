#!/usr/bin/python3
"""Prints every figure of a benchmark run beside its target; exits non-zero when one is missed.
Arguments: the Google Benchmark JSON files, then the whole-process JSON, the store_bench peak
memory in MB and the size of the big shop in bytes."""
import json
import sys

*bench_files, whole_file, peak, size = sys.argv[1:]
benchmarks = []
for path in bench_files:
    benchmarks += json.load(open(path))["benchmarks"]
ms = {b["name"].split("/")[0]: b["real_time"] for b in benchmarks}
whole = json.load(open(whole_file))

ok = True


def line(what, value, unit, target, good):
    global ok
    ok &= good
    print(f"{what:34s} {value:>10s} {unit:3s}  target {target:12s} {'ok' if good else 'MISSED'}")


targets = {"BM_Open": 250, "BM_Save": 50,
           "BM_SearchFirst": 10, "BM_SearchNext": 10, "BM_FillPriceLists": 50,
           # A listing shows within a frame, drawn included.
           "BM_PriceListingOfAllShown": 16, "BM_MissingGoodsShown": 16,
           "BM_SortByNameWithShowcase": 50, "BM_SortByPriceWithShowcase": 50,
           "BM_ChooseBigArticle": 20, "BM_ScanToBasket": 20,
           # A recorded sale saves the workbook: the save's target and 10 ms for the rows.
           "BM_RecordTenLineSale": 260, "BM_FillAndShowInvoice": 100,
           "BM_SaveAfterChange": 250, "BM_OpenGoodsEditor": 30,
           "BM_StepRecord": 30, "BM_AppendRecord": 30, "BM_DeleteRecord": 30,
           "BM_FromDateList": 50, "BM_SoldReportByListDates": 150, "BM_SoldReportByPickers": 150,
           "BM_PurchasedReport": 150, "BM_ProfitReport": 20, "BM_SoldReportPdf": 3000,
           # A year of 60,000 sales: the report with its chart, the chart painted.
           "BM_SoldChartOfAYear": 100, "BM_ProfitChartOfAYear": 100,
           # The archive copy adds under 30 ms to the day's first save.
           "BM_DailyCopy": 30, "BM_FirstSaveOfTheDay": 280, "BM_LaterSaveOfTheDay": 250,
           # A big leva shop goes over to the euro in under a second, its save and archive copy included.
           "BM_ConvertPricesToEuro": 1000, "BM_ChangeShopToEuro": 1000}
print(f"\nbig shop workbook: {int(size) / 1e6:.1f} MB\n\nin process")
for name, t in ms.items():
    limit = targets.get(name, 20)
    line(name, f"{t:.2f}", "ms", f"<= {limit} ms", t <= limit)
line("peak memory of the whole run", peak, "MB", "< 300 MB", 0 < int(peak) < 300)

print("\nwhole processes, min / median of each")
ours, lo = whole["copy_wall_ms"], whole["lo_convert_wall_ms"]
print(f"{'tervin-workbook copy':34s} {ours['min']:10.0f} / {ours['median']:.0f} ms"
      f"   (CPU {whole['copy_cpu_ms']['median']:.0f} ms)")
print(f"{'LibreOffice --convert-to xls':34s} {lo['min']:10.0f} / {lo['median']:.0f} ms")
ratio = lo["median"] / ours["median"]
line("LibreOffice / ours (medians)", f"{ratio:.1f}", "x", ">= 40x", ratio >= 40)
opens = whole["open_cpu_ms"]
print(f"{'tervin-workbook check, CPU':34s} {opens['min']:10.0f} / {opens['median']:.0f} ms"
      f"   (rounds: {', '.join(f'{v:.0f}' for v in opens['all'])})")
line("open in a fresh process, CPU", f"{whole['open_cpu_ms']['median']:.0f}", "ms", "<= 40 ms",
     whole["open_cpu_ms"]["median"] <= 40)
line("peak memory of copy", f"{whole['copy_peak_mb']['median']:.0f}", "MB", "<= 70 MB",
     whole["copy_peak_mb"]["median"] <= 70)
line("start-up to the login window", f"{whole['startup_ms']['median']:.0f}", "ms", "<= 100 ms",
     whole["startup_ms"]["median"] <= 100)
sys.exit(0 if ok else 1)
