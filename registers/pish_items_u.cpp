#include "registers/pish_items_u.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/grid.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/plain_boxes.h"
#include "shared/row_writer.h"
#include "shared/ui.h"

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const MenuItem kMenus[] = {
    {"", "PopupMenu1", "", MenuItem::Popup},
    {"PopupMenu1", "N1", "حذف"},
};

const RightRule kRights[] = {
    {"ins_btn1", RightRule::Darj, RightRule::Show},
    {"ins_btn2", RightRule::Darj, RightRule::Show},
    {"N1", RightRule::Hazf},
};

const GridColumn kMasterColumns[] = {
    {"lcod"},
    {"name", "آيتم كلي", 220},
    {"darsad", "درصد", 70, 0, GridColumn::Number},
};

// The sub-item's own weight is the list's "درصد"; the master item's weight stays unlisted.
const GridColumn kSubColumns[] = {
    {"lcod"},
    {"master_item"},
    {"darsad"},
    {"scod"},
    {"slave_item", "آيتم جزئي", 190},
    {"sdarsad", "درصد", 70, 0, GridColumn::Number},
    {"unit", "واحد", 90},
};

const QString kSubItems = QStringLiteral(
    "select litems.lcod,litems.name as master_item,litems.darsad,sitems.scod,sitems.name as slave_item,"
    "sitems.unit,sitems.darsad as sdarsad from litems left join sitems on litems.lcod=sitems.lcod");

const QString kNoMaster = QStringLiteral("خطا! آيتم كلي در فهرست آيتم ها نيست");
const QString kNotDeleted = QStringLiteral("بي خيال");

} // namespace

Tpish_items::Tpish_items(AppContext &context, QWidget *parent)
    : RegisterWindow(context, QStringLiteral("Tpish_items"), QStringLiteral("آيتم هاي پيشرفت فيزيكي"), parent)
    , m_masters(new DataSet(QStringLiteral("ADOQ_litems"), this))
    , ADOQ_sitem(new DataSet(QStringLiteral("ADOQ_sitem"), this))
{
    m_masters->setDatabase(context.dm->ADOConnection1());
    ADOQ_sitem->setDatabase(context.dm->ADOConnection1());
    buildMenus(kMenus);

    // Master side.
    master_item = MakeLineBox(this, "master_item");
    ldarsad = MakeLineBox(this, "ldarsad");
    auto *ins_btn1 = MakeButton(this, "ins_btn1", QStringLiteral("ثبت آيتم"));
    auto *masterForm = new QFormLayout;
    masterForm->addRow(QStringLiteral("آيتم كلي"), master_item);
    masterForm->addRow(QStringLiteral("درصد وزني"), ldarsad);
    masterForm->addRow(QString(), ins_btn1);
    DBGrid1 = MakeGrid(this, m_masters, {.columns = kMasterColumns, .objectName = "DBGrid1",
                                         .popup = menu(QStringLiteral("PopupMenu1"))});

    // Sub-item side.
    slave_item = MakeLineBox(this, "slave_item");
    vahed = new QComboBox(this);
    vahed->setObjectName(QStringLiteral("vahed"));
    vahed->setEditable(true);
    vahed->setInsertPolicy(QComboBox::NoInsert);
    vahed->addItems({QStringLiteral("عدد"), QStringLiteral("متر"), QStringLiteral("متر مربع"), QStringLiteral("متر مكعب")});
    vahed->setEditText(QString());
    sdarsad = MakeLineBox(this, "sdarsad");
    auto *ins_btn2 = MakeButton(this, "ins_btn2", QStringLiteral("ثبت"));
    auto *subForm = new QFormLayout;
    subForm->addRow(QStringLiteral("آيتم جزئي"), slave_item);
    subForm->addRow(QStringLiteral("واحد"), vahed);
    subForm->addRow(QStringLiteral("درصد وزني"), sdarsad);
    subForm->addRow(QString(), ins_btn2);
    DBGrid2 = MakeGrid(this, ADOQ_sitem, {.columns = kSubColumns, .objectName = "DBGrid2"});
    // A sub-item is corrected in its cells; no row is deleted there.
    DBGrid2->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed);
    ADOQ_sitem->setCellWriter({QStringLiteral("slave_item"), QStringLiteral("unit"), QStringLiteral("sdarsad")},
                              [this](int row, const QString &field, const QString &text) {
                                  return editSubItem(row, field, text);
                              });

    auto *sides = new QHBoxLayout;
    body()->addLayout(sides, 1);
    auto *masterSide = new QVBoxLayout;
    masterSide->addLayout(masterForm);
    masterSide->addWidget(DBGrid1, 1);
    auto *subSide = new QVBoxLayout;
    subSide->addLayout(subForm);
    subSide->addWidget(DBGrid2, 1);
    sides->addLayout(masterSide, 1);
    sides->addLayout(subSide, 1);
    resize(760, 520);

    // The sub-item list is always the current master item's.
    connect(m_masters, &DataSet::currentRowChanged, this, [this] { guarded(ctx(), [&] { listSubItems(); }); });
    connect(ins_btn1, &QPushButton::clicked, this, [this] { guarded(ctx(), [&] { insertMaster(); }); });
    connect(ins_btn2, &QPushButton::clicked, this, [this] { guarded(ctx(), [&] { insertSubItem(); }); });
    // The catalogue keeps its rows: the delete only says so.
    onMenu(QStringLiteral("N1"), [this] { ctx().ui->message(kNotDeleted, this); });
}

