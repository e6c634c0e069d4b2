#include <QTest>
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include "widgets/colorclass.h"
#include "shell/colordialog.h"
#include "tests/common/scripteduser.h"
#include "core/parastruct.h"
#include "tests/shell/shellfixture.h"
#include "ui_colordialog.h"

class TestColors : public QObject
{
    Q_OBJECT
    ScriptedUser user;
private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        GetGlobClass()->appDir = dir.path();
        QFile::remove(path());
        GetColorClass()->canopyColor = QColor();
        GetColorClass()->backgroundColor = QColor();
        user.onColor = nullptr;
    }

    void fileBytesOfAKnownPair()
    {
        GetColorClass()->canopyColor = QColor(255, 0, 128);
        GetColorClass()->backgroundColor = QColor(1, 2, 3);
        WriteColorsStream();
        const QByteArray expected = QByteArray::fromHex(
            "01" "ffff" "ffff" "0000" "8080" "0000"
            "01" "ffff" "0101" "0202" "0303" "0000");
        QCOMPARE(fileBytes(path()), expected);
    }

    void invalidColourBytes()
    {
        WriteColorsStream();
        QCOMPARE(fileBytes(path()), QByteArray::fromHex("00ffff0000000000000000" "00ffff0000000000000000"));
    }

    void readBack()
    {
        GetColorClass()->canopyColor = QColor(10, 20, 30);
        GetColorClass()->backgroundColor = QColor(200, 210, 220);
        WriteColorsStream();
        GetColorClass()->canopyColor = Qt::red;
        GetColorClass()->backgroundColor = Qt::red;
        ReadColorsStream();
        QCOMPARE(GetColorClass()->canopyColor, QColor(10, 20, 30));
        QCOMPARE(GetColorClass()->backgroundColor, QColor(200, 210, 220));
    }

    // Before the main window has noted its directories the colours still
    // come from the application directory.
    void applicationDirectoryBeforeTheWindowKnowsIt()
    {
        const QString own = QCoreApplication::applicationDirPath() + "/colors.ini";
        GetGlobClass()->appDir.clear();
        GetColorClass()->canopyColor = QColor(10, 20, 30);
        WriteColorsStream();
        QVERIFY(QFile::exists(own));
        GetColorClass()->canopyColor = Qt::red;
        ReadColorsStream();
        QFile::remove(own);
        QCOMPARE(GetColorClass()->canopyColor, QColor(10, 20, 30));
    }

    void shortFileGivesInvalidBackground()
    {
        GetColorClass()->canopyColor = QColor(10, 20, 30);
        GetColorClass()->backgroundColor = QColor(200, 210, 220);
        WriteColorsStream();
        QFile f(path());
        QVERIFY(f.resize(11));
        ReadColorsStream();
        QCOMPARE(GetColorClass()->canopyColor, QColor(10, 20, 30));
        QVERIFY(!GetColorClass()->backgroundColor.isValid());
    }

    // Damaged files: nothing of them reaches the record, both colours become
    // invalid (the views then use their defaults), and no colour with a spec
    // Qt does not define is ever made (the sanitizers would stop the test).
    void damagedFileInvalidatesBoth_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray shipped = QByteArray::fromHex("01" "ffff" "ffff" "9696" "3232" "0000"
                                                       "01" "ffff" "1414" "1e1e" "3c3c" "0000");
        QByteArray spec9 = shipped;
        spec9[0] = 0x09;
        QByteArray backgroundSpec6 = shipped;
        backgroundSpec6[11] = 0x06;
        QTest::newRow("canopy spec 9") << spec9;
        QTest::newRow("background spec 6") << backgroundSpec6;
        QTest::newRow("cut to 15 bytes") << shipped.left(15);
        QTest::newRow("cut to 21 bytes") << shipped.left(21);
        QTest::newRow("cut to 5 bytes") << shipped.left(5);
        QTest::newRow("22 bytes of 0xff") << QByteArray(22, '\xff');
        QTest::newRow("one byte too many") << shipped + '\0';
        QTest::newRow("empty") << QByteArray();
    }
    void damagedFileInvalidatesBoth()
    {
        QFETCH(QByteArray, bytes);
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        GetColorClass()->canopyColor = Qt::green;
        GetColorClass()->backgroundColor = Qt::blue;
        ReadColorsStream();
        QVERIFY(!GetColorClass()->canopyColor.isValid());
        QVERIFY(!GetColorClass()->backgroundColor.isValid());
    }

    // Every spec Qt defines is taken as stored.
    void otherSpecsAreKept()
    {
        GetColorClass()->canopyColor = QColor::fromHsv(120, 200, 100);
        GetColorClass()->backgroundColor = QColor::fromCmyk(10, 20, 30, 40);
        WriteColorsStream();
        GetColorClass()->canopyColor = Qt::red;
        ReadColorsStream();
        QCOMPARE(GetColorClass()->canopyColor, QColor::fromHsv(120, 200, 100));
        QCOMPARE(GetColorClass()->backgroundColor, QColor::fromCmyk(10, 20, 30, 40));
    }

    void missingFileKeepsColours()
    {
        GetColorClass()->canopyColor = Qt::green;
        ReadColorsStream();
        QCOMPARE(GetColorClass()->canopyColor, QColor(Qt::green));
    }

    void unreadableFileInvalidatesBoth()
    {
        QVERIFY(QDir().mkpath(path()));   // a folder in place of the file cannot be read as one
        GetColorClass()->canopyColor = Qt::green;
        GetColorClass()->backgroundColor = Qt::blue;
        ReadColorsStream();
        QDir().rmdir(path());
        QVERIFY(!GetColorClass()->canopyColor.isValid());
        QVERIFY(!GetColorClass()->backgroundColor.isValid());
    }

    void dialogOkWritesCancelKeepsSaved()
    {
        ColorDialog dialog;
        QString askedTitle;
        user.onColor = [&](const QColor&, const QString& title) {
            askedTitle = title;
            return QColor(12, 34, 56);
        };
        dialog.show();
        QTest::mouseClick(dialog.form()->canopy_widget, Qt::LeftButton);
        QCOMPARE(askedTitle, QString("set canopy color"));
        QCOMPARE(GetColorClass()->canopyColor, QColor(12, 34, 56));
        QTest::mouseClick(dialog.form()->okButton, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(QFileInfo(path()).size(), qint64(22));

        // Pick another colour, cancel: the dialog opens again with the saved one.
        user.onColor = [](const QColor&, const QString&) { return QColor(99, 99, 99); };
        dialog.show();
        QTest::mouseClick(dialog.form()->canopy_widget, Qt::LeftButton);
        QCOMPARE(GetColorClass()->canopyColor, QColor(99, 99, 99));
        QTest::mouseClick(dialog.form()->pushButton, Qt::LeftButton);
        dialog.show();
        QCOMPARE(dialog.form()->canopy_widget->color(), QColor(12, 34, 56));
        dialog.hide();
    }

    void cancelledPickerKeepsTheColour()
    {
        GetColorClass()->backgroundColor = QColor(1, 100, 200);
        WriteColorsStream();
        ColorDialog dialog;
        dialog.show();
        user.onColor = [](const QColor&, const QString&) { return QColor(); };
        QTest::mouseClick(dialog.form()->background_widget, Qt::LeftButton);
        QCOMPARE(dialog.form()->background_widget->color(), QColor(1, 100, 200));
        QCOMPARE(GetColorClass()->backgroundColor, QColor(1, 100, 200));
        dialog.hide();
    }

    void dialogForm()
    {
        ColorDialog dialog;
        QCOMPARE(dialog.windowTitle(), QString("COLORS"));
        QCOMPARE(dialog.maximumSize(), QSize(452, 181));
        QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialog.form()->label->text(), QString("Canopy") + QString(37, ' '));
        QCOMPARE(dialog.form()->label_2->text(), QString("Background"));
        QCOMPARE(dialog.form()->canopy_widget->minimumSize(), QSize(72, 92));
        QCOMPARE(dialog.form()->background_widget->maximumSize(), QSize(72, 92));
        QCOMPARE(dialog.form()->okButton->text(), QString("Ok"));
        QCOMPARE(dialog.form()->pushButton->text(), QString("Cancel"));
    }

private:
    QString path() const { return dir.path() + "/colors.ini"; }
    QTemporaryDir dir;
};

QTEST_MAIN(TestColors)
#include "tst_colors.moc"
