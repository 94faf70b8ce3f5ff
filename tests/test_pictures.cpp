// JPEG pictures are decoded through Qt's image plugin: the program's own pictures load.
#include "support/fixture.h"

#include <QImage>
#include <QImageReader>

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void jpegPluginDecodesTheProgramsPictures()
    {
        QVERIFY(QImageReader::supportedImageFormats().contains("jpeg"));
        QImageReader r(QStringLiteral(":/core/images/background.jpg"));
        QCOMPARE(r.format(), QByteArray("jpeg"));
        const QImage img = r.read();
        QVERIFY2(!img.isNull(), qPrintable(r.errorString()));
        QCOMPARE(img.size(), QSize(1200, 800));
    }
};

VARNOSET_TEST_MAIN(PicturesTest)
#include "test_pictures.moc"
