#pragma once
// The bitumen forms as rows of the form frame, by menu item, one list per family of forms:
// the committee minutes and control form (N7, N50, N49), the consumption and exchange minutes
// and calculation sheets (N11, N16, N31, N23, N32, N12), the guarantee refunds (N51, N25) and
// the county memoranda (N33, N110, N210). Tghir_forms connects every row to its menu item.
// Also the few computations of these forms, for their tests.
#include "report/form_frame.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <initializer_list>

class TghirFormFrame;

using FormRows = QList<QPair<QString, report::FormRow>>;

FormRows minutesForms();
FormRows sheetsForms();
FormRows refundForms();
FormRows memorandaForms();

// Labels copied from the columns of their own names of a source.
QList<report::FormLabel> formLabels(const QString &source, std::initializer_list<const char *> labels);
// The allocation's frame a form row runs on.
TghirFormFrame &allocationFrame(report::FormFill &f);

// The exchange sheet's chain of amounts (N12), from the captions it reads: the purchase
// contract's price per tonne, the asphalt laid (the volume label and the column, both its
// text), the execution contract's price. Each step that cannot read its amounts gives "0" and
// the next goes on. The texts are not yet grouped.
struct ExchangeAmounts {
    QString kol1, khales1, kol2, khales2, khalesSum;
};
ExchangeAmounts exchangeAmounts(const QString &protMablagh, const QString &asfaltEjra2, const QString &asfaltEjra,
                                const QString &protMablaghEjra);

