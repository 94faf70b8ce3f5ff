#pragma once
// The bitumen forms as the bitumen window's menu runs them.
#include "support/drive.h"

#include "bitumen/ghir_src_u.h"

namespace readback {

using Labels = QList<QPair<QString, QString>>;

inline void choose(Fixture &f, const char *item) { click(f.form<Tghir_src>(), item); }

// The last report: its layout, no problem, every label the layout shows filled (a design text
// left showing is a fault too), then the given labels' texts.
inline const report::FilledReport &shown(Fixture &f, const QString &layout, const Labels &expected)
{
    if (f.ui.reports.isEmpty())
        qFatal("no report: %s", qPrintable(f.ui.messages.join('|')));
    const ScriptedUi::ReportCall &c = f.ui.reports.last();
    const report::FilledReport &r = *c.report;
    [&] {
        QCOMPARE(r.layoutName(), layout);
        QCOMPARE(c.problems, QStringList());
        QStringList filled = r.labels().keys(), labels = r.layout().labelNames();
        filled.sort();
        labels.removeDuplicates();
        labels.sort();
        QCOMPARE(filled, labels);
        for (const auto &[label, text] : expected)
            QCOMPARE(r.text(label), text);
    }();
    return r;
}

} // namespace readback

using namespace readback;
