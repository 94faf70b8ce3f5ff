#include "bitumen/peymankar_ins_u.h"

#include "bitumen/ghir_ins_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "db/values.h"
#include "shared/exports.h"
#include "shared/guard.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

const QStringList Tpeymankar_ins::kColumns = {
    QStringLiteral("peymankar"), QStringLiteral("name"),      QStringLiteral("father"),
    QStringLiteral("nation"),    QStringLiteral("sh_no"),     QStringLiteral("sodor"),
    QStringLiteral("sabt"),      QStringLiteral("eghtesadi"), QStringLiteral("shenase"),
    QStringLiteral("haml_name"), QStringLiteral("haml_cod"),  QStringLiteral("phone"),
    QStringLiteral("mobile"),    QStringLiteral("fax"),       QStringLiteral("adr"),
    QStringLiteral("takhliye"),  QStringLiteral("zipcode"),
};

const QString Tpeymankar_ins::kCaption = QStringLiteral("اطلاعات پيمانکار");
const QString Tpeymankar_ins::kDuplicate = QStringLiteral("خطا! نام پيمانکار تکراري است");
const QString Tpeymankar_ins::kInserted = QStringLiteral("ثبت شد");
const QString Tpeymankar_ins::kUpdated = QStringLiteral("ويرايش انجام شد");
const QString Tpeymankar_ins::kDeleted = QStringLiteral("حذف شد");
const QString Tpeymankar_ins::kRowGone = QStringLiteral("خطا! اين پيمانکار حذف شده است");
const QString Tpeymankar_ins::kExportTitle = QStringLiteral("گزارش پروژه هاي قير");

namespace {

const QString kTable = QStringLiteral("peymankaran");

// Labels of the entry boxes, in the order of Tpeymankar_ins::kColumns.
const QStringList kBoxLabels = {
    QStringLiteral("نام پيمانکار"),  QStringLiteral("نام نماينده"),  QStringLiteral("نام پدر نماينده"),  QStringLiteral("کد ملي نماينده"),
    QStringLiteral("ش شناسنامه نماينده"),  QStringLiteral("محل صدور نماينده"),  QStringLiteral("شماره ثبت"),  QStringLiteral("کد اقتصادي"),
    QStringLiteral("شناسه ملي"),  QStringLiteral("پيمانکار حمل"), QStringLiteral("کد پيمانکار حمل"), QStringLiteral("تلفن ثابت"),
    QStringLiteral("تلفن همراه"), QStringLiteral("شماره فکس"), QStringLiteral("آدرس"), QStringLiteral("آدرس محل تخليه"),
    QStringLiteral("کد پستي"),
};

// Grid titles by field name.
QHash<QString, QString> gridTitles()
{
    return {
        {QStringLiteral("id"), QStringLiteral("شناسه")},
        {QStringLiteral("peymankar"), QStringLiteral("پيمانکار")},
        {QStringLiteral("name"), QStringLiteral("نام نماينده")},
        {QStringLiteral("father"), QStringLiteral("نام پدر نماينده")},
        {QStringLiteral("nation"), QStringLiteral("کد ملي نماينده")},
        {QStringLiteral("sh_no"), QStringLiteral("ش شناسنامه نماينده")},
        {QStringLiteral("sodor"), QStringLiteral("محل صدور نماينده")},
        {QStringLiteral("sabt"), QStringLiteral("شماره ثبت")},
        {QStringLiteral("eghtesadi"), QStringLiteral("کد اقتصادي")},
        {QStringLiteral("shenase"), QStringLiteral("شناسه ملي")},
        {QStringLiteral("haml_name"), QStringLiteral("پيمانکار حمل")},
        {QStringLiteral("haml_cod"), QStringLiteral("کد پيمانکار حمل")},
        {QStringLiteral("phone"), QStringLiteral("تلفن ثابت")},
        {QStringLiteral("mobile"), QStringLiteral("تلفن همراه")},
        {QStringLiteral("fax"), QStringLiteral("شماره فکس")},
        {QStringLiteral("adr"), QStringLiteral("آدرس")},
        {QStringLiteral("takhliye"), QStringLiteral("محل تخليه")},
        {QStringLiteral("zipcode"), QStringLiteral("کد پستي")},
    };
}

// Header texts of the HTML export by field name (a field without one shows its own name).
QHash<QString, QString> exportTitles()
{
    return {
        {QStringLiteral("id"), QStringLiteral("شناسه")},
        {QStringLiteral("peymankar"), QStringLiteral("پيمانکار")},
        {QStringLiteral("name"), QStringLiteral("نام نماينده")},
        {QStringLiteral("father"), QStringLiteral("نام پدر نماينده")},
        {QStringLiteral("nation"), QStringLiteral("کد ملي نماينده")},
        {QStringLiteral("sh_no"), QStringLiteral("ش شناسنامه نماينده")},
        {QStringLiteral("sodor"), QStringLiteral("محل صدور نماينده")},
        {QStringLiteral("sabt"), QStringLiteral("شماره ثبت")},
        {QStringLiteral("eghtesadi"), QStringLiteral("کد اقتصادي")},
        {QStringLiteral("shenase"), QStringLiteral("شناسه ملي")},
        {QStringLiteral("haml_name"), QStringLiteral("نام پيمانکار حمل")},
        {QStringLiteral("haml_cod"), QStringLiteral("کد پيمانکار حمل")},
        {QStringLiteral("phone"), QStringLiteral("تلفن ثابت")},
        {QStringLiteral("mobile"), QStringLiteral("تلفن همراه")},
        {QStringLiteral("fax"), QStringLiteral("ماره فکس")},
        {QStringLiteral("adr"), QStringLiteral("آدرس")},
        {QStringLiteral("takhliye"), QStringLiteral("آدرس تخليه")},
        {QStringLiteral("zipcode"), QStringLiteral("کد پستي")},
    };
}

QString likePattern(const QString &text)
{
    return QStringLiteral("%") + text + QStringLiteral("%");
}

} // namespace

