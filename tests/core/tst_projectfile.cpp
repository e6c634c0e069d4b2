#include <QTest>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QIODevice>
#include <QLatin1Char>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QVector>
#include <QVector3D>
#include <QVector4D>

#include <QBuffer>
#include <QMap>
#include <QDataStream>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <limits>
#include <cstring>
#include <new>
#include <vector>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

#include "tests/common/scripteduser.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "core/projectsteps.h"
#include "tests/common/recordimage.h"

// Allocation hooks of the sanitizer runtime, present only in checked builds.
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                              void (*)(const volatile void*)) __attribute__((weak));
size_t __sanitizer_get_allocated_size(const volatile void*) __attribute__((weak));
}

namespace {

// --- heap watermark ---------------------------------------------------------
std::atomic<long long> heapNow{0};
std::atomic<long long> heapPeak{0};
void onMalloc(const volatile void*, size_t size)
{
    const long long now = heapNow += (long long)size;
    long long peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
}
void onFree(const volatile void* p)
{
    heapNow -= (long long)__sanitizer_get_allocated_size(p);
}

// --- sizes of the encoded values -------------------------------------------
constexpr qint64 I = 4, D = 8, B = 1, PF = 16, P = 8, V = 24;
qint64 S(const QString& s) { return 4 + (s.isNull() ? 0 : 2 * s.size()); }
qint64 Poly(const QPolygonF& p) { return 4 + 16 * p.size(); }
constexpr qint64 LINE = 2 * P + 2 * V + 3 * D;
constexpr qint64 FRAME = P + V + P + V;

// Size of every step of the file for the given record, from the step table.
QVector<qint64> stepSizes(const ParaStruct& d)
{
    QVector<qint64> z(41, 0);
    z[1] = S(d.version) + S(d.projectName);
    z[2] = 8 * D + I;
    z[3] = I + D + V + 4 * D;
    z[4] = 4 * I;
    z[5] = 7 * D;
    z[6] = I + D + I;
    z[7] = 10 * D;
    z[8] = B + 4 * I + 2 * B;
    z[9] = D + I + 6 * I + D + 2 * I + B + 2 * I;
    z[10] = 7 * D + I + 8 * I;
    for (int k = 0; k < 3; ++k)
        z[11] += S(d.designAirfoilNames[k]) + Poly(d.designAirfoils[k]);
    for (int i = 0; i < 65; ++i)
        z[12] += 9 * D + 3 * I + 6 * D + 9 * I + D + Poly(d.ribAirfoils[i]) + (I + B + I + 8 * I) + 8 * I + 3 * B;
    z[13] = 8 * (PF + I) + 6 * (PF + I);
    z[14] = 390 * (PF + B + PF + B);
    for (int k = 0; k < 8; ++k) {
        z[15] += I + 3 * B;
        for (int c = 0; c < 5; ++c)
            z[15] += D + S(d.reservedTableNames[k][c]);
    }
    z[16] = 9 * (D + PF + I);
    z[17] = 4 * D + 10 * D;
    z[18] = 24 * (PF + 5 * D + PF);
    z[19] = 2 * (4 * PF + 2 * I);
    z[20] = 12 * PF + 9 * D + 8 * B;
    z[21] = 4 * (6 * I + 24 * (PF + 5 * D + PF));
    z[22] = 65 * I + 13 * I;
    z[23] = 5 * (13 * D + 12 * (B + 3 * I + 2 * D + 3 * PF));
    z[24] = 2 * I + 16 * I + 2 * I;
    z[25] = 65 * (I + B + I + 8 * I);
    z[26] = 18 * I;
    z[27] = 5 * (I + 16 * (B + 3 * I + 2 * D + 4 * PF));
    z[28] = 12 * PF + 4 * B + 3 * I + 3 * PF + D;
    z[29] = 65 * 16 * I;
    z[30] = 6 * (4 * I + 600 * (I + P + P + LINE));
    z[31] = 6 * 65 * FRAME;
    z[32] = 7 * I;
    z[33] = 4 * I + 600 * (I + 2 * P + LINE);
    z[34] = 5 * (P + V + V);
    z[35] = 6 * (I + 600 * (B + 4 * I));
    z[36] = S(d.designAirfoilNames[3]) + Poly(d.designAirfoils[3]) + 4 * I;
    z[37] = 2 * 65 * FRAME;
    z[38] = 2 * I;
    z[39] = 6 * 570 * (I + 2 * P + LINE + B + 4 * I);
    z[40] = I + B + 585 * B;
    return z;
}

qint64 stepOffset(const ParaStruct& d, int step)
{
    const QVector<qint64> z = stepSizes(d);
    qint64 off = 0;
    for (int k = 1; k < step; ++k)
        off += z[k];
    return off;
}

QByteArray encode(const ParaStruct& d)
{
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    [&] { QVERIFY(Write_Project(&buf, d)); }();
    return buf.data();
}

// A handle on one of a few records that are reused, because a fresh
// record costs much more under the sanitizers than a copy into one.
struct Rec {
    ParaStruct* p;
    ParaStruct* operator->() const { return p; }
    ParaStruct& operator*() const { return *p; }
    ParaStruct* get() const { return p; }
};

// A new record with the bookkeeping of its 34 cells.
Rec validRecord()
{
    static const std::unique_ptr<ParaStruct> base = [] {
        auto d = std::make_unique<ParaStruct>();
        d->Reset_CellsNumber();
        return d;
    }();
    static std::unique_ptr<ParaStruct> pool[4];
    static int next = 0;
    std::unique_ptr<ParaStruct>& slot = pool[next++ % 4];
    if (!slot)
        slot = std::make_unique<ParaStruct>(*base);
    else
        *slot = *base;
    return Rec{slot.get()};
}

// Gives every file member a distinct value, then brings the values the
// reader checks into their ranges.
struct Filler {
    quint32 n;
    explicit Filler(quint32 seed) : n(seed) {}
    void v(int& x) { x = int(++n); }
    // Distinct for every n, and within every field's plausible range.
    double small() const { return (n % 4) + n * 1e-6; }
    void v(double& x) { ++n; x = small(); }
    void v(bool& x) { x = (++n % 2) != 0; }
    void v(QString& x) { x = QStringLiteral("s%1").arg(++n); }
    void v(QPointF& x) { ++n; x = QPointF(small() + 0.5, -small()); }
    void v(QPoint& x) { ++n; x = QPoint(int(n), -int(n)); }
    void v(QVector3D& x) { ++n; x = QVector3D(float(small()), float(small()) + 0.5f, -float(small())); }
    // A checked number outside its field's range is moved inside, keeping
    // it distinct.
    double inside(double x, const projectfile::Range& r) const
    {
        return r.holds(x) ? x : r.lo + (r.hi - r.lo) * small() / 5;
    }
    void v(double& x, const projectfile::Field& f) { v(x); x = inside(x, f.range); }
    void v(QPointF& x, const projectfile::Field& f)
    {
        v(x);
        x = QPointF(inside(x.x(), f.range), inside(x.y(), f.range));
    }
    void v(QVector3D& x, const projectfile::Field& f)
    {
        v(x);
        x = QVector3D(float(inside(x.x(), f.range)), float(inside(x.y(), f.range)), float(inside(x.z(), f.range)));
    }
    template <class T>
    void v(T& x, const projectfile::Field&) { v(x); }
    void polygon(QPolygonF& p, const projectfile::Field&)
    {
        const int count = int(++n % 7) == 0 ? 1000 : int(n % 5);
        p.clear();
        for (int k = 0; k < count; ++k)
            p.append(QPointF((n % 4) + k * 1e-3, -k * 1e-3));
    }
    bool versionAccepted(const QString&) { return true; }
    bool stepDone(int) { return true; }
};


// Writes the record like the project writer and notes, for the first value
// of every floating-point field (indexes left out of its name), where in the
// file it starts, its full name and whether it is stored as a float.
struct FieldCensus {
    struct Spot {
        qint64 offset;
        QString name;
        bool isFloat;
    };
    QDataStream& s;
    QMap<QString, Spot> firsts;

