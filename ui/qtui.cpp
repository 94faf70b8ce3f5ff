#include "ui/qtui.h"

#include "core/dates.h"
#include "report/filled_report.h"
#include "report/fonts.h"
#include "report/preview.h"
#include "report/printing.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTreeView>
#include <QHeaderView>
#include <QTimer>
#include <QUrl>
#include <limits>

namespace {
QWidget *owner(QWidget *parent)
{
    if (parent)
        return parent;
    if (QWidget *w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}
} // namespace

void QtUi::message(const QString &text, QWidget *parent)
{
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, owner(parent));
    box.setLayoutDirection(Qt::RightToLeft);
    box.exec();
}

Ui::Answer QtUi::question(const QString &text, bool withCancel, QWidget *parent)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, QString(), text, buttons, owner(parent));
    box.setLayoutDirection(Qt::RightToLeft);
    const int r = box.exec();
    if (r == QMessageBox::Yes)
        return Yes;
    if (r == QMessageBox::No)
        return No;
    return withCancel ? Cancel : No;
}

QString QtUi::inputBox(const QString &caption, const QString &prompt, const QString &def, QWidget *parent, bool *ok)
{
    QInputDialog d(owner(parent));
    d.setLayoutDirection(Qt::RightToLeft);
    d.setWindowTitle(caption);
    d.setLabelText(prompt);
    d.setTextValue(def);
    // Wide enough for a typical default text (up to about two thirds of the screen); once shown,
    // the text is selected with the caret at its start, so that its beginning is in sight.
    if (auto *box = d.findChild<QLineEdit *>()) {
        const int room = d.screen() ? d.screen()->availableGeometry().width() * 2 / 3 : 800;
        box->setMinimumWidth(qMin(box->fontMetrics().horizontalAdvance(def) + 24, room));
        QTimer::singleShot(0, box, [box] { box->setSelection(int(box->text().size()), -int(box->text().size())); });
    }
    const bool accepted = d.exec() == QDialog::Accepted;
    if (ok)
        *ok = accepted;
    return accepted ? d.textValue() : def;
}

QString QtUi::passwordBox(const QString &caption, const QString &prompt, bool *ok, QWidget *parent)
{
    QInputDialog d(owner(parent));
    d.setLayoutDirection(Qt::RightToLeft);
    d.setWindowTitle(caption);
    d.setLabelText(prompt);
    d.setTextEchoMode(QLineEdit::Password);
    const bool accepted = d.exec() == QDialog::Accepted;
    if (ok)
        *ok = accepted;
    return accepted ? d.textValue() : QString();
}

namespace {

// The texts of the file dialog's list that Qt gives in English whatever its translation says:
// the type of a folder or a file (taken from the file dialog's own translated texts), the size
// (with the translated units) and the date modified (a Solar date), their figures in Persian
// digits. The names and what the dialog does with the files stay Qt's.
class PersianFileTexts : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || index.column() == 0 || !files)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QFileInfo info = files->fileInfo(source);
        switch (index.column()) {
        case 1:
            return info.isDir() ? QString() : sizeText(files->size(source));
        case 2:
            return typeText(info);
        case 3:
            return dateText(files->lastModified(source));
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }

private:
    static QString typeText(const QFileInfo &info)
    {
        if (info.isRoot())
            return QCoreApplication::translate("QFileDialog", "Drive");
        if (info.isDir())
            return QCoreApplication::translate("QFileDialog", "Folder");
        if (info.suffix().isEmpty())
            return QCoreApplication::translate("QFileDialog", "File");
        return QCoreApplication::translate("QFileDialog", "%1 File").arg(info.suffix());
    }

    static QString sizeText(qint64 bytes)
    {
        const std::pair<const char *, double> units[] = {
            {"%1 TB", 1024.0 * 1024 * 1024 * 1024}, {"%1 GB", 1024.0 * 1024 * 1024}, {"%1 MB", 1024.0 * 1024},
            {"%1 KB", 1024.0}};
        for (const auto &[unit, size] : units)
            if (bytes >= size)
                return QCoreApplication::translate("QFileSystemModel", unit)
                    .arg(report::persianFigures(QString::number(bytes / size, 'f', size > 1024 ? 1 : 0)));
        return QCoreApplication::translate("QFileSystemModel", "%1 bytes").arg(report::persianFigures(QString::number(bytes)));
    }

    static QString dateText(const QDateTime &modified)
    {
        if (!modified.isValid())
            return QString();
        const QDateTime local = modified.toLocalTime();
        return report::persianFigures(SolarDateText(toSolar(local.date())) + QLatin1Char(' ')
                                      + local.time().toString(QStringLiteral("HH:mm")));
    }
};