Tpeymankar_ins::Tpeymankar_ins(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("Tpeymankar_ins"));
    setWindowTitle(kCaption);
    setLayoutDirection(Qt::RightToLeft);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    // Entry boxes: three label/box pairs a line; the two addresses take a whole line each.
    auto *boxes = new QGridLayout;
    boxes->setHorizontalSpacing(8);
    int line = 0, pair = 0;
    for (int i = 0; i < kColumns.size(); ++i) {
        const QString &col = kColumns.at(i);
        auto *box = new QLineEdit(this);
        box->setObjectName(col);
        auto *lbl = new QLabel(kBoxLabels.at(i), this);
        lbl->setObjectName(col + QStringLiteral("_lbl"));
        lbl->setBuddy(box);
        m_boxes.insert(col, box);
        const bool wide = col == QLatin1String("adr") || col == QLatin1String("takhliye");
        if (wide) {
            if (pair) {
                ++line;
                pair = 0;
            }
            boxes->addWidget(lbl, line, 0);
            boxes->addWidget(box, line, 1, 1, 5);
            ++line;
            continue;
        }
        boxes->addWidget(lbl, line, pair * 2);
        boxes->addWidget(box, line, pair * 2 + 1);
        if (++pair == 3) {
            ++line;
            pair = 0;
        }
    }
    for (int c : {1, 3, 5})
        boxes->setColumnStretch(c, 1);

    ins_btn = new QPushButton(QStringLiteral("ثبت"), this);
    ins_btn->setObjectName(QStringLiteral("ins_btn"));
    edit_btn = new QPushButton(QStringLiteral("ويرايش"), this);
    edit_btn->setObjectName(QStringLiteral("edit_btn"));
    edit_btn->hide();
    refresh_btn = new QPushButton(QStringLiteral("بروز رساني نام پيمانکار"), this);
    refresh_btn->setObjectName(QStringLiteral("refresh_btn"));
    refresh_btn->hide();
    // Enter in a box must not run a command.
    for (QPushButton *b : {ins_btn, edit_btn, refresh_btn}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setMinimumWidth(90);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ins_btn);
    buttons->addWidget(edit_btn);
    buttons->addWidget(refresh_btn);
    buttons->addStretch(1);

    // Search panel.
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("src_panel"));
    auto *srcLbl = new QLabel(QStringLiteral("نام پيمانکار:"), panel);
    srcLbl->setObjectName(QStringLiteral("src_lbl"));
    src = new QLineEdit(panel);
    src->setObjectName(QStringLiteral("src"));
    QPalette pal = src->palette();
    pal.setColor(QPalette::Base, QColor(255, 255, 0));
    pal.setColor(QPalette::Text, Qt::black);
    src->setPalette(pal);
    src->setMinimumWidth(220);
    srcLbl->setBuddy(src);
    cnt = new QLabel(panel);
    cnt->setObjectName(QStringLiteral("cnt"));
    auto *panelLay = new QHBoxLayout(panel);
    panelLay->setContentsMargins(4, 4, 4, 4);
    panelLay->addWidget(srcLbl);
    panelLay->addWidget(src);
    panelLay->addSpacing(12);
    panelLay->addWidget(cnt);
    panelLay->addStretch(1);
    panel->setAutoFillBackground(true);

    // The listing.
    DataSet *ds = m_ctx.dm->ADOQ_peymankar;
    ds->setTitles(gridTitles());
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(ds);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 8);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->horizontalHeader()->setDefaultSectionSize(110);
    DBGrid1->horizontalHeader()->setHighlightSections(false);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N3 = PopupMenu1->addAction(QStringLiteral("اکسل"));
    N3->setObjectName(QStringLiteral("N3"));
    N2 = PopupMenu1->addAction(QStringLiteral("ويرايش"));
    N2->setObjectName(QStringLiteral("N2"));
    N1 = PopupMenu1->addAction(QStringLiteral("حذف"));
    N1->setObjectName(QStringLiteral("N1"));

    auto *hint = new QLabel(QStringLiteral("روي پيمانکار مورد نظر دوبار کليک نماييد"), this);
    hint->setObjectName(QStringLiteral("hint_lbl"));
    QFont hf = hint->font();
    hf.setBold(true);
    hint->setFont(hf);

    auto *lay = new QVBoxLayout(this);
    lay->addLayout(boxes);
    lay->addLayout(buttons);
    lay->addWidget(panel);
    lay->addWidget(DBGrid1, 1);
    lay->addWidget(hint);
    resize(1100, 680);

    // The grid's current row is the dataset's current row, both ways.
    // Columns: `id` hidden, the name and the addresses wider than the rest.
    auto layoutColumns = [this, ds] {
        static const QHash<QString, int> widths = {
            {QStringLiteral("peymankar"), 190}, {QStringLiteral("name"), 130}, {QStringLiteral("haml_name"), 130},
            {QStringLiteral("adr"), 260},       {QStringLiteral("takhliye"), 220},
        };
        for (int c = 0; c < ds->columnCount(); ++c) {
            const QString f = ds->fieldNames().at(c).toLower();
            DBGrid1->setColumnHidden(c, f == QLatin1String("id"));
            DBGrid1->setColumnWidth(c, widths.value(f, 110));
        }
    };
    connect(ds, &QAbstractItemModel::modelReset, this, layoutColumns);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, ds](const QModelIndex &current) {
                if (m_syncing || !current.isValid())
                    return;
                m_syncing = true;
                ds->setCurrentRow(current.row());
                m_syncing = false;
            });
    connect(ds, &DataSet::currentRowChanged, this, [this] { syncGridToDataSet(); });

    connect(src, &QLineEdit::textChanged, this, [this] { guarded(m_ctx, [&] { search(); }); });
    connect(ins_btn, &QPushButton::clicked, this, [this] { guarded(m_ctx, [&] { insertContractor(); }); });
    connect(edit_btn, &QPushButton::clicked, this, [this] { guarded(m_ctx, [&] { updateContractor(); }); });
    connect(refresh_btn, &QPushButton::clicked, this, [this] { guarded(m_ctx, [&] { refreshNames(); }); });
    connect(N2, &QAction::triggered, this, [this] { guarded(m_ctx, [&] { loadForEdit(); }); });
    connect(N1, &QAction::triggered, this, [this] { guarded(m_ctx, [&] { deleteContractor(); }); });
    connect(N3, &QAction::triggered, this, [this] { guarded(m_ctx, [&] { exportHtml(); }); });
    connect(DBGrid1, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { guarded(m_ctx, [&] { pick(index.row()); }); });
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(pos)); });
}

