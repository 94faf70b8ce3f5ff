#pragma once
// The 1,000-row detail report of the report benchmarks: a guarantee letter's table (row number,
// county, village, tonnage, price, a fixed factor and the amount, with a two-level heading) over
// 30 pages, its cells those of pdf_straight.h.
#include "pdf_straight.h"
#include "report/filled_report.h"

namespace report_bench {

constexpr int kRows = pdf_straight::kRows;

inline const char *kLayout = R"({
  "page": {"size": "A4", "margins": [10, 10, 10, 10]},
  "font": {"family": "Tahoma", "size": 10},
  "table": {
    "headerHeight": 12, "rowHeight": 7, "headerFill": "#bfefff",
    "font": {"family": "Yagut", "size": 10}, "headerFont": {"family": "Titr", "size": 9},
    "columns": [
      {"title": "رديف", "rowNumber": true, "width": 12},
      {"title": "شهرستان", "field": "city", "width": 28},
      {"title": "روستا", "field": "rosta", "width": 34},
      {"group": "قير", "title": "تناژ قير 70-60", "field": "ghir_tahatori", "width": 22},
      {"group": "قير", "title": "قيمت بورس", "field": "bors_price", "width": 30},
      {"title": "ضريب افزايش", "text": "1.2", "width": 18},
      {"title": "مبلغ ضمانتنامه", "field": "z_mablagh2", "width": 46}
    ]
  },
  "bands": {
    "pageHeader": {"height": 14, "elements": [
      {"kind": "text", "text": "بسمه تعالي", "y": 0, "h": 7, "align": "center", "font": {"family": "Titr", "size": 12}},
      {"kind": "label", "name": "dat", "x": 0, "y": 0, "w": 40, "h": 7, "align": "left"}]},
    "title": {"height": 30, "elements": [
      {"kind": "paragraph", "y": 2, "runs": ["خواهشمند است نسبت به معرفي شرکت", {"label": "peymankar", "bold": true},
        "به منظور دريافت ضمانتنامه", {"label": "zemanatname_typ"}, "به مبلغ ذيل اقدام لازم معمول گردد."]}]},
    "summary": {"height": 20, "elements": [
      {"kind": "label", "name": "sum_tonaj", "column": "ghir_tahatori", "y": 0, "h": 7, "align": "center", "border": 0.2},
      {"kind": "label", "name": "sum_zemanat", "column": "z_mablagh2", "y": 0, "h": 7, "align": "center", "border": 0.2}]},
    "pageFooter": {"height": 8, "elements": [
      {"kind": "line", "x": 0, "y": 0, "w": 190, "h": 0},
      {"kind": "label", "name": "moaven_omran", "x": 0, "y": 1, "w": 60, "h": 7}]}
  }
})";

inline report::FilledReport filled()
{
    report::FilledReport r(report::Layout::fromJson(QByteArray(kLayout), QStringLiteral("BENCH_REPORT")));
    r.set(QStringLiteral("dat"), QStringLiteral("1401/09/05"));
    r.set(QStringLiteral("peymankar"), QStringLiteral("شرکت راهسازان کوير"));
    r.set(QStringLiteral("zemanatname_typ"), QStringLiteral("بانکي/معتبر"));
    r.set(QStringLiteral("sum_tonaj"), QStringLiteral("12,500"));
    r.set(QStringLiteral("sum_zemanat"), QStringLiteral("1,234,567,890,000"));
    r.set(QStringLiteral("moaven_omran"), QStringLiteral("محمد احمدي"));
    QVector<QStringList> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
        rows << pdf_straight::rowCells(i);
    r.setRows({QStringLiteral("city"), QStringLiteral("rosta"), QStringLiteral("ghir_tahatori"),
               QStringLiteral("bors_price"), QStringLiteral("z_mablagh2")},
              rows);
    return r;
}

} // namespace report_bench
