#include "shared/attachments.h"

#include "core/context.h"
#include "core/dataset.h"
#include "core/errors.h"
#include "shared/exports.h"
#include "shared/ui.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <iterator>
#ifdef _WIN32
#include <windows.h>
#endif

const QString kAttachmentReadError = QStringLiteral("خطا! فايل %1 خوانده نشد: %2");
const QString kAttachmentTooLarge = QStringLiteral("خطا! حجم فايل %1 بيش از %2 مگابايت است");
const QString kAttachmentEmpty = QStringLiteral("خطا! فايل %1 خالي است (صفر بايت) و ثبت نمي شود");
const QString kAttachmentDiskFull = QStringLiteral("خطا! فضاي ديسك بانك اطلاعاتي پر است و فايل ثبت نشد");
const QString kFileDiskFull = QStringLiteral("خطا! فضاي ديسك پر است و فايل %1 نوشته نشد");

QString FileExtension(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    qsizetype start = 0; // the name's leading dots
    while (start < name.size() && name.at(start) == QLatin1Char('.'))
        ++start;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > start && dot < name.size() - 1 ? name.mid(dot) : QString();
}

QString DiskFullText(const QString &failure, const QString &sentence)
{
#ifdef _WIN32
    static const QString systemTexts[] = {qt_error_string(ERROR_DISK_FULL), qt_error_string(ERROR_HANDLE_DISK_FULL)};
#else
    static const QString systemTexts[] = {qt_error_string(ENOSPC), qt_error_string(EDQUOT)};
#endif
    // The database's failures say a full disk in their first line (dbconn::errorText); a file's,
    // in the system's text.
    const bool full = failure.startsWith(msg::kDiskFull)
                      || std::any_of(std::begin(systemTexts), std::end(systemTexts),
                                     [&](const QString &t) { return failure.contains(t); });
    if (!full)
        return {};
    // A database failure comes with a Persian sentence of its own first: the driver's text is below.
    const QString below = failure.startsWith(QStringLiteral("خطا!")) && failure.contains(QLatin1Char('\n'))
                              ? failure.section(QLatin1Char('\n'), 1)
                              : failure;
    return sentence + QLatin1Char('\n') + below.trimmed();
}

StoredFile ReadAttachmentFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw AppError(kAttachmentReadError.arg(path, f.errorString()));
    if (f.size() > kMaxAttachmentBytes)
        throw AppError(kAttachmentTooLarge.arg(path).arg(kMaxAttachmentBytes / (1024 * 1024)));
    StoredFile out;
    out.bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw AppError(kAttachmentReadError.arg(path, f.errorString()));
    // Nothing to keep: an empty file is refused rather than stored as an empty attachment.
    if (out.bytes.isEmpty())
        throw AppError(kAttachmentEmpty.arg(path));
    out.ext = FileExtension(path);
    return out;
}

bool ChooseAttachment(AppContext &ctx, StoredFile *out, QString *fileName, const QString &filter)
{
    const QString path = ctx.ui->openFileName(QString(), filter);
    if (path.isEmpty())
        return false;
    try {
        *out = ReadAttachmentFile(path);
    } catch (const AppError &e) {
        ctx.ui->message(e.message());
        return false;
    }
    if (fileName)
        *fileName = path;
    return true;
}

StoredFile StoredFileOf(DataSet *ds, const QString &blobField, const QString &extField, int row)
{
    StoredFile f;
    f.bytes = ds->value(blobField, row).toByteArray();
    f.ext = ds->text(extField, row).trimmed();
    return f;
}

bool WriteAttachment(AppContext &ctx, const StoredFile &file, const QString &path)
{
    QSaveFile out(path);
    // Written until the system refuses: a disk that fills up takes part of a write without an
    // error, and says why only when asked for the rest.
    qint64 done = 0;
    if (out.open(QIODevice::WriteOnly)) {
        while (done < file.bytes.size()) {
            const qint64 n = out.write(file.bytes.constData() + done, file.bytes.size() - done);
            if (n <= 0)
                break;
            done += n;
        }
    }
    if (!out.isOpen() || done != file.bytes.size() || !out.commit()) {
        const QString full = DiskFullText(out.errorString(), kFileDiskFull.arg(path));
        ctx.ui->message(full.isEmpty() ? kExportWriteError.arg(path, out.errorString()) : full);
        return false;
    }
    return true;
}

QString OpenAttachment(AppContext &ctx, const StoredFile &file, bool askName, const QString &proposed,
                       bool openAfter)
{
    QString path;
    if (askName) {
        path = ctx.ui->saveFileName(QString(), proposed, QString());
        if (path.isEmpty())
            return {};
        // The extension is added unless the chosen name already ends with it.
        if (!file.ext.isEmpty() && !path.endsWith(file.ext, Qt::CaseInsensitive))
            path += file.ext;
    } else {
        path = TempExportPath(QStringLiteral("Tobrenhal") + file.ext);
    }
    if (!WriteAttachment(ctx, file, path))
        return {};
    if (openAfter)
        ctx.ui->openFile(path);
    return path;
}