    void note(const projectfile::Field& f, bool isFloat, const QString& suffix = QString())
    {
        QString key = QString::fromLatin1(f.path);
        for (const char* m : f.members)
            if (m)
                key += QLatin1Char('.') + QString::fromLatin1(m);
        if (!firsts.contains(key))
            firsts.insert(key, Spot{s.device()->pos(), f.text() + suffix, isFloat});
    }
    template <class T>
    void v(const T& x) { s << x; }
    void v(double x, const projectfile::Field& f) { note(f, false); s << x; }
    void v(const QPointF& x, const projectfile::Field& f) { note(f, false); s << x; }
    void v(const QVector3D& x, const projectfile::Field& f) { note(f, true); s << x; }
    void polygon(const QPolygonF& p, const projectfile::Field& f)
    {
        s << quint32(p.size());
        if (!p.isEmpty())
            note(f, false, QStringLiteral(" (point 0)"));
        for (const QPointF& q : p)
            s << q;
    }
    bool versionAccepted(const QString&) { return true; }
    bool stepDone(int) { return true; }
};

// The floating-point fields without a finite range, outside the kept
// spare fields (those whose names start with "reserved").
struct UnboundedFields {
    QStringList unbounded;
    template <class T>
    void v(const T&) {}
    template <class T>
    void v(const T&, const projectfile::Field& f) { note(f); }
    void polygon(const QPolygonF&, const projectfile::Field& f) { note(f); }
    void note(const projectfile::Field& f)
    {
        const QString name = QString::fromLatin1(f.path);
        if (!std::isfinite(f.range.lo) || !std::isfinite(f.range.hi))
            if (!name.startsWith(QLatin1String("reserved")) && !unbounded.contains(f.text()))
                unbounded << f.text();
    }
    bool versionAccepted(const QString&) { return true; }
    bool stepDone(int) { return true; }
};

void fillFileMembers(ParaStruct& d, quint32 seed)
{
    Filler f(seed);
    projectfile::projectSteps(f, d);
    d.version = QStringLiteral("7.0.0.0");
    d.cells = 35;
    d.firstRib = 1;
    d.sideCells = 17;
    d.lastRib = 18;
    d.lastCell = 17;
    d.centreCell = true;
    d.centreRib = false;
    auto idx = [](int v) { return v % 1000; };
    for (int i = 0; i < kRibSlots; ++i) {
        d.noseIndex[i] = idx(d.noseIndex[i]);
        d.topIndex[i] = idx(d.topIndex[i]);
        d.bottomIndex[i] = idx(d.bottomIndex[i]);
        for (int r = 0; r < kLineRows; ++r)
            d.lineIndex[r][i] = idx(d.lineIndex[r][i]);
        d.diagTableD1[i].rib = d.diagTableD1[i].rib % 66;
        d.diagTableD2[i].rib = d.diagTableD2[i].rib % 66;
    }
    for (int& v : d.rowCentreIndex)
        v = idx(v);
    for (int& v : d.upControlIndex)
        v = idx(v);
    d.billowLineIndex = idx(d.billowLineIndex);
    for (int k = 0; k < 2; ++k) {
        d.rod1.index[k] = idx(d.rod1.index[k]);
        d.rod2.index[k] = idx(d.rod2.index[k]);
    }
    for (int& v : d.skinControlIndex)
        v = idx(v);
    for (int* v : {&d.minirib.frontRibStart, &d.minirib.frontRibEnd, &d.minirib.mylarStart, &d.minirib.mylarEnd,
                   &d.cellWidthStep, &d.diagStartIndexA, &d.diagStartIndexB})
        *v = idx(*v);
    d.transitionRib1 %= 66;
    d.transitionRib2 %= 66;
    for (int* table : {d.strapWidth, d.lineWeights, d.diagRowIndexA, d.diagRowIndexB, d.trapIndexA, d.trapIndexB,
                       d.crossPortTriIndex})
        for (int k = 0; k < 8; ++k)
            table[k] = idx(table[k]);
    d.strapWidth[8] = idx(d.strapWidth[8]);
    d.trapIndexA[8] = idx(d.trapIndexA[8]);
    d.trapIndexB[8] = idx(d.trapIndexB[8]);
    for (int k = 8; k < 13; ++k)
        d.crossPortTriIndex[k] = idx(d.crossPortTriIndex[k]);
    for (int r = 0; r < 8; ++r)
        for (int i = 0; i < kRibSlots; ++i) {
            d.diagIndexTableA[r][i] = idx(d.diagIndexTableA[r][i]);
            d.diagIndexTableB[r][i] = idx(d.diagIndexTableB[r][i]);
        }
    for (int i = 0; i < kStructSlots; ++i)
        for (DiagonalRow* row : {&d.diagTableD1[i], &d.diagTableD2[i]}) {
            row->heightPercent = idx(row->heightPercent);
            for (int& v : row->lineIndex)
                v = idx(v);
        }
    auto fixShape = [&idx](int* holes, int* corners, int* offsetMm) {
        *holes = idx(*holes);
        *corners = idx(*corners);
        *offsetMm = idx(*offsetMm);
    };
    for (CrossPorts& g : d.crossPorts) {
        for (Triang& t : g.triangles)
            fixShape(&t.holeCount, &t.cornerCount, &t.offsetMm);
        for (Trap& t : g.traps)
            fixShape(&t.holeCount, &t.cornerCount, &t.offsetMm);
    }
    fixShape(&d.diagModelTriangle.holeCount, &d.diagModelTriangle.cornerCount, &d.diagModelTriangle.offsetMm);
    for (int& v : d.positionAirfoilIndex)
        v %= 4;
    d.brakeCentreRib %= 65;
    d.lineGroupCount %= 5;
    d.chordStationCount %= 70;
    auto fixGroup = [](BridleGroup& g) {
        for (int* c : {&g.idCount, &g.pointCount, &g.lineCount, &g.pairCount, &g.attachmentCount})
            *c %= 1171;
        for (QPoint& p : g.pairArray)
            p = QPoint(qAbs(p.x()) % 1170, qAbs(p.y()) % 1170);
        for (origRLS& a : g.attachArray) {
            a.rib %= 65;
            a.row %= 9;
            a.side %= 2;
            a.node %= 1170;
        }
    };
    for (BridleGroup& g : d.bridle.groups)
        fixGroup(g);
    fixGroup(d.bridle.riserGroup);
}

// Sets members that the file does not carry, so that a reader that kept them
// would show.
void spoilNonFileMembers(ParaStruct& d)
{
    d.geometryChanged = d.linesOutdated = true;
    d.teLineIndex[3] = 999;
    d.resLineIndex[2][2] = 3.5;
    d.dynLineIndex[1][1] = 1;
    d.meanChord = 2;
    d.ribAirfoils[65] = QPolygonF({QPointF(1, 1)});
    d.noseIndex[66] = 5;
    d.flatArea = 20;
    d.airfoilArcLen[999][65] = 1;
    d.flatGrid[8][64][999] = QVector3D(1, 2, 3);
    d.inflatedGrid[0][0][0] = QVector3D(1, 2, 3);
    d.ribCurves3D[3][3] = QVector3D(1, 1, 1);
    d.meshGrid[649][49] = QVector3D(1, 1, 1);
    d.foilPairs[2].append(Par12{1, 2, 0.5});
    d.reservedRibFlags[65] = d.rearRibEnabled[65] = d.frontRibEnabled[65] = true;
    d.chordStations[5] = 5;
    d.patternOversize[64][999] = 1;
    d.clothHalfOversize[1][1] = 1;
    d.relaxFactors[65] = 1;
    d.diagTableRows[3][65] = 9;
    d.diagTableD1[65].rib = 4;
    d.diagTableD2[65].rib = 4;
    d.diagTableD2[7].ribType = 3;
    d.diagonals.append(DiagonalData());
    d.ribTailPoints[65] = QPointF(1, 1);
    d.designSplines.append(Spline());
    d.lineGroupLoads[3] = 1;
    d.diagModelTriangle.outline.append(QPointF(1, 1));
    d.diagModelTriangle.cornerStep = 0.5;
    d.diagModelTriangle.expanded = true;
    d.diagModelTriangle.offset = 3;
    d.diagModelPolys.append(QPolygonF());
    d.reservedRecords[3].value = 9;
    d.riserHashes[4].append(QVector4D(1, 1, 1, 1));
    d.designWarnings.append(QStringLiteral("w"));
    d.billowReduction[64] = 1;
    d.bridle.frame[3][8].pos = QPoint(1, 1);
    d.bridle.groups[2].lines.append(LineProp());
    d.bridle.groups[2].lineArray[5].edge = 77;
    d.bridle.riserGroup.lineArray[700].length = 9;
    d.bridle.riserGroup.attachArray[3].rib = 2;
    d.crossPorts[1].triangles[2].outline.append(QPointF(1, 1));
    d.crossPorts[4].traps[15].outline.append(QPointF(1, 1));
}

template <class T, size_t N>
bool sameBytes(const T (&a)[N], const T (&b)[N])
{
    return std::memcmp(a, b, sizeof(a)) == 0;
}

// The bytes of a record that hold file fields, found by running the
// project file's field list over it: every other byte is a member the file
// does not carry.
class FileFieldMask
{
public:
    explicit FileFieldMask(const ParaStruct& d)
        : base(reinterpret_cast<const char*>(&d)), covered(sizeof(ParaStruct), false)
    {
        projectfile::projectSteps(*this, d);
    }
    template <class T>
    void v(const T& value) { mark(&value, sizeof(T)); }
    template <class T>
    void v(const T& value, const projectfile::Field&) { mark(&value, sizeof(T)); }
    void polygon(const QPolygonF& p, const projectfile::Field&) { mark(&p, sizeof(p)); }
    bool versionAccepted(const QString&) { return true; }
    bool stepDone(int) { return true; }
    bool isFileByte(size_t offset) const { return covered[offset]; }

private:
    void mark(const void* field, size_t size)
    {
        const size_t offset = size_t(static_cast<const char*>(field) - base);
        for (size_t k = 0; k < size; ++k)
            covered[offset + k] = true;
    }
    const char* base;
    std::vector<bool> covered;
};

// A record built in zeroed memory, so that the bytes between members are
// zero in every such record and whole records can be compared byte by byte.
struct ZeroedRecord
{
    ZeroedRecord() : memory(std::calloc(1, sizeof(ParaStruct))), record(new (memory) ParaStruct) {}
    ~ZeroedRecord()
    {
        record->~ParaStruct();
        std::free(memory);
    }
    void* memory;
    ParaStruct* record;
};

// Every member the project file does not carry is as in b: compared byte by
// byte outside the file fields. Containers that are not file fields are
// compared as bytes too, which holds for empty ones; a reader that filled one
// shows as a difference.
void compareNonFileMembers(const ParaStruct& a, const ParaStruct& b)
{
    const FileFieldMask mask(a);
    const auto* pa = reinterpret_cast<const unsigned char*>(&a);
    const auto* pb = reinterpret_cast<const unsigned char*>(&b);
    for (size_t k = 0; k < sizeof(ParaStruct); ++k)
        if (!mask.isFileByte(k) && pa[k] != pb[k])
            QFAIL(qPrintable(QStringLiteral("a member the file does not carry differs at byte %1").arg(k)));
}

qint64 firstDifference(const QByteArray& a, const QByteArray& b)
{
    const qint64 n = qMin(a.size(), b.size());
    for (qint64 k = 0; k < n; ++k)
        if (a[k] != b[k])
            return k;
    return a.size() == b.size() ? -1 : n;
}

} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir dir;
    ScriptedUser user;
    QStringList& messages = user.texts;

    QString path(const QString& name) const { return dir.filePath(name); }
    void writeBytes(const QString& name, const QByteArray& bytes)
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
    }
    void init() { messages.clear(); }

    void everyFileMemberRoundTrips()
    {
        auto source = validRecord();
        fillFileMembers(*source, 1000);
        spoilNonFileMembers(*source);
        const QByteArray bytes = encode(*source);
        QCOMPARE(qint64(bytes.size()), stepOffset(*source, 41));

        ZeroedRecord zeroedRead;
        ParaStruct* read = zeroedRead.record;
        QBuffer buf;
        buf.setData(bytes);
        buf.open(QIODevice::ReadOnly);
        QString reason;
        QVERIFY2(Read_Project(&buf, read, &reason), qPrintable(reason));
        // every file member equal: the read record encodes to the same bytes
        QCOMPARE(encode(*read), bytes);
        QCOMPARE(read->designAirfoils[3], source->designAirfoils[3]);
        QCOMPARE(read->reservedTableNames[7][4], source->reservedTableNames[7][4]);
        QCOMPARE(read->bridle.groups[5].lineArray[1169].load, source->bridle.groups[5].lineArray[1169].load);
        // every other member as a new record has it
        ZeroedRecord fresh;
        compareNonFileMembers(*read, *fresh.record);
    }

    void freshRecordSizeFollowsTheStepTable()
    {
        auto d = validRecord();
        const QByteArray bytes = encode(*d);
        QCOMPARE(qint64(bytes.size()), stepOffset(*d, 41));
        QCOMPARE(bytes.left(18), QByteArray::fromHex("0000000e0037002e0030002e0030002e0030"));
        // a design airfoil of 1000 points adds its points
        d->designAirfoils[1] = QPolygonF(1000);
        QCOMPARE(qint64(encode(*d).size()), qint64(bytes.size()) + 16000);
    }

    void fieldOrder_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("step");
        QTest::addColumn<qint64>("offset"); // within the step
        QTest::newRow("centreRib before centreCell") << 0 << 8 << B + 4 * I;
        QTest::newRow("centreCell last in step 8") << 1 << 8 << B + 4 * I + B;
        QTest::newRow("D1 row: connectNext after rib") << 2 << 12 << (9 * D + 3 * I + 6 * D + 9 * I + D + 4 + I);
        QTest::newRow("D1 row: heightPercent after connectNext")
            << 3 << 12 << (9 * D + 3 * I + 6 * D + 9 * I + D + 4 + I + B);
        QTest::newRow("flags 3 before flags 2") << 4 << 15 << I + B;
        QTest::newRow("triangle: expanded first") << 5 << 23 << 13 * D;
        QTest::newRow("triangle: cornerStep before offset") << 6 << 23 << 13 * D + B + 3 * I;
        QTest::newRow("model triangle: offsetMm before cornerCount") << 7 << 28 << 12 * PF + 4 * B + I;
        QTest::newRow("line: diameter before load") << 8 << 30 << 4 * I + I + 2 * P + 2 * P + 2 * V + D;
        QTest::newRow("fourth design airfoil late") << 9 << 36 << 0LL;
        QTest::newRow("line weight 7 late") << 10 << 38 << 0LL;
        QTest::newRow("strap 8 last") << 11 << 40 << 0LL;
        QTest::newRow("lines 600 onwards late") << 12 << 39 << 0LL;
        QTest::newRow("frame slots 6, 7 late") << 13 << 37 << 0LL;
        QTest::newRow("trap shape count") << 14 << 27 << 0LL;
    }

    void fieldOrder()
    {
        QFETCH(int, which);
        QFETCH(int, step);
        QFETCH(qint64, offset);
        auto a = validRecord();
        auto b = validRecord();
        switch (which) {
        case 0: b->centreRib = !b->centreRib; break;
        case 1: b->centreCell = !b->centreCell; break;
        case 2: b->diagTableD1[0].connectNext = true; break;
        case 3: b->diagTableD1[0].heightPercent = 100; break;
        case 4: b->reservedFlags3[0] = true; break;
        case 5: b->crossPorts[0].triangles[0].expanded = true; break;
        case 6: b->crossPorts[0].triangles[0].cornerStep = 0.5; break;
        case 7: b->diagModelTriangle.offsetMm = 3; break;
        case 8: b->bridle.groups[0].lineArray[0].diameter = 0.0125; break;
        case 9: b->designAirfoilNames[3] = QStringLiteral("tip"); break;
        case 10: b->lineWeights[7] = 1; break;
        case 11: b->strapWidth[8] = 1; break;
        case 12: b->bridle.groups[0].idArray[600] = 1; break;
        case 13: b->bridle.frame[0][6].pos = QPoint(0, 1); break;
        case 14: b->crossPorts[0].shapeCount = 1; break;
        }
        const qint64 expected = stepOffset(*a, step) + offset;
        const qint64 diff = firstDifference(encode(*a), encode(*b));
        QVERIFY2(diff >= expected && diff < expected + 8,
                 qPrintable(QStringLiteral("difference at %1, expected at %2").arg(diff).arg(expected)));
    }

    // The tag is compared as a version: only this version opens; a later
    // one and an earlier one are called so, a tag that is no version
    // number is not taken for one, whatever digits it holds.
    void versionTag_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("newer");
        const int ok = myOpenFile::ReadOk, wrong = myOpenFile::WrongVersion, corrupt = myOpenFile::Corrupt;
        QTest::newRow("exact") << "7.0.0.0" << ok << false;
        QTest::newRow("same version, fewer places") << "7.0" << ok << false;
        QTest::newRow("blanks around") << " 7.0.0.0 " << ok << false;
        QTest::newRow("ten versions later") << "17.0.0.0" << wrong << true;
        QTest::newRow("next") << "8.0.0.0" << wrong << true;
        QTest::newRow("later patch") << "7.0.0.1" << wrong << true;
        QTest::newRow("seventy") << "70.0.0.0" << wrong << true;
        QTest::newRow("older") << "6.0.0.0" << wrong << false;
        QTest::newRow("older short") << "5.1" << wrong << false;
        QTest::newRow("text around") << "WL 7.0.0.0 beta" << corrupt << false;
        QTest::newRow("version inside") << "x7.0.0.0-5" << corrupt << false;
        QTest::newRow("later, with text") << "WL 10.2 beta" << corrupt << false;
        QTest::newRow("no number") << "garbage" << corrupt << false;
        QTest::newRow("empty") << "" << corrupt << false;
        QTest::newRow("beyond any segment") << "7.99999999999999999999" << corrupt << false;
    }

    void versionTag()
    {
        QFETCH(QString, tag);
        QFETCH(int, status);
        QFETCH(bool, newer);
        QCOMPARE(Version_Tag_Is_Newer(tag), newer);
        auto d = validRecord();
        d->version = tag;
        d->span = 9.5;
        writeBytes("tag.prg", encode(*d));

        auto live = validRecord();
        live->span = 3.0;
        myOpenFile files;
        QCOMPARE(files.ReadParaStream(path("tag.prg"), live.get()), status == myOpenFile::ReadOk);
        QCOMPARE(int(files.lastReadStatus()), status);
        // The reader keeps the tag of a refused file for the message.
        QCOMPARE(files.lastVersionTag(), tag);
        if (status == myOpenFile::ReadOk) {
            QCOMPARE(live->version, tag);
            QCOMPARE(live->span, 9.5);
            QVERIFY(messages.isEmpty());
        } else {
            QCOMPARE(live->span, 3.0);
            QCOMPARE(messages.size(), 1);
            QVERIFY(messages[0].startsWith(path("tag.prg")));
            QVERIFY2(messages[0].contains(QStringLiteral("\"%1\"").arg(tag)), qPrintable(messages[0]));
        }
    }

    void olderFileEndsAfterStep35()
    {
        auto d = validRecord();
        d->designAirfoilNames[3] = QStringLiteral("tip");
        d->designAirfoils[3] = QPolygonF({QPointF(1, 0), QPointF(0, 0)});
        d->positionAirfoilIndex[2] = 3;
        d->lineWeights[7] = 5;
        d->strapWidth[8] = 12;
        d->bridle.groups[1].idArray[900] = 4;
        d->hangHeight = 6.25;
        const QByteArray bytes = encode(*d);
        const qint64 end35 = stepOffset(*d, 36);

        writeBytes("old.prg", bytes.left(end35));
        auto live = validRecord();
        myOpenFile files;
        QVERIFY(files.ReadParaStream(path("old.prg"), live.get()));
        QCOMPARE(live->hangHeight, 6.25);
        QVERIFY(live->designAirfoilNames[3].isEmpty());
        QVERIFY(live->designAirfoils[3].isEmpty());
        QCOMPARE(live->positionAirfoilIndex[2], 0);
        QCOMPARE(live->lineWeights[7], 0);
        QCOMPARE(live->strapWidth[8], 0);
        QCOMPARE(live->bridle.groups[1].idArray[900], 0);

        // cut anywhere else: refused, and the design stays as it was
        for (qint64 cut : {end35 - 1, end35 + 2, stepOffset(*d, 40), qint64(bytes.size()) - 1, qint64(5)}) {
            writeBytes("cut.prg", bytes.left(cut));
            messages.clear();
            QVERIFY(!files.ReadParaStream(path("cut.prg"), live.get()));
            QCOMPARE(files.lastReadStatus(), myOpenFile::Corrupt);
            QCOMPARE(live->hangHeight, 6.25);
            QCOMPARE(messages.size(), 1);
            QVERIFY(messages[0].contains(QStringLiteral("cut short")));
        }
    }

    // A number that is not finite anywhere refuses the file, naming the
    // field; the receiving record stays exactly as it was.
    void nonFiniteNumberNamesItsField_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("field");
        QTest::newRow("span NaN") << 0 << "the field span holds nan";
        QTest::newRow("rib airfoil point") << 3 << "the field ribAirfoils[3] (point 5) holds (nan, 0)";
        QTest::newRow("3-D end of a late line") << 4 << "the field bridle.groups[2].lineArray[700].q2 holds (0, 0, inf)";
        QTest::newRow("trap corner") << 7 << "the field crossPorts[1].traps[2].corner[3] holds (0, nan)";
    }
    void nonFiniteNumberNamesItsField()
    {
        QFETCH(int, which);
        QFETCH(QString, field);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        auto d = validRecord();
        d->ribAirfoils[3] = QPolygonF(8);
        switch (which) {
        case 0: d->span = nan; break;
        case 3: d->ribAirfoils[3][5] = QPointF(nan, 0); break;
        case 4: d->bridle.groups[2].lineArray[700].q2 = QVector3D(0, 0, float(inf)); break;
        case 7: d->crossPorts[1].traps[2].corner[3] = QPointF(0, nan); break;
        }
        writeBytes("nan.prg", encode(*d));
        auto live = validRecord();
        live->span = 7.5;
        const QByteArray before = recordImage(*live);
        const QByteArray beforeFile = encode(*live);
        myOpenFile files;
        QVERIFY(!files.ReadParaStream(path("nan.prg"), live.get()));
        QCOMPARE(files.lastReadStatus(), myOpenFile::NotFinite);
        QVERIFY2(files.lastError().startsWith(field), qPrintable(files.lastError()));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith(path("nan.prg")));
        QVERIFY(messages[0].contains(field));
        QVERIFY(before == recordImage(*live));
        QCOMPARE(encode(*live), beforeFile);
    }

    // Every floating-point field of the list is checked: the first value of
    // each field spoilt in turn in the file, the reader names that value.
    void everyFloatingFieldIsChecked()
    {
        auto source = validRecord();
        fillFileMembers(*source, 5);
        QBuffer file;
        file.open(QIODevice::ReadWrite);
        QDataStream out(&file);
        out.setVersion(QDataStream::Qt_4_8);
        FieldCensus census{out, {}};
        projectfile::projectSteps(census, *source);
        const QByteArray good = file.data();
        QCOMPARE(good, encode(*source));

        auto into = std::make_unique<ParaStruct>();
        int n = 0;
        for (const FieldCensus::Spot& spot : census.firsts) {
            const double bad = (n++ % 2) ? -std::numeric_limits<double>::infinity()
                                         : std::numeric_limits<double>::quiet_NaN();
            QByteArray bytes = good;
            QBuffer patch(&bytes);
            patch.open(QIODevice::ReadWrite);
            patch.seek(spot.offset);
            QDataStream p(&patch);
            p.setVersion(QDataStream::Qt_4_8);
            if (spot.isFloat)
                p << float(bad);
            else
                p << bad;
            patch.close();
            QBuffer buf(&bytes);
            buf.open(QIODevice::ReadOnly);
            QString reason;
            QVERIFY2(!Read_Project(&buf, into.get(), &reason), qPrintable(spot.name));
            QVERIFY2(reason.startsWith(QStringLiteral("the field ") + spot.name + QStringLiteral(" holds ")),
                     qPrintable(reason + " / " + spot.name));
        }
    }

    // A finite number far outside what any wing has is refused too, naming
    // the field: it would run into every view and cut sheet.
    void wildValuesAreRefused_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("field");
        QTest::newRow("rib airfoil y") << 0 << "the field ribAirfoils[3] (point 5) holds (0.5, -4.4e+14), outside";
        QTest::newRow("design airfoil y") << 1 << "the field designAirfoils[2] (point 1) holds (0.5, 4e+118), outside";
        QTest::newRow("chord") << 2 << "the field chord[4] holds -1e+300, outside";
        QTest::newRow("span") << 3 << "the field span holds 1e+300, outside";
        QTest::newRow("rib position") << 4 << "the field ribSpanPos[7] holds 2e+07, outside";
        QTest::newRow("line end in 3-D") << 5 << "the field bridle.groups[1].lineArray[3].q1 holds (0, 1e+12, 0), outside";
        QTest::newRow("plan control point") << 6 << "the field planControlPoints[2] holds (300000, 0), outside";
        QTest::newRow("cross-port corner") << 7 << "the field crossPorts[0].traps[1].corner[2] holds (0, -1e+09), outside";
        QTest::newRow("rib angle") << 8 << "the field ribAngle[2] holds 1000, outside";
        // No wing: the least span and hang height a design may have.
        QTest::newRow("no span") << 9 << "the field span holds 0, outside the plausible range 1 .. 50";
        QTest::newRow("span 1e-300") << 10 << "the field span holds 1e-300, outside the plausible range 1 .. 50";
        QTest::newRow("negative span") << 11 << "the field span holds -11, outside";
        QTest::newRow("hang height 1e-300") << 12 << "the field hangHeight holds 1e-300, outside the plausible range 0.25 .. 40";
        // A value is quoted with the digits that tell it from the bound.
        QTest::newRow("just beyond a bound") << 13 << "the field span holds 50.00000000000001, outside";
        QTest::newRow("far beyond a bound") << 14 << "the field span holds 10000.000000000002, outside";
        QTest::newRow("chord just beyond") << 15 << "the field chord[4] holds 100000.00000000001, outside the plausible range -100000 .. 100000";
        QTest::newRow("3-D line end just beyond") << 16 << "the field bridle.groups[1].lineArray[3].q1 holds (0, 100000.01, 0), outside";
    }
    void wildValuesAreRefused()
    {
        QFETCH(int, which);
        QFETCH(QString, field);
        auto d = validRecord();
        d->ribAirfoils[3] = QPolygonF(8);
        d->designAirfoils[2] = QPolygonF(3);
        switch (which) {
        case 0: d->ribAirfoils[3][5] = QPointF(0.5, -4.4e14); break;
        case 1: d->designAirfoils[2][1] = QPointF(0.5, 4e118); break;
        case 2: d->chord[4] = -1e300; break;
        case 3: d->span = 1e300; break;
        case 4: d->ribSpanPos[7] = 2e7; break;
        case 5: d->bridle.groups[1].lineArray[3].q1 = QVector3D(0, 1e12f, 0); break;
        case 6: d->planControlPoints[2] = QPointF(3e5, 0); break;
        case 7: d->crossPorts[0].traps[1].corner[2] = QPointF(0, -1e9); break;
        case 8: d->ribAngle[2] = 1000; break;
        case 9: d->span = 0; break;
        case 10: d->span = 1e-300; break;
        case 11: d->span = -11; break;
        case 12: d->hangHeight = 1e-300; break;
        case 13: d->span = std::nextafter(50.0, 100.0); break;
        case 14: d->span = 10000.000000000002; break;
        case 15: d->chord[4] = std::nextafter(1e5, 1e6); break;
        case 16: d->bridle.groups[1].lineArray[3].q1 = QVector3D(0, std::nextafter(1e5f, 1e6f), 0); break;
        }
        writeBytes("wild.prg", encode(*d));
        auto live = validRecord();
        live->span = 7.5;
        const QByteArray before = recordImage(*live);
        myOpenFile files;
        QVERIFY(!files.ReadParaStream(path("wild.prg"), live.get()));
        QCOMPARE(files.lastReadStatus(), myOpenFile::OutOfRange);
        QVERIFY2(files.lastError().startsWith(field), qPrintable(files.lastError()));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(field));
        QVERIFY(before == recordImage(*live));
    }

    // Every floating-point field a computation uses carries a finite range;
    // only the kept spare fields take any finite number. A field added
    // without a range shows here.
    void everyUsedFieldHasARange()
    {
        UnboundedFields ranges;
        auto d = validRecord();
        projectfile::projectSteps(ranges, *d);
        QVERIFY2(ranges.unbounded.isEmpty(), qPrintable(ranges.unbounded.join(", ")));
    }

    // Wide enough for real wings: the default design and its outline at the
    // edges of every range's use.
    void defaultDesignFitsTheRanges()
    {
        auto live = validRecord();
        myOpenFile files;
        QVERIFY2(files.ReadParaStream(qEnvironmentVariable("WL_APP_DIR") + QStringLiteral("/template.ini"), live.get()),
                 qPrintable(files.lastError()));
        // A tandem of 30 m span with a 4 m chord, drawn in plan units (half
        // the span is 1000), and the longest hang height a design may have.
        live->span = 30.0;
        live->hangHeight = designinput::kHangHeight.range.hi;
        for (int i = 0; i < projectfile::kStoredRibs; ++i) {
            live->chord[i] = 4.0 / 15.0 * 1000;
            live->ribSpanPos[i] = 1000.0 * i / projectfile::kStoredRibs;
        }
        writeBytes("tandem.prg", encode(*live));
        QVERIFY2(files.ReadParaStream(path("tandem.prg"), live.get()), qPrintable(files.lastError()));
    }


    // Bytes after the last step are not read (a later writer may append
    // steps under the same version tag) and saving writes the forty steps
    // only: the file opens, and the reader counts them for the user.
    void bytesAfterTheLastStepAreCounted()
    {
        auto d = validRecord();
        d->span = 8.5;
        const QByteArray bytes = encode(*d);
        for (const QByteArray& tail : {QByteArray(), QByteArray(1, '\0'), QByteArray(4096, '\x1a'),
                                       QByteArray::fromHex("7ff8000000000000")}) {
            writeBytes("tail.prg", bytes + tail);
            auto live = validRecord();
            myOpenFile files;
            QVERIFY(files.ReadParaStream(path("tail.prg"), live.get()));
            QCOMPARE(files.lastUnreadBytes(), qint64(tail.size()));
            QCOMPARE(encode(*live), bytes);
        }
        QVERIFY(messages.isEmpty());
        // An older file ends before the last step: nothing is left unread.
        writeBytes("older.prg", bytes.left(stepOffset(*d, 36)));
        auto live = validRecord();
        myOpenFile files;
        QVERIFY(files.ReadParaStream(path("older.prg"), live.get()));
        QCOMPARE(files.lastUnreadBytes(), qint64(0));
    }

    void storedValuesMustFitTheRecord_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("reason");
        QTest::newRow("lastRib 64") << 0 << "number of cells";
        QTest::newRow("bookkeeping") << 1 << "bookkeeping";
        QTest::newRow("one cell") << 2 << "number of cells";
        QTest::newRow("line index") << 3 << "line attachment index";
        QTest::newRow("line count") << 4 << "line group count";
        QTest::newRow("airfoil choice") << 5 << "design airfoil choice";
        QTest::newRow("attachment rib") << 6 << "rib of a line attachment";
        QTest::newRow("pair node") << 7 << "joins nodes";
        QTest::newRow("nose index") << 8 << "nose index";
        QTest::newRow("negative count") << 9 << "line group count";
        QTest::newRow("nose rod") << 10 << "point count of the upper nose rod";
        QTest::newRow("billow control") << 11 << "billow control index";
        QTest::newRow("mini-rib extent") << 12 << "mini-rib or mylar extent";
        QTest::newRow("strap width") << 13 << "strap width";
        QTest::newRow("hole count") << 14 << "number of holes";
        QTest::newRow("diagonal index") << 15 << "diagonal index";
        QTest::newRow("transition rib") << 16 << "transition rib";
    }

    void storedValuesMustFitTheRecord()
    {
        QFETCH(int, which);
        QFETCH(QString, reason);
        auto d = validRecord();
        switch (which) {
        case 0: d->cells = 127; d->Reset_CellsNumber(); break; // lastRib 64
        case 1: d->lastRib = 20; break;
        case 2: d->cells = 1; d->Reset_CellsNumber(); break;
        case 3: d->lineIndex[4][60] = 1000; break;
        case 4: d->bridle.riserGroup.lineCount = 1171; break;
        case 5: d->positionAirfoilIndex[3] = 4; break;
        case 6: d->bridle.groups[2].attachArray[1000].rib = 65; break;
        case 7: d->bridle.groups[3].pairCount = 2; d->bridle.groups[3].pairArray[1] = QPoint(0, -1); break;
        case 8: d->noseIndex[0] = -1; break;
        case 9: d->bridle.groups[0].attachmentCount = -1; break;
        case 10: d->rod1.index[1] = std::numeric_limits<int>::min(); break;
        case 11: d->skinControlIndex[4] = 50000; break;
        case 12: d->minirib.mylarEnd = std::numeric_limits<int>::max(); break;
        case 13: d->strapWidth[2] = -4; break;
        case 14: d->crossPorts[2].traps[5].holeCount = 2000000000; break;
        case 15: d->diagIndexTableB[3][40] = -900000; break;
        case 16: d->transitionRib2 = 400; break;
        }
        writeBytes("bad.prg", encode(*d));
        auto live = validRecord();
        live->span = 4.0;
        myOpenFile files;
        QVERIFY(!files.ReadParaStream(path("bad.prg"), live.get()));
        QCOMPARE(files.lastReadStatus(), myOpenFile::Corrupt);
        QVERIFY2(files.lastError().contains(reason), qPrintable(files.lastError()));
        QCOMPARE(live->span, 4.0);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith(path("bad.prg")));
    }

    // More ribs on a side than the tables hold is a refusal of its own kind.
    void tooManyRibs()
    {
        auto d = validRecord();
        d->cells = 200;
        d->Reset_CellsNumber();
        QVERIFY(d->lastRib > 65);
        writeBytes("many.prg", encode(*d));
        auto live = validRecord();
        myOpenFile files;
        QVERIFY(!files.ReadParaStream(path("many.prg"), live.get()));
        QCOMPARE(files.lastReadStatus(), myOpenFile::TooManyRibs);
        QVERIFY2(files.lastError().contains(QStringLiteral("ribs on a side")), qPrintable(files.lastError()));
    }

    void largestWingIsAccepted()
    {
        auto d = validRecord();
        d->cells = 126;
        d->Reset_CellsNumber();
        QCOMPARE(d->lastRib, 63);
        writeBytes("big.prg", encode(*d));
        auto live = validRecord();
        myOpenFile files;
        QVERIFY(files.ReadParaStream(path("big.prg"), live.get()));
        QCOMPARE(live->lastRib, 63);
    }

    void hugePolygonCountIsRefusedBeforeAllocating()
    {
        auto d = validRecord();
        QByteArray bytes = encode(*d);
        // the point count of the first design airfoil
        const qint64 at = stepOffset(*d, 11) + S(d->designAirfoilNames[0]);
        for (const QByteArray& count : {QByteArray::fromHex("7fffffff"), QByteArray::fromHex("000003e9")}) {
            bytes.replace(at, 4, count);
            QBuffer buf;
            buf.setData(bytes);
            buf.open(QIODevice::ReadOnly);
            QString reason;
            QVERIFY(!Read_Project(&buf, d.get(), &reason));
            QVERIFY2(reason.contains(QStringLiteral("at most 1000")), qPrintable(reason));
        }
    }

    void missingAndUnreadableFiles()
    {
        auto live = validRecord();
        myOpenFile files;
        QVERIFY(!files.ReadParaStream(QString(), live.get()));
        QCOMPARE(files.lastReadStatus(), myOpenFile::EmptyPath);
        QVERIFY(!files.ReadParaStream(path("nothing.prg"), live.get()));
        QCOMPARE(files.lastReadStatus(), myOpenFile::FileMissing);
        QVERIFY(messages.isEmpty());
        // a folder exists but cannot be read as a file
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder.prg")));
        QVERIFY(!files.ReadParaStream(path("folder.prg"), live.get()));
        QVERIFY(!messages.isEmpty());
        QVERIFY(!files.WriteParaStream(QString()));
    }

    void liveDesignIsWrittenAndRead()
    {
        ParaStruct* live = GetDataStruct();
        const auto keep = std::make_unique<ParaStruct>(*live);
        live->cells = 40;
        live->Reset_CellsNumber();
        live->span = 10.5;
        myOpenFile files;
        QVERIFY(files.WriteParaStream(path("live.prg")));
        live->span = 1.0;
        live->flatArea = 3.0; // derived: a read starts it again from zero
        QVERIFY(files.ReadParaStream(path("live.prg"), live));
        QCOMPARE(live->span, 10.5);
        QCOMPARE(live->flatArea, 0.0);
        *live = *keep;
    }

    void failedSaveKeepsTheOldFile()
    {
        auto d = validRecord();
        d->span = 8.0;
        myOpenFile files;
        const QString target = path("keep.prg");
        QVERIFY(files.WriteParaStream(target, *d));
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();

        // the disk fills up half-way through the new file
        d->span = 9.0;
        struct rlimit old;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        struct rlimit small = old;
        small.rlim_cur = 200 * 1024;
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool saved = files.WriteParaStream(target, *d);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!saved);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith(target));
        // The system's reason, not what the writer did after it.
        QVERIFY2(messages[0].contains(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(messages[0]));
        QVERIFY(!messages[0].contains(QStringLiteral("canceled")));
        QCOMPARE(files.lastSaveError().code, EFBIG);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        f.close();
        QCOMPARE(QDir(dir.path()).entryList(QStringList() << QStringLiteral("keep.prg*"), QDir::Files | QDir::Hidden).size(), 1);
    }

    void saveIntoReadOnlyFolder()
    {
        const QString folder = path("locked");
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("locked")));
        auto d = validRecord();
        myOpenFile files;
        const QString target = folder + QStringLiteral("/design.prg");
        QVERIFY(files.WriteParaStream(target, *d));
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QFile probe(folder + QStringLiteral("/probe"));
        const bool writable = probe.open(QIODevice::WriteOnly);
        if (writable)
            probe.remove();
        if (!writable) {
            d->span = 3.0;
            messages.clear();
            QVERIFY(!files.WriteParaStream(target, *d));
            QCOMPARE(messages.size(), 1);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), before);
            f.close();
        }
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (writable)
            QSKIP("this user may write into read-only folders");
    }

    void logFileAppendsEntries()
    {
        GlobClass* g = GetGlobClass();
        const QString keep = g->dxfDir;
        g->dxfDir = dir.path();
        QFile::remove(path("wingloft.log"));
        WriteLogFile(QStringLiteral("first"));
        WriteLogFile(QStringLiteral("second entry"));
        QFile f(path("wingloft.log"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(" \nfirst \nsecond entry"));
        g->dxfDir = dir.path() + QStringLiteral("/no/such/folder");
        WriteLogFile(QStringLiteral("lost")); // nothing happens
        g->dxfDir = keep;
    }

    void fileDialogsGoThroughTheInstalledFunction()
    {
        QCOMPARE(myOpenFile::DialogReadFromFile(QStringLiteral("/w")), QString());
        QStringList seen;
        auto choose = [&](const char* kind) {
            return [&seen, kind](const QString& title, const QString& d, const QString& filter) {
                seen << QStringLiteral("%1|%2|%3|%4").arg(kind, title, d, filter);
                return QStringLiteral("/w/a.prg");
            };
        };
        user.onOpenFile = choose("open");
        user.onSaveFile = choose("save");
        QCOMPARE(myOpenFile::DialogReadFromFile(QStringLiteral("/w")), QStringLiteral("/w/a.prg"));
        myOpenFile::DialogWriteToFile(QStringLiteral("/w"));
        myOpenFile::DialogNewFile(QStringLiteral("/w"));
        user.onOpenFile = nullptr;
        user.onSaveFile = nullptr;
        QCOMPARE(seen, QStringList({"open|Open File in work directory|/w|Files (*.prg)",
                                    "save|Save File [as .. select a name]|/w|Files (*.prg)",
                                    "save|Enter New file [name.prg] and Save |/w|Files (*.prg)"}));
    }

    // Damaged files never crash the reader and never make it allocate much;
    // a refused file leaves the receiving record exactly as it was.
    void damagedFiles()
    {
        auto source = validRecord();
        fillFileMembers(*source, 77);
        for (QPolygonF& p : source->ribAirfoils)
            p.clear(); // keeps the file small, so that many damaged copies can be read
        const QByteArray good = encode(*source);

        auto live = validRecord();
        live->designAirfoils[0] = QPolygonF(1000);
        const auto pristine = std::make_unique<ParaStruct>(*live);
        QByteArray snapshot = recordImage(*live);
        auto scratch = std::make_unique<ParaStruct>();

        const bool hooks = __sanitizer_install_malloc_and_free_hooks && __sanitizer_get_allocated_size;
        if (hooks)
            __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);

        QRandomGenerator rng(20240611);
        int refused = 0, accepted = 0, wholeReads = 0;
        long long worst = 0;
        QByteArray work(good.size(), Qt::Uninitialized); // reused: no fresh memory per round
        for (int round = 0; round < 2000; ++round) {
            std::memcpy(work.data(), good.constData(), size_t(good.size()));
            QByteArray bytes;
            if (round % 2 == 0) {
                bytes = QByteArray::fromRawData(work.constData(), int(rng.bounded(good.size())));
            } else {
                const int flips = 1 + int(rng.bounded(4));
                for (int k = 0; k < flips; ++k) {
                    // half of the flips go to the first part of the file, where counts and indexes are
                    const int at = int(rng.bounded(k % 2 ? good.size() : 40000));
                    work.data()[at] = char(work[at] ^ (1 << rng.bounded(8)));
                }
                bytes = QByteArray::fromRawData(work.constData(), work.size());
            }
            QBuffer buf(&bytes);
            buf.open(QIODevice::ReadOnly);
            const long long base = heapNow.load();
            heapPeak = base;
            if (round % 80 != 0) {
                // the stream reader alone, into a record that is reused
                QDataStream stream(&buf);
                stream.setVersion(QDataStream::Qt_4_8);
                stream >> *scratch;
                worst = qMax(worst, heapPeak.load() - base);
                (stream.status() == QDataStream::Ok ? accepted : refused)++;
                continue;
            }
            // the whole read into a live record
            ++wholeReads;
            const bool ok = Read_Project(&buf, live.get());
            worst = qMax(worst, heapPeak.load() - base - qint64(sizeof(ParaStruct)));
            if (ok) {
                ++accepted;
                *live = *pristine;
                snapshot = recordImage(*live);
            } else {
                ++refused;
                QVERIFY2(snapshot == recordImage(*live),
                         qPrintable(QStringLiteral("round %1 changed the record").arg(round)));
            }
        }
        if (hooks)
            __sanitizer_install_malloc_and_free_hooks(nullptr, nullptr);
        qInfo("%d refused, %d accepted (%d whole reads), peak heap beyond the fresh record %.2f MB", refused,
              accepted, wholeReads, worst / 1e6);
        QVERIFY(refused > 1000);
        if (hooks)
            QVERIFY(worst < 50LL * 1000 * 1000);
    }
};

QTEST_GUILESS_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
