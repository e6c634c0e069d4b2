// The painter font helper of the structure editors.

#include <QTest>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPainter>

#include "structure/ui/painterfont.h"

class TestPainterFont : public QObject
{
    Q_OBJECT

private slots:
    void painterFont()
    {
        QImage image(10, 10, QImage::Format_RGB32);
        QPainter p(&image);
        setMyFont(13, true, true, &p);
        QCOMPARE(p.font().pointSize(), 13);
        QCOMPARE(p.font().weight(), QFont::Bold);
        QVERIFY(p.font().italic());
        setMyFont(9, false, false, &p);
        QCOMPARE(p.font().weight(), QFont::Normal);
        QVERIFY(!p.font().italic());
    }
};

QTEST_MAIN(TestPainterFont)
#include "tst_painterfont.moc"
