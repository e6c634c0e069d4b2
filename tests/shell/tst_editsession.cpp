#include <QTest>
#include <QObject>
#include <QStringLiteral>

#include <QDialog>
#include <QVector3D>

#include <utility>

#include "core/parastruct.h"
#include "widgets/editsession.h"

// The editing protocol: the copy of the design exists only while the
// dialog is shown, Cancel writes it back, OK keeps the edit.
class TestEditSession : public QObject
{
    Q_OBJECT
    std::unique_ptr<ParaStruct> design = std::make_unique<ParaStruct>();

private slots:
    void copyLivesWhileShown()
    {
        QDialog dialog;
        EditSession session(&dialog, design.get());
        QVERIFY(!session.isOpen());
        design->span = 5.0;
        dialog.show();
        QVERIFY(session.isOpen());
        design->span = 11.5;
        QCOMPARE(session.backup()->span, 5.0);
        dialog.hide();
        QVERIFY(!session.isOpen());
        QCOMPARE(design->span, 11.5);   // hidden after OK: the edit stays
    }

    void cancelRestoresTheDesignAsShown()
    {
        design->span = 9.0;
        design->projectName = QStringLiteral("before");
        QDialog dialog;
        EditSession session(&dialog, design.get());
        dialog.show();
        design->span = 14.0;
        design->projectName = QStringLiteral("edited");
        session.revert();
        dialog.hide();
        QCOMPARE(design->span, 9.0);
        QCOMPARE(design->projectName, QStringLiteral("before"));
        // Outside a session there is nothing to restore.
        design->span = 3.0;
        session.revert();
        QCOMPARE(design->span, 3.0);
    }

    // The copy holds the design's inputs; the derived tables are shared
    // with the live design, and a recompute during the session does not
    // reach the copy: Cancel brings back the tables as shown.
    void cancelBringsBackTheDerivedTables()
    {
        design->flatGrid[2][10][300] = QVector3D(1, 1, 1);
        QDialog dialog;
        EditSession session(&dialog, design.get());
        dialog.show();
        QVERIFY(session.backup()->flatGrid.sharedWith(design->flatGrid));
        design->flatGrid[2][10][300] = QVector3D(7, 7, 7);
        QCOMPARE(session.backup()->flatGrid[2][10][300], QVector3D(1, 1, 1));
        session.revert();
        dialog.hide();
        QCOMPARE(std::as_const(*design).flatGrid[2][10][300], QVector3D(1, 1, 1));
    }

    void showingAgainWhileOpenKeepsTheFirstCopy()
    {
        design->span = 10.0;
        QDialog dialog;
        EditSession session(&dialog, design.get());
        dialog.show();
        design->span = 12.0;
        dialog.show();   // raised again: still the same session
        session.revert();
        QCOMPARE(design->span, 10.0);
    }

    void everyShowIsANewSession()
    {
        QDialog dialog;
        EditSession session(&dialog, design.get());
        design->span = 7.0;
        dialog.show();
        design->span = 8.0;
        dialog.hide();   // accepted
        dialog.show();
        design->span = 9.0;
        session.revert();
        QCOMPARE(design->span, 8.0);
    }
};

QTEST_MAIN(TestEditSession)
#include "tst_editsession.moc"
