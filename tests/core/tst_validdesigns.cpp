// One definition of a valid design, held at every door. Designs built from
// the shipped default design with the user's numbers at the edges of their
// ranges (the bounds and the numbers next to them inside) are recomputed as
// the editors' OK recomputes them, saved and opened again, every derived
// value the file stores in its own range. The numbers next to them outside
// are refused by Save, naming the field and quoting a value that reads back
// as the one refused, every file on disk as it was. How numbers are quoted
// and how typed texts are read, against values written out by hand.

#include <QTest>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>

#include "core/designedit.h"
#include "core/designinputs.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "core/projectsteps.h"
#include "shell/model/installhooks.h"
#include "tests/common/scripteduser.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// One number a user gives the design, and how an editor stores it.
struct Input {
    const char* name;
    const DesignInput* input;
    int index; // of an array field, -1 for a single one
    double* (*field)(ParaStruct*);
    bool movesPilot = false; // the displacement places the pilot too

    void store(ParaStruct* d, double v) const
    {
        *field(d) = v;
        // The pilot hangs that far behind the leading edge, in percent of
        // the centre chord.
        if (movesPilot)
            d->legaX = d->R_X(d->chord[d->firstRib]) * v / 100;
    }
};

QList<Input> inputs()
{
    using namespace designinput;
    return {
        {"span", &kSpan, -1, [](ParaStruct* d) { return &d->span; }},
        {"hang height", &kHangHeight, -1, [](ParaStruct* d) { return &d->hangHeight; }},
        {"carabiner distance", &kCarabinerDistance, -1, [](ParaStruct* d) { return &d->carabinerDistance; }},
        {"profile alignment", &kProfileAlignment, -1, [](ParaStruct* d) { return &d->profileAlignment; }},
        {"twist", &kTwist, -1, [](ParaStruct* d) { return &d->maxTwistAngle; }},
        {"total weight", &kTotalWeight, -1, [](ParaStruct* d) { return &d->totalWeight; }},
        {"tow force", &kTowForce, -1, [](ParaStruct* d) { return &d->towForce; }},
        {"side seam", &kSeamAllowance, 0, [](ParaStruct* d) { return &d->seamAllowance[0]; }},
        {"diagonal seam", &kSeamAllowance, 3, [](ParaStruct* d) { return &d->seamAllowance[3]; }},
        {"control point diameter", &kControlPointDiameter, -1, [](ParaStruct* d) { return &d->controlPointDiameter; }},
        {"tip factor", &kEdgeTipFactor, -1, [](ParaStruct* d) { return &d->edgeTipFactor; }},
        {"rear rib cavity", &kRearRibCavity, -1, [](ParaStruct* d) { return &d->minirib.rearRibCavity; }},
        {"winflex A", &kWingFlex, 2, [](ParaStruct* d) { return &d->wingFlexPercent[2]; }},
        {"winflex G", &kWingFlex, 8, [](ParaStruct* d) { return &d->wingFlexPercent[8]; }},
        {"pilot displacement", &kPilotShift, -1, [](ParaStruct* d) { return &d->pilotShiftPercent; }, true},
        {"pilot area", &kPilotArea, -1, [](ParaStruct* d) { return &d->pilotArea; }},
        {"pilot Cd", &kPilotCd, -1, [](ParaStruct* d) { return &d->pilotCd; }},
        {"lines Cd", &kLinesCd, -1, [](ParaStruct* d) { return &d->ropesCd; }},
        {"Oswald factor", &kOswaldFactor, -1, [](ParaStruct* d) { return &d->oswaldFactor; }},
        {"load share L1", &kLoadShare, 0, [](ParaStruct* d) { return &d->lineGroupShares[0]; }},
    };
}

Input inputNamed(const char* name)
{
    for (const Input& in : inputs())
        if (qstrcmp(in.name, name) == 0)
            return in;
    qFatal("no input %s", name);
}

QString fieldName(const Input& in)
{
    return projectfile::Field(*in.input).at(in.index).text();
}

// The tightest corners of the plan: the shortest span under the longest
// hang height, the carabiners as wide and the pilot as far back as they go,
// the heaviest pilot; the longest span over the shortest hang height; and
// the others.
struct Corner {
    const char* name;
    QList<QPair<const char*, double>> values;
};

QList<Corner> corners()
{
    using namespace designinput;
    return {
        {"short span, long lines",
         {{"span", kSpan.range.lo}, {"hang height", kHangHeight.range.hi},
          {"carabiner distance", kCarabinerDistance.range.hi}, {"pilot displacement", kPilotShift.range.hi},
          {"total weight", kTotalWeight.range.hi}}},
        {"short span, long lines, pilot ahead",
         {{"span", kSpan.range.lo}, {"hang height", kHangHeight.range.hi}, {"pilot displacement", kPilotShift.range.lo}}},
        {"long span, short lines",
         {{"span", kSpan.range.hi}, {"hang height", kHangHeight.range.lo}, {"total weight", kTotalWeight.range.lo}}},
        {"long span, long lines",
         {{"span", kSpan.range.hi}, {"hang height", kHangHeight.range.hi}, {"carabiner distance", 0.0}}},
        {"short span, short lines",
         {{"span", kSpan.range.lo}, {"hang height", kHangHeight.range.lo}, {"tow force", kTowForce.range.hi}}},
    };
}

} // namespace