void Tpeymankar_ins::syncGridToDataSet()
{
    if (m_syncing)
        return;
    DataSet *ds = m_ctx.dm->ADOQ_peymankar;
    const int row = ds->eof() ? -1 : ds->currentRow();
    m_syncing = true;
    if (row < 0) {
        DBGrid1->selectionModel()->clearSelection();
    } else if (DBGrid1->currentIndex().row() != row) {
        int col = DBGrid1->currentIndex().isValid() ? DBGrid1->currentIndex().column() : -1;
        if (col < 0 || DBGrid1->isColumnHidden(col))
            col = ds->fieldIndex(QStringLiteral("peymankar"));
        DBGrid1->selectionModel()->setCurrentIndex(ds->index(row, std::max(col, 0)),
                                                    QItemSelectionModel::ClearAndSelect
                                                        | QItemSelectionModel::Rows);
    }
    m_syncing = false;
}

// ---- opening ---------------------------------------------------------------------------

void Tpeymankar_ins::applyRights(const PageRights &rights)
{
    m_rights = rights;
    ins_btn->setEnabled(rights.darj);
    refresh_btn->setEnabled(rights.darj);
    refresh_btn->setVisible(rights.darj);
    N2->setEnabled(rights.virayesh);
    N1->setEnabled(rights.hazf);
    setInsertState();
}

