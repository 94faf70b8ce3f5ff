#include "report/layout.h"

#include "core/errors.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QJsonObject>
#include <QSet>

namespace report {

namespace {

class Parser {
public:
    explicit Parser(const QString &name) : m_name(name) {}

    [[noreturn]] void fail(const QString &where, const QString &what) const
    {
        throw AppError(QStringLiteral("Report layout %1: %2: %3").arg(m_name, where, what));
    }

    void checkKeys(const QJsonObject &o, const QString &where, std::initializer_list<const char *> allowed) const
    {
        QSet<QString> ok;
        for (const char *k : allowed)
            ok.insert(QString::fromLatin1(k));
        for (auto it = o.begin(); it != o.end(); ++it)
            if (!ok.contains(it.key()))
                fail(where, QStringLiteral("unknown key \"%1\"").arg(it.key()));
    }

    double number(const QJsonObject &o, const char *key, double def, const QString &where, double min = 0,
                  double max = 10000) const
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return def;
        if (!v.isDouble())
            fail(where, QStringLiteral("\"%1\" must be a number").arg(QLatin1String(key)));
        const double d = v.toDouble();
        if (d < min || d > max)
            fail(where, QStringLiteral("\"%1\" out of range").arg(QLatin1String(key)));
        return d;
    }

    QString string(const QJsonObject &o, const char *key, const QString &where, bool *present = nullptr) const
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (present)
            *present = !v.isUndefined();
        if (v.isUndefined())
            return {};
        if (!v.isString())
            fail(where, QStringLiteral("\"%1\" must be a text").arg(QLatin1String(key)));
        return v.toString();
    }