// Paints a box of the file dialog (the folder, the file types) whose text holds no Persian
// letter as Qt paints it, the text (elided in the middle) reading left to right: the painter
// takes the program's right-to-left direction whatever the box's own, and a path read right to
// left puts its first "/" at its end. A text with Persian letters is left to Qt.
class LeftToRightPath : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QComboBox *>(watched);
        if (!box || event->type() != QEvent::Paint)
            return false;
        const QString text = box->currentText();
        for (const QChar c : text)
            if (c.direction() == QChar::DirR || c.direction() == QChar::DirAL)
                return false;
        QStylePainter p(box);
        p.setLayoutDirection(Qt::LeftToRight);
        p.setPen(box->palette().color(QPalette::Text));
        QStyleOptionComboBox opt;
        opt.initFrom(box);
        opt.editable = box->isEditable();
        opt.frame = box->hasFrame();
        opt.subControls = QStyle::SC_All;
        opt.currentIcon = box->itemIcon(box->currentIndex());
        opt.iconSize = box->iconSize();
        const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box);
        opt.currentText = opt.fontMetrics.elidedText(text, Qt::ElideMiddle,
                                                     field.width() - opt.iconSize.width() - 4);
        p.drawComplexControl(QStyle::CC_ComboBox, opt);
        p.drawControl(QStyle::CE_ComboBoxLabel, opt);
        return true;
    }
};

// Qt's own file dialog (its widgets, so that automation finds it) with the list's texts in
// Persian and the folder's path reading left to right, as a path does; the chosen file, or
// empty when cancelled.
QString runFileDialog(QWidget *parent, QFileDialog::AcceptMode mode, const QString &caption, const QString &proposed,
                      const QString &filter)
{
    QFileDialog d(owner(parent), caption, proposed, filter);
    d.setObjectName(QStringLiteral("QFileDialog"));
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setAcceptMode(mode);
    d.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    d.setProxyModel(new PersianFileTexts(&d));
    for (const char *name : {"lookInCombo", "fileTypeCombo"})
        if (auto *box = d.findChild<QComboBox *>(QLatin1String(name)))
            box->installEventFilter(new LeftToRightPath(box));
    if (auto *path = d.findChild<QComboBox *>(QStringLiteral("lookInCombo")))
        path->setLayoutDirection(Qt::LeftToRight);
    // The date column as wide as a date with its time.
    if (auto *list = d.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        const int date = list->fontMetrics().horizontalAdvance(report::persianFigures(QStringLiteral("1405/09/16 09:00")));
        list->header()->resizeSection(3, std::max(list->header()->sectionSize(3), date + 16));
    }
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return QString();
    return d.selectedFiles().constFirst();
}

} // namespace

QString QtUi::openFileName(const QString &caption, const QString &filter, QWidget *parent)
{
    return runFileDialog(parent, QFileDialog::AcceptOpen, caption, QString(), filter);
}

QString QtUi::saveFileName(const QString &caption, const QString &proposed, const QString &filter, QWidget *parent)
{
    return runFileDialog(parent, QFileDialog::AcceptSave, caption, proposed, filter);
}

int QtUi::showModal(QDialog *window)
{
    return window->exec();
}

void QtUi::openFile(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtUi::beep()
{
    QApplication::beep();
}

namespace {

// Qt's progress dialog: shown when the run lasts more than a moment, modal, with its Cancel button.
class DialogProgress : public Ui::Progress {
public:
    DialogProgress(const QString &text, qint64 total, QWidget *parent)
        : m_dialog(parent)
    {
        // The default Cancel button, in the language of Qt's loaded translations.
        m_dialog.setLabelText(text);
        m_dialog.setRange(0, int(qBound<qint64>(qint64(0), total, qint64(std::numeric_limits<int>::max()))));
        m_dialog.setLayoutDirection(Qt::RightToLeft);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(700);
        m_dialog.setAutoReset(false);
        m_dialog.setAutoClose(false);
        m_dialog.setValue(0);
    }
    bool step(qint64 done) override
    {
        m_dialog.setValue(int(qMin<qint64>(done, m_dialog.maximum())));
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

} // namespace

std::unique_ptr<Ui::Progress> QtUi::startProgress(const QString &text, qint64 total, QWidget *parent)
{
    return std::make_unique<DialogProgress>(text, total, owner(parent));
}

// ---- reports ----------------------------------------------------------------------------

QtUi::QtUi() : m_printJob(std::make_shared<report::QtPrintJob>()) {}
QtUi::~QtUi() = default;

void QtUi::setPrintJob(std::shared_ptr<report::PrintJob> job)
{
    m_printJob = job ? std::move(job) : std::make_shared<report::QtPrintJob>();
}

void QtUi::previewReport(const report::FilledReport &r, const AfterPrint &afterPrint)
{
    report::ReportPreview preview(r, *this, m_printJob, afterPrint, QApplication::activeModalWidget());
    showModal(&preview);
}

Ui::PrintResult QtUi::printReport(const report::FilledReport &r, const AfterPrint &afterPrint, int copies)
{
    return report::runPrint(*this, *m_printJob, r, afterPrint, QApplication::activeModalWidget(), copies);
}