void Tpish_items::openFromMain(const PageRights &rights)
{
    const bool ready = guarded(ctx(), [&] {
        applyRights(kRights, rights);
        for (QLineEdit *e : {master_item, slave_item, ldarsad, sdarsad})
            e->clear();
        vahed->setEditText(QString());
        listMasters();
    });
    if (ready)
        showModal();
}

void Tpish_items::listMasters()
{
    m_masters->open(QStringLiteral("select * from Litems order by name collate fa"));
}

void Tpish_items::listSubItems()
{
    if (m_masters->eof()) {
        ADOQ_sitem->open(kSubItems + QStringLiteral(" where 1=0"));
        return;
    }
    ADOQ_sitem->open(kSubItems + QStringLiteral(" where sitems.lcod=? order by sitems.name collate fa"),
                     {m_masters->value(QStringLiteral("lcod"))});
}

void Tpish_items::insertMaster()
{
    const QString table = QStringLiteral("litems");
    const WriteResult r = InsertRow(
        ctx(), {.table = table, .key = QStringLiteral("lcod"), .columns = {QStringLiteral("name"), QStringLiteral("darsad")},
                .values = {BoxValue(table, QStringLiteral("name"), master_item->text(), QStringLiteral("آيتم كلي")),
                           BoxValue(table, QStringLiteral("darsad"), ldarsad->text(), QStringLiteral("درصد وزني"))},
                .duplicateKey = {QStringLiteral("name")},
                .duplicateMessage = msg::kDuplicate});
    TellWrite(ctx(), this, r, msg::kInserted);
    const QVariant lcod = r.key;
    listMasters();
    if (!lcod.isNull())
        m_masters->locate(QStringLiteral("lcod"), lcod);
}

void Tpish_items::insertSubItem()
{
    const QString table = QStringLiteral("sitems");
    const QVariant lcod = m_masters->eof() ? QVariant() : m_masters->value(QStringLiteral("lcod"));
    // A sub-item belongs under a master item of the catalogue.
    const WriteResult r = InsertRow(
        ctx(), {.table = table, .key = QStringLiteral("scod"),
                .columns = {QStringLiteral("lcod"), QStringLiteral("name"), QStringLiteral("unit"), QStringLiteral("darsad")},
                .values = {lcod, BoxValue(table, QStringLiteral("name"), slave_item->text(), QStringLiteral("آيتم جزئي")),
                           BoxValue(table, QStringLiteral("unit"), vahed->currentText(), QStringLiteral("واحد")),
                           BoxValue(table, QStringLiteral("darsad"), sdarsad->text(), QStringLiteral("درصد وزني"))},
                .duplicateKey = {QStringLiteral("lcod"), QStringLiteral("name")},
                .duplicateMessage = msg::kDuplicate,
                .parents = {{QStringLiteral("lcod"), QStringLiteral("litems"), QStringLiteral("lcod"), kNoMaster}}});
    TellWrite(ctx(), this, r, msg::kInserted);
    const QVariant scod = r.key;
    listSubItems();
    if (!scod.isNull())
        ADOQ_sitem->locate(QStringLiteral("scod"), scod);
}

std::optional<QVariant> Tpish_items::editSubItem(int row, const QString &field, const QString &text)
{
    struct Cell {
        const char *field, *column, *caption;
    };
    static const Cell kCells[] = {
        {"slave_item", "name", "آيتم جزئي"}, {"unit", "unit", "واحد"}, {"sdarsad", "darsad", "درصد وزني"}};
    std::optional<QVariant> stored;
    guarded(ctx(), [&] {
        const Cell *cell = nullptr;
        for (const Cell &c : kCells)
            if (field.compare(QLatin1String(c.field), Qt::CaseInsensitive) == 0)
                cell = &c;
        if (!cell)
            return;
        const QString table = QStringLiteral("sitems"), column = QLatin1String(cell->column);
        const QVariant value = BoxValue(table, column, text, QString::fromUtf8(cell->caption));
        RowWrite write{.table = table, .key = QStringLiteral("scod"), .columns = {column}, .values = {value}};
        // A new name may not be another sub-item's of the same master item.
        if (column == QLatin1String("name")) {
            write.columns.prepend(QStringLiteral("lcod"));
            write.values.prepend(ADOQ_sitem->value(QStringLiteral("lcod"), row));
            write.duplicateKey = {QStringLiteral("lcod"), column};
            write.duplicateMessage = msg::kDuplicate;
        }
        const WriteResult r = UpdateRow(ctx(), write, ADOQ_sitem->value(QStringLiteral("scod"), row));
        if (!r.written())
            throw AppError(r.outcome == WriteResult::Refused ? r.refusals.join(QLatin1Char('\n')) : msg::kRowGone);
        stored = value;
    });
    return stored;
}