    bool boolean(const QJsonObject &o, const char *key, bool def, const QString &where) const
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return def;
        if (!v.isBool())
            fail(where, QStringLiteral("\"%1\" must be true or false").arg(QLatin1String(key)));
        return v.toBool();
    }

    QJsonObject object(const QJsonObject &o, const char *key, const QString &where) const
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return {};
        if (!v.isObject())
            fail(where, QStringLiteral("\"%1\" must be an object").arg(QLatin1String(key)));
        return v.toObject();
    }

    FontDef font(const QJsonValue &v, const FontDef &base, const QString &where) const
    {
        if (v.isUndefined())
            return base;
        if (!v.isObject())
            fail(where, QStringLiteral("\"font\" must be an object"));
        const QJsonObject o = v.toObject();
        checkKeys(o, where + QStringLiteral(" font"), {"family", "size", "bold"});
        FontDef f = base;
        bool has = false;
        const QString fam = string(o, "family", where, &has);
        if (has)
            f.family = fam;
        f.size = number(o, "size", base.size, where, 1, 200);
        f.bold = boolean(o, "bold", base.bold, where);
        return f;
    }

    QColor color(const QJsonObject &o, const char *key, const QString &where) const
    {
        bool has = false;
        const QString s = string(o, key, where, &has);
        if (!has)
            return {};
        QColor c = QColor::fromString(s);
        if (!c.isValid())
            fail(where, QStringLiteral("\"%1\" is not a colour").arg(QLatin1String(key)));
        return c;
    }

    Align align(const QJsonObject &o, Align def, const QString &where) const
    {
        bool has = false;
        const QString s = string(o, "align", where, &has);
        if (!has)
            return def;
        if (s == QLatin1String("right"))
            return Align::Right;
        if (s == QLatin1String("left"))
            return Align::Left;
        if (s == QLatin1String("center"))
            return Align::Center;
        if (s == QLatin1String("justify"))
            return Align::Justify;
        fail(where, QStringLiteral("\"align\" must be right, left, center or justify"));
    }

    Element element(const QJsonValue &v, const FontDef &bandFont, const QString &where) const
    {
        if (!v.isObject())
            fail(where, QStringLiteral("an element must be an object"));
        const QJsonObject o = v.toObject();
        checkKeys(o, where,
                  {"kind", "text", "name", "field", "column", "runs", "resource", "x", "right", "y", "w", "h",
                   "fit", "font", "align", "valign", "wrap", "border", "pen", "style", "fill", "color"});
        Element e;
        const QString kind = string(o, "kind", where);
        static const QHash<QString, ElementKind> kinds{
            {QStringLiteral("text"), ElementKind::Text},         {QStringLiteral("label"), ElementKind::Label},
            {QStringLiteral("paragraph"), ElementKind::Paragraph}, {QStringLiteral("field"), ElementKind::Field},
            {QStringLiteral("rowNumber"), ElementKind::RowNumber}, {QStringLiteral("gap"), ElementKind::Gap},
            {QStringLiteral("line"), ElementKind::Line},         {QStringLiteral("rect"), ElementKind::Rect},
            {QStringLiteral("picture"), ElementKind::Picture}};
        if (!kinds.contains(kind))
            fail(where, QStringLiteral("unknown element kind \"%1\"").arg(kind));
        e.kind = kinds.value(kind);
        const QString w = where + QStringLiteral(" (") + kind + QLatin1Char(')');

        e.text = string(o, "text", w, &e.hasDefault);
        e.name = string(o, "name", w);
        e.column = string(o, "column", w);
        e.resource = string(o, "resource", w);
        if (e.kind == ElementKind::Field)
            e.name = string(o, "field", w);
        else if (o.contains(QStringLiteral("field")))
            fail(w, QStringLiteral("\"field\" belongs to a field element"));

        switch (e.kind) {
        case ElementKind::Text:
            if (!e.hasDefault)
                fail(w, QStringLiteral("a text element needs \"text\""));
            break;
        case ElementKind::Label:
        case ElementKind::Gap:
            if (e.name.isEmpty())
                fail(w, QStringLiteral("needs \"name\""));
            if (e.kind == ElementKind::Gap && e.hasDefault)
                fail(w, QStringLiteral("a gap shows its label's value; it has no \"text\""));
            break;
        case ElementKind::Field:
            if (e.name.isEmpty())
                fail(w, QStringLiteral("a field element needs \"field\""));
            break;
        case ElementKind::Picture:
            if (e.resource.isEmpty())
                fail(w, QStringLiteral("a picture needs \"resource\""));
            break;
        default:
            break;
        }
        if (e.kind != ElementKind::Label && e.kind != ElementKind::Text && e.hasDefault)
            fail(w, QStringLiteral("\"text\" belongs to text and label elements"));

        if (o.contains(QStringLiteral("x")) && o.contains(QStringLiteral("right")))
            fail(w, QStringLiteral("give \"x\" or \"right\", not both"));
        if (o.contains(QStringLiteral("right"))) {
            e.fromRight = true;
            e.x = number(o, "right", 0, w);
        } else {
            e.x = number(o, "x", 0, w);
        }
        e.y = number(o, "y", 0, w);
        e.w = number(o, "w", -1, w);
        e.h = number(o, "h", -1, w);
        if ((e.kind == ElementKind::Rect || e.kind == ElementKind::Picture) && (e.w < 0 || e.h < 0))
            fail(w, QStringLiteral("needs \"w\" and \"h\""));
        if (e.kind == ElementKind::Line) {
            if (e.w < 0 || e.h < 0 || (e.w != 0 && e.h != 0))
                fail(w, QStringLiteral("a line needs \"w\" and \"h\", one of them 0"));
        }

        e.font = font(o.value(QStringLiteral("font")), bandFont, w);
        e.align = align(o, Align::Right, w);
        bool has = false;
        const QString va = string(o, "valign", w, &has);
        if (has) {
            if (va == QLatin1String("top"))
                e.valign = VAlign::Top;
            else if (va == QLatin1String("middle"))
                e.valign = VAlign::Middle;
            else if (va == QLatin1String("bottom"))
                e.valign = VAlign::Bottom;
            else
                fail(w, QStringLiteral("\"valign\" must be top, middle or bottom"));
        }
        e.wrap = boolean(o, "wrap", e.kind == ElementKind::Paragraph, w);
        e.fit = boolean(o, "fit", false, w);
        if (e.fit && (e.kind == ElementKind::Line || e.kind == ElementKind::Rect || e.kind == ElementKind::Picture))
            fail(w, QStringLiteral("\"fit\" belongs to text elements"));
        e.border = number(o, "border", 0, w, 0, 10);
        e.pen = number(o, "pen", 0.2, w, 0, 10);
        const QString style = string(o, "style", w, &has);
        if (has) {
            if (style == QLatin1String("solid"))
                e.penStyle = Qt::SolidLine;
            else if (style == QLatin1String("dot"))
                e.penStyle = Qt::DotLine;
            else if (style == QLatin1String("dash"))
                e.penStyle = Qt::DashLine;
            else
                fail(w, QStringLiteral("\"style\" must be solid, dot or dash"));
        }
        e.fill = color(o, "fill", w);
        const QColor c = color(o, "color", w);
        if (c.isValid())
            e.color = c;

        const QJsonValue runs = o.value(QStringLiteral("runs"));
        if (e.kind == ElementKind::Paragraph) {
            if (!runs.isArray() || runs.toArray().isEmpty())
                fail(w, QStringLiteral("a paragraph needs \"runs\""));
            int i = 0;
            for (const QJsonValue &rv : runs.toArray()) {
                const QString rw = w + QStringLiteral(" run ") + QString::number(++i);
                Run r;
                r.font = e.font;
                if (rv.isString()) {
                    r.text = rv.toString();
                } else if (rv.isObject()) {
                    const QJsonObject ro = rv.toObject();
                    checkKeys(ro, rw, {"label", "text", "bold", "size", "family", "w", "gap"});
                    bool isLabel = false, isText = false;
                    const QString label = string(ro, "label", rw, &isLabel);
                    const QString text = string(ro, "text", rw, &isText);
                    if (isLabel == isText)
                        fail(rw, QStringLiteral("a run has either \"label\" or \"text\""));
                    if (isLabel && label.isEmpty())
                        fail(rw, QStringLiteral("empty label name"));
                    r.isLabel = isLabel;
                    r.text = isLabel ? label : text;
                    r.font.bold = boolean(ro, "bold", r.font.bold, rw);
                    r.font.size = number(ro, "size", r.font.size, rw, 1, 200);
                    bool hasFam = false;
                    const QString fam = string(ro, "family", rw, &hasFam);
                    if (hasFam)
                        r.font.family = fam;
                    r.w = number(ro, "w", -1, rw, 1, 1000);
                    r.gap = boolean(ro, "gap", false, rw);
                    if (!isLabel && (ro.contains(QStringLiteral("w")) || r.gap))
                        fail(rw, QStringLiteral("\"w\" and \"gap\" belong to a label run"));
                } else {
                    fail(rw, QStringLiteral("a run is a text or an object"));
                }
                e.runs << r;
            }
        } else if (!runs.isUndefined()) {
            fail(w, QStringLiteral("\"runs\" belongs to a paragraph"));
        }
        return e;
    }

    Band band(const QJsonValue &v, BandKind kind, const FontDef &layoutFont) const
    {
        const QString where = QStringLiteral("band ") + bandKey(kind);
        if (!v.isObject())
            fail(where, QStringLiteral("a band must be an object"));
        const QJsonObject o = v.toObject();
        checkKeys(o, where, {"height", "on", "font", "elements"});
        Band b;
        b.present = true;
        b.height = number(o, "height", 0, where);
        b.font = font(o.value(QStringLiteral("font")), layoutFont, where);
        bool has = false;
        const QString on = string(o, "on", where, &has);
        if (has) {
            if (kind == BandKind::PageHeader && (on == QLatin1String("every") || on == QLatin1String("first")))
                b.everyPage = on == QLatin1String("every");
            else if (kind == BandKind::PageFooter && (on == QLatin1String("every") || on == QLatin1String("last")))
                b.everyPage = on == QLatin1String("every");
            else
                fail(where, QStringLiteral("\"on\" must be every or first (page header), every or last (page footer)"));
        }
        const QJsonValue els = o.value(QStringLiteral("elements"));
        if (!els.isUndefined() && !els.isArray())
            fail(where, QStringLiteral("\"elements\" must be a list"));
        int i = 0;
        for (const QJsonValue &ev : els.toArray())
            b.elements << element(ev, b.font, where + QStringLiteral(" element ") + QString::number(++i));
        return b;
    }

    Table table(const QJsonValue &v, const FontDef &layoutFont, double printable) const
    {
        const QString where = QStringLiteral("table");
        if (!v.isObject())
            fail(where, QStringLiteral("must be an object"));
        const QJsonObject o = v.toObject();
        checkKeys(o, where,
                  {"x", "right", "width", "headerHeight", "groupHeight", "rowHeight", "font", "headerFont",
                   "headerFill", "border", "columns"});
        Table t;
        t.font = font(o.value(QStringLiteral("font")), layoutFont, where);
        FontDef hf = t.font;
        hf.bold = true;
        t.headerFont = font(o.value(QStringLiteral("headerFont")), hf, where);
        t.headerHeight = number(o, "headerHeight", 10, where, 1);
        t.rowHeight = number(o, "rowHeight", 7, where, 1);
        t.border = number(o, "border", 0.2, where, 0, 10);
        t.headerFill = color(o, "headerFill", where);
        const QJsonValue cols = o.value(QStringLiteral("columns"));
        if (!cols.isArray() || cols.toArray().isEmpty())
            fail(where, QStringLiteral("needs \"columns\""));
        QSet<QString> ids;
        int i = 0;
        double sum = 0;
        for (const QJsonValue &cv : cols.toArray()) {
            const QString cw = QStringLiteral("table column ") + QString::number(++i);
            if (!cv.isObject())
                fail(cw, QStringLiteral("must be an object"));
            const QJsonObject co = cv.toObject();
            checkKeys(co, cw, {"id", "title", "group", "field", "text", "rowNumber", "width", "align", "wrap", "font"});
            Column c;
            c.title = string(co, "title", cw);
            c.group = string(co, "group", cw);
            bool hasField = false, hasText = false;
            c.field = string(co, "field", cw, &hasField);
            c.text = string(co, "text", cw, &hasText);
            c.rowNumber = boolean(co, "rowNumber", false, cw);
            if (int(hasField) + int(hasText) + int(c.rowNumber) != 1)
                fail(cw, QStringLiteral("a column shows one of \"field\", \"text\" or \"rowNumber\""));
            if (hasField && c.field.isEmpty())
                fail(cw, QStringLiteral("empty field name"));
            c.width = number(co, "width", 20, cw, 1, 1000);
            c.align = align(co, Align::Center, cw);
            c.wrap = boolean(co, "wrap", true, cw);
            c.font = font(co.value(QStringLiteral("font")), t.font, cw);
            bool hasId = false;
            c.id = string(co, "id", cw, &hasId);
            if (!hasId)
                c.id = hasField ? c.field : c.title;
            if (!c.id.isEmpty()) {
                if (ids.contains(c.id))
                    fail(cw, QStringLiteral("two columns with the id \"%1\"; give one an \"id\"").arg(c.id));
                ids.insert(c.id);
            }
            sum += c.width;
            t.columns << c;
        }
        t.groupHeight = number(o, "groupHeight", t.headerHeight / 2, where, 0.5, t.headerHeight);
        const double width = number(o, "width", sum, where, 1, 1000);
        const double scale = width / sum;
        t.width = width;
        if (o.contains(QStringLiteral("x")) && o.contains(QStringLiteral("right")))
            fail(where, QStringLiteral("give \"x\" or \"right\", not both"));
        if (o.contains(QStringLiteral("x")))
            t.x = number(o, "x", 0, where);
        else if (o.contains(QStringLiteral("right")))
            t.x = printable - width - number(o, "right", 0, where);
        else
            t.x = (printable - width) / 2;
        // Right to left: the first column is the rightmost.
        double right = t.x + width;
        for (Column &c : t.columns) {
            c.width *= scale;
            c.x = right - c.width;
            right = c.x;
        }
        return t;
    }

    std::shared_ptr<Layout> layout(const QByteArray &json) const
    {
        QJsonParseError err{};
        const QJsonDocument doc = QJsonDocument::fromJson(json, &err);
        if (err.error != QJsonParseError::NoError)
            fail(QStringLiteral("JSON at offset %1").arg(err.offset), err.errorString());
        if (!doc.isObject())
            fail(QStringLiteral("top"), QStringLiteral("must be an object"));
        const QJsonObject o = doc.object();
        checkKeys(o, QStringLiteral("top"), {"title", "page", "font", "table", "bands"});
        auto l = std::make_shared<Layout>();
        l->name = m_name;
        l->title = string(o, "title", QStringLiteral("top"));

        const QJsonObject page = object(o, "page", QStringLiteral("top"));
        checkKeys(page, QStringLiteral("page"), {"size", "orientation", "margins"});
        bool has = false;
        const QString size = string(page, "size", QStringLiteral("page"), &has);
        if (!has || size == QLatin1String("A4"))
            l->pageSize = QPageSize::A4;
        else if (size == QLatin1String("A5"))
            l->pageSize = QPageSize::A5;
        else if (size == QLatin1String("Letter"))
            l->pageSize = QPageSize::Letter;
        else
            fail(QStringLiteral("page"), QStringLiteral("\"size\" must be A4, A5 or Letter"));
        const QString orient = string(page, "orientation", QStringLiteral("page"), &has);
        if (!has || orient == QLatin1String("portrait"))
            l->orientation = QPageLayout::Portrait;
        else if (orient == QLatin1String("landscape"))
            l->orientation = QPageLayout::Landscape;
        else
            fail(QStringLiteral("page"), QStringLiteral("\"orientation\" must be portrait or landscape"));
        const QJsonValue m = page.value(QStringLiteral("margins"));
        if (!m.isUndefined()) {
            const QJsonArray a = m.toArray();
            if (!m.isArray() || a.size() != 4)
                fail(QStringLiteral("page"), QStringLiteral("\"margins\" is [left, top, right, bottom]"));
            double v[4];
            for (int i = 0; i < 4; ++i) {
                if (!a.at(i).isDouble() || a.at(i).toDouble() < 0 || a.at(i).toDouble() > 100)
                    fail(QStringLiteral("page"), QStringLiteral("a margin must be a number of millimetres"));
                v[i] = a.at(i).toDouble();
            }
            l->margins = QMarginsF(v[0], v[1], v[2], v[3]);
        }
        const QSizeF ps = l->pageSizeMm();
        if (l->margins.left() + l->margins.right() >= ps.width() - 10
            || l->margins.top() + l->margins.bottom() >= ps.height() - 10)
            fail(QStringLiteral("page"), QStringLiteral("the margins leave no room"));

        FontDef base;
        base.family = QStringLiteral("Tahoma");
        base.size = 10;
        l->font = font(o.value(QStringLiteral("font")), base, QStringLiteral("top"));

        if (o.contains(QStringLiteral("table")))
            l->table = table(o.value(QStringLiteral("table")), l->font, l->printableWidth());

        const QJsonObject bands = object(o, "bands", QStringLiteral("top"));
        checkKeys(bands, QStringLiteral("bands"),
                  {"pageHeader", "title", "columnHeader", "detail", "summary", "pageFooter"});
        for (int k = 0; k < kBandCount; ++k) {
            const QString key = bandKey(BandKind(k));
            if (bands.contains(key))
                l->bands[k] = band(bands.value(key), BandKind(k), l->font);
        }
        for (const QString &label : l->titleLabels())
            if (!l->labelNames().contains(label))
                fail(QStringLiteral("top"), QStringLiteral("the title names no label \"%1\"").arg(label));
        // Elements standing under a column, and the fields of the detail band.
        for (int k = 0; k < kBandCount; ++k) {
            for (Element &e : l->bands[k].elements) {
                if (e.column.isEmpty())
                    continue;
                const Column *c = l->table ? l->table->column(e.column) : nullptr;
                if (!c)
                    fail(QStringLiteral("band ") + bandKey(BandKind(k)),
                         QStringLiteral("no table column \"%1\"").arg(e.column));
                e.x = c->x;
                e.fromRight = false;
                e.columnWidth = e.w < 0;
                if (e.w < 0)
                    e.w = c->width;
            }
            if (k != int(BandKind::Detail)) {
                for (const Element &e : l->bands[k].elements)
                    if (e.kind == ElementKind::Field || e.kind == ElementKind::RowNumber)
                        fail(QStringLiteral("band ") + bandKey(BandKind(k)),
                             QStringLiteral("field and rowNumber elements belong to the detail band"));
            }
        }
        return l;
    }