void Tpeymankar_ins::setInsertState()
{
    m_editId = QVariant();
    edit_btn->hide();
    ins_btn->setVisible(m_rights.darj);
}

void Tpeymankar_ins::prepare()
{
    // The search runs even when the box was empty already: the bitumen forms reuse the
    // listing's query to read one contractor.
    {
        const QSignalBlocker block(src);
        src->clear();
    }
    search();
    for (QLineEdit *box : std::as_const(m_boxes))
        box->clear();
}

void Tpeymankar_ins::openFromBitumen(const PageRights &rights)
{
    const bool ready = guarded(m_ctx, [&] {
        applyRights(rights);
        prepare();
        m_ctx.dm->ADOQ_peymankar->open(
            QStringLiteral("select * from peymankaran order by peymankar collate fa "));
    });
    if (ready)
        m_ctx.ui->showModal(this);
}

void Tpeymankar_ins::openAsPicker()
{
    const bool ready = guarded(m_ctx, [&] {
        applyRights(ReadPageRights(m_ctx, QStringLiteral("g_pey")));
        prepare();
    });
    if (ready)
        m_ctx.ui->showModal(this);
}

// ---- search -----------------------------------------------------------------------------

void Tpeymankar_ins::search()
{
    const QString pattern = likePattern(src->text());
    const QVariant c =
        m_ctx.dm->scalar(QStringLiteral("select count(*) as c from peymankaran where peymankar like ?"), {pattern});
    cnt->setText(DataSet::valueText(c));
    m_ctx.dm->ADOQ_peymankar->open(
        QStringLiteral("select * from peymankaran where peymankar like ? order by peymankar collate fa"), {pattern});
}

// ---- insert, edit, delete -----------------------------------------------------------------

QVariantList Tpeymankar_ins::boxValues() const
{
    QVariantList values;
    for (const QString &col : kColumns)
        values << db::columnValue(kTable, col, m_boxes.value(col)->text());
    return values;
}

