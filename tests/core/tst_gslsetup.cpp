#include <QTest>
#include <QObject>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_sf_log.h>

#include "core/gslsetup.h"

class TestGslSetup : public QObject
{
    Q_OBJECT
private slots:
    void domainErrorReturnsInsteadOfAborting()
    {
        Gsl_Errors_Off();
        gsl_sf_result r;
        QCOMPARE(gsl_sf_log_e(-1.0, &r), int(GSL_EDOM));
    }
};

QTEST_APPLESS_MAIN(TestGslSetup)
#include "tst_gslsetup.moc"
