#include "shared/attachments.h"

#include "core/context.h"
#include "core/dataset.h"
#include "core/errors.h"
#include "shared/exports.h"
#include "shared/ui.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

const QString kAttachmentReadError = QStringLiteral("خطا! فايل %1 خوانده نشد: %2");
const QString kAttachmentTooLarge = QStringLiteral("خطا! حجم فايل %1 بيش از %2 مگابايت است");

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
    const QString suffix = QFileInfo(path).suffix();
    out.ext = suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
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
    if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size() || !out.commit()) {
        ctx.ui->message(kExportWriteError.arg(path, out.errorString()));
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