class TestValidDesigns : public QObject
{
    Q_OBJECT

    ScriptedUser user;
    QTemporaryDir dir;
    std::unique_ptr<ParaStruct> shipped;
    std::unique_ptr<ParaStruct> design;
    std::unique_ptr<ParaStruct> read;

    QString path() const { return dir.filePath("edge.prg"); }

    // Saved as Save saves and opened as Open opens: an empty string, or what
    // went wrong.
    QString saveAndReopen(const ParaStruct& d)
    {
        myOpenFile files;
        if (!files.WriteParaStream(path(), d, myOpenFile::Report::Silently))
            return QStringLiteral("not saved: ") + files.lastSaveFailure();
        if (!files.ReadParaStream(path(), read.get(), myOpenFile::Report::Silently))
            return QStringLiteral("not opened: ") + files.lastError();
        // Opened, it is the design saved: saved again, the same bytes.
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly) || file.readAll() != Project_File_Bytes(*read))
            return QStringLiteral("opened as another design");
        return QString();
    }

private slots:
    void initTestCase()
    {
        Install_Recompute_Hooks();
        shipped = std::make_unique<ParaStruct>();
        design = std::make_unique<ParaStruct>();
        read = std::make_unique<ParaStruct>();
        QVERIFY(myOpenFile().ReadParaStream(qEnvironmentVariable("WL_APP_DIR") + QStringLiteral("/template.ini"),
                                            shipped.get()));
        Apply_Edit(shipped.get(), DesignEdit::Wing);
        QVERIFY(shipped->bridle.groups[1].lineCount > 10);
    }

    void edgesSaveAndReopen_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<double>("value");
        const QList<Input> all = inputs();
        for (int k = 0; k < all.size(); ++k) {
            const ValueRange r = all[k].input->range;
            QTest::addRow("%s at its least", all[k].name) << k << r.lo;
            QTest::addRow("%s just above its least", all[k].name) << k << std::nextafter(r.lo, kInf);
            QTest::addRow("%s at its most", all[k].name) << k << r.hi;
            QTest::addRow("%s just below its most", all[k].name) << k << std::nextafter(r.hi, -kInf);
        }
    }
    void edgesSaveAndReopen()
    {
        QFETCH(int, which);
        QFETCH(double, value);
        const Input in = inputs().at(which);
        *design = *shipped;
        in.store(design.get(), value);
        Apply_Edit(design.get(), DesignEdit::Wing);
        const QString problem = saveAndReopen(*design);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(*in.field(read.get()) == value);
    }

    void cornersSaveAndReopen_data()
    {
        QTest::addColumn<int>("corner");
        const QList<Corner> all = corners();
        for (int k = 0; k < all.size(); ++k)
            QTest::newRow(all[k].name) << k;
    }
    void cornersSaveAndReopen()
    {
        QFETCH(int, corner);
        *design = *shipped;
        for (const auto& [name, value] : corners().at(corner).values)
            inputNamed(name).store(design.get(), value);
        Apply_Edit(design.get(), DesignEdit::Wing);
        const QString problem = saveAndReopen(*design);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        for (const auto& [name, value] : corners().at(corner).values)
            QVERIFY2(*inputNamed(name).field(read.get()) == value, name);
        // The risers reach down to the pilot, wherever the corner puts him
        // (the wing's arc may reach farther down than short lines).
        const BridleGroup& risers = read->bridle.riserGroup;
        QVERIFY(risers.lineCount > 0);
        double deepest = 0;
        for (int e = 0; e < risers.lineCount; ++e)
            for (const QVector3D& end : {risers.lineArray[e].q1, risers.lineArray[e].q2})
                deepest = std::max(deepest, double(std::fabs(end.z())));
        const double pilot = read->ToScreen(read->hangHeight);
        QVERIFY2(deepest > 0.99 * pilot, qPrintable(QStringLiteral("%1 %2").arg(deepest).arg(pilot)));
    }

    // Just outside its range a number is refused by Save: the field named,
    // the value quoted so that it reads back as itself, outside the range;
    // the project file on disk is the one saved before, byte for byte, and
    // no other file is left beside it.
    void justOutsideIsNotSaved_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<double>("value");
        const QList<Input> all = inputs();
        for (int k = 0; k < all.size(); ++k) {
            const ValueRange r = all[k].input->range;
            QTest::addRow("%s below its least", all[k].name) << k << std::nextafter(r.lo, -kInf);
            QTest::addRow("%s above its most", all[k].name) << k << std::nextafter(r.hi, kInf);
        }
    }
    void justOutsideIsNotSaved()
    {
        QFETCH(int, which);
        QFETCH(double, value);
        const Input in = inputs().at(which);
        QVERIFY(myOpenFile().WriteParaStream(path(), *shipped));
        QFile before(path());
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray saved = before.readAll();
        before.close();

        *design = *shipped;
        in.store(design.get(), value);
        myOpenFile files;
        user.texts.clear();
        QVERIFY(!files.WriteParaStream(path(), *design));
        QCOMPARE(user.texts.size(), 1);
        const QString told = user.texts.first();
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("the field (\\S+) holds (\\S+), outside")).match(told);
        QVERIFY2(m.hasMatch(), qPrintable(told));
        QCOMPARE(m.captured(1), fieldName(in));
        bool number = false;
        const double quoted = m.captured(2).toDouble(&number);
        QVERIFY2(number && quoted == value, qPrintable(m.captured(2)));
        QVERIFY(!in.input->range.holds(quoted));

        QFile after(path());
        QVERIFY(after.open(QIODevice::ReadOnly));
        QVERIFY(after.readAll() == saved);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"edge.prg"});
    }

    // The value with the fewest digits that reads back as the number.
    void shortestNumbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("just above ten thousand") << 10000.000000000002 << "10000.000000000002";
        QTest::newRow("just above fifty") << 50.00000000000001 << "50.00000000000001";
        QTest::newRow("just below a quarter") << 0.24999999999999997 << "0.24999999999999997";
        QTest::newRow("a twentieth") << 0.05 << "0.05";
        QTest::newRow("a third") << 1.0 / 3 << "0.3333333333333333";
        QTest::newRow("whole") << 300000.0 << "300000";
        QTest::newRow("nine digits") << 123456789.0 << "123456789";
        QTest::newRow("round millions") << 2e7 << "2e+07";
        QTest::newRow("negative, large") << -4.4e14 << "-4.4e+14";
        QTest::newRow("huge") << 1e300 << "1e+300";
        QTest::newRow("tiny") << 1e-300 << "1e-300";
        QTest::newRow("small") << 0.000012 << "0.000012";
        QTest::newRow("smaller") << 1.5e-6 << "1.5e-06";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "nan";
        QTest::newRow("minus infinity") << -kInf << "-inf";
    }
    void shortestNumbers()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(Shortest_Number(value), text);
    }

    // Floats keep their own digits (0.1f is not 0.10000000149011612).
    void shortestFloats_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("a tenth") << 0.1f << "0.1";
        QTest::newRow("a million million") << 1e12f << "1e+12";
        QTest::newRow("largest") << std::numeric_limits<float>::max() << "3.4028235e+38";
        QTest::newRow("just above one") << std::nextafter(1.0f, 2.0f) << "1.0000001";
    }
    void shortestFloats()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(Shortest_Number(value), text);
    }

    // Whatever the number, its text reads back as exactly that number.
    void shortestNumbersReadBack()
    {
        QRandomGenerator bits(47);
        for (int k = 0; k < 20000; ++k) {
            double x = 0;
            const quint64 raw = bits.generate64();
            std::memcpy(&x, &raw, sizeof x);
            if (!std::isfinite(x))
                continue;
            const QString t = Shortest_Number(x);
            QVERIFY2(t.toDouble() == x, qPrintable(t));
            const float f = float(bits.generateDouble() * std::pow(10.0, bits.bounded(-30, 30)));
            QVERIFY2(Shortest_Number(f).toFloat() == f, qPrintable(Shortest_Number(f)));
        }
    }

    // How every number field reads a typed text, whatever the system's
    // language: blanks around it ignored, a decimal comma for the point;
    // nothing for a text that is no finite number.
    void typedTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("number");
        QTest::addColumn<double>("value");
        QTest::newRow("decimal comma") << "0,5" << true << 0.5;
        QTest::newRow("negative comma") << "-0,25" << true << -0.25;
        QTest::newRow("blanks") << " 12.5 " << true << 12.5;
        QTest::newRow("exponent") << "2e-1" << true << 0.2;
        QTest::newRow("sign") << "+3" << true << 3.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
        QTest::newRow("inf") << "inf" << false << 0.0;
        QTest::newRow("-infinity") << "-infinity" << false << 0.0;
        QTest::newRow("beyond a double") << "1e400" << false << 0.0;
        QTest::newRow("5000 nines") << QString(5000, '9') << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("two separators") << "1.000,5" << false << 0.0;
        QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
    }
    void typedTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, number);
        QFETCH(double, value);
        QLocale::setDefault(QLocale(QLocale::German));
        const std::optional<double> v = Number_From_Text(text);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(v.has_value(), number);
        if (number)
            QCOMPARE(*v, value);
    }
};

QTEST_MAIN(TestValidDesigns)
#include "tst_validdesigns.moc"