void Tpeymankar_ins::insertContractor()
{
    const QVariantList values = boxValues();
    bool inserted = false;
    m_ctx.dm->transaction([&] {
        DataSet *q = m_ctx.dm->ADOQuery1;
        q->open(QStringLiteral("select * from peymankaran where peymankar=?"), {values.first()});
        if (!q->isEmpty())
            return;
        q->exec(QStringLiteral("Insert Into peymankaran (peymankar, name, father, nation, sh_no, sodor, sabt, "
                               "eghtesadi, shenase, haml_name, haml_cod, phone, mobile, fax, adr, takhliye, "
                               "zipcode) Values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                values);
        inserted = true;
    });
    if (!inserted) {
        m_ctx.ui->message(kDuplicate, this);
        return;
    }
    m_ctx.ui->message(kInserted, this);
    m_ctx.dm->ADOQ_peymankar->reopen(QStringLiteral("id"));
}

void Tpeymankar_ins::fillBoxes(int row, bool withZipcode)
{
    DataSet *ds = m_ctx.dm->ADOQ_peymankar;
    for (const QString &col : kColumns) {
        if (!withZipcode && col == QLatin1String("zipcode"))
            continue;
        m_boxes.value(col)->setText(ds->text(col, row));
    }
}

void Tpeymankar_ins::loadForEdit()
{
    DataSet *ds = m_ctx.dm->ADOQ_peymankar;
    if (ds->eof())
        return;
    fillBoxes(ds->currentRow(), true);
    // The update writes this contractor, whichever row is current when it runs.
    m_editId = ds->value(QStringLiteral("id"));
    ins_btn->hide();
    edit_btn->show();
}

void Tpeymankar_ins::updateContractor()
{
    if (m_editId.isNull())
        return;
    const QVariantList values = boxValues();
    bool found = false;
    m_ctx.dm->transaction([&] {
        QVariantList binds = values;
        binds << m_editId;
        const int n = m_ctx.dm->ADOQuery1->exec(
            QStringLiteral("Update peymankaran set  peymankar=?, name=?, father=?, nation=?, sh_no=?, sodor=?, "
                           "sabt=?, eghtesadi=?, shenase=?, haml_name=?, haml_cod=?, phone=?, mobile=?, fax=?, "
                           "adr=?, takhliye=?, zipcode=? where id=?"),
            binds);
        if (n == 0)
            return;
        found = true;
        pushNames();
    });
    if (!found) {
        setInsertState();
        m_ctx.dm->ADOQ_peymankar->reopen(QStringLiteral("id"));
        m_ctx.ui->message(kRowGone, this);
        return;
    }
    m_ctx.ui->message(kUpdated, this);
    m_ctx.dm->ADOQ_peymankar->reopen(QStringLiteral("id"));
    setInsertState();
}

void Tpeymankar_ins::pushNames()
{
    // One pass over the allocations: each one whose contractor id names a register row takes
    // that row's name; rows that already carry it are left alone.
    m_ctx.dm->ADOQuery1->exec(QStringLiteral(
        "update ghir set peymankar=(select peymankaran.peymankar from peymankaran where peymankaran.id=ghir.peymankar_id)"
        " where peymankar_id in (select id from peymankaran)"
        " and (peymankar is null or peymankar<>"
        "(select peymankaran.peymankar from peymankaran where peymankaran.id=ghir.peymankar_id))"));
}

void Tpeymankar_ins::refreshNames()
{
    m_ctx.dm->transaction([&] { pushNames(); });
}

void Tpeymankar_ins::deleteContractor()
{
    DataSet *ds = m_ctx.dm->ADOQ_peymankar;
    if (ds->eof())
        return;
    const int row = ds->currentRow();
    const QVariant id = ds->value(QStringLiteral("id"));
    fillBoxes(row, false);
    m_ctx.dm->ADOQuery1->exec(QStringLiteral("Delete From peymankaran where id=?"), {id});
    m_ctx.ui->message(kDeleted, this);
    ds->reopen(QStringLiteral("id"));
}

// ---- pick and export ----------------------------------------------------------------------

void Tpeymankar_ins::pick(int row)
{
    DataSet *ds = m_ctx.dm->ADOQ_peymankar;
    if (row < 0 || row >= ds->recordCount())
        return;
    if (auto *entry = m_ctx.form<Tghir_ins>()) {
        entry->setBoxText(QStringLiteral("peymankar"), ds->text(QStringLiteral("peymankar"), row));
        entry->setBoxText(QStringLiteral("peymankar_id"), ds->text(QStringLiteral("id"), row));
    }
    accept();
}

void Tpeymankar_ins::exportHtml()
{
    DataSet *ds = m_ctx.dm->ADOQ_peymankar;
    const QHash<QString, QString> titles = exportTitles();
    QList<HtmlColumn> columns;
    for (const QString &f : ds->fieldNames())
        columns << HtmlColumn(f, titles.value(f.toLower(), f));
    ExportHtmlTable(m_ctx, TempExportPath(QStringLiteral("Tobrenhal.xls")), kExportTitle, ds, columns);
}