private:
    QString m_name;
};

QHash<QString, std::shared_ptr<const Layout>> &cache()
{
    static QHash<QString, std::shared_ptr<const Layout>> c;
    return c;
}

} // namespace

QString bandKey(BandKind kind)
{
    switch (kind) {
    case BandKind::PageHeader: return QStringLiteral("pageHeader");
    case BandKind::Title: return QStringLiteral("title");
    case BandKind::ColumnHeader: return QStringLiteral("columnHeader");
    case BandKind::Detail: return QStringLiteral("detail");
    case BandKind::Summary: return QStringLiteral("summary");
    case BandKind::PageFooter: return QStringLiteral("pageFooter");
    }
    return {};
}

bool Table::twoLevel() const
{
    for (const Column &c : columns)
        if (!c.group.isEmpty())
            return true;
    return false;
}

const Column *Table::column(const QString &id) const
{
    for (const Column &c : columns)
        if (c.id == id)
            return &c;
    return nullptr;
}

std::shared_ptr<const Layout> Layout::fromJson(const QByteArray &json, const QString &name)
{
    return Parser(name).layout(json);
}

std::shared_ptr<const Layout> Layout::load(const QString &name)
{
    auto it = cache().constFind(name);
    if (it != cache().constEnd())
        return *it;
    QFile f(QStringLiteral(":/layouts/") + name + QStringLiteral(".json"));
    if (!f.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Report layout %1 is missing").arg(name));
    auto l = fromJson(f.readAll(), name);
    cache().insert(name, l);
    return l;
}

QStringList Layout::available()
{
    QStringList names;
    const QStringList files = QDir(QStringLiteral(":/layouts")).entryList({QStringLiteral("*.json")}, QDir::Files,
                                                                          QDir::Name);
    for (const QString &f : files)
        names << f.chopped(5);
    return names;
}

QSizeF Layout::pageSizeMm() const
{
    const QSizeF s = QPageSize::size(pageSize, QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? s.transposed() : s;
}

double Layout::printableWidth() const
{
    return pageSizeMm().width() - margins.left() - margins.right();
}

bool Layout::hasRows() const
{
    if (table)
        return true;
    for (const Element &e : band(BandKind::Detail).elements)
        if (e.kind == ElementKind::Field || e.kind == ElementKind::RowNumber)
            return true;
    return false;
}

QStringList Layout::labelNames() const
{
    QStringList names;
    auto add = [&](const QString &n) {
        if (!names.contains(n))
            names << n;
    };
    for (const Band &b : bands)
        for (const Element &e : b.elements) {
            if (e.kind == ElementKind::Label || e.kind == ElementKind::Gap)
                add(e.name);
            for (const Run &r : e.runs)
                if (r.isLabel)
                    add(r.text);
        }
    return names;
}

QStringList Layout::titleLabels() const
{
    static const QRegularExpression placeholder(QStringLiteral("\\{([^{}]*)\\}"));
    QStringList labels;
    for (auto it = placeholder.globalMatch(title); it.hasNext();)
        labels << it.next().captured(1);
    return labels;
}

QStringList Layout::requiredLabels() const
{
    // A label is optional when any of its elements carries a design text.
    QStringList optional;
    for (const Band &b : bands)
        for (const Element &e : b.elements)
            if (e.kind == ElementKind::Label && e.hasDefault)
                optional << e.name;
    QStringList out;
    for (const QString &n : labelNames())
        if (!optional.contains(n))
            out << n;
    return out;
}

QStringList Layout::fieldNames() const
{
    QStringList names;
    if (table)
        for (const Column &c : table->columns)
            if (!c.field.isEmpty() && !names.contains(c.field, Qt::CaseInsensitive))
                names << c.field;
    for (const Element &e : band(BandKind::Detail).elements)
        if (e.kind == ElementKind::Field && !names.contains(e.name, Qt::CaseInsensitive))
            names << e.name;
    return names;
}

QStringList Layout::pictures() const
{
    QStringList out;
    for (const Band &b : bands)
        for (const Element &e : b.elements)
            if (e.kind == ElementKind::Picture && !out.contains(e.resource))
                out << e.resource;
    return out;
}

} // namespace report
