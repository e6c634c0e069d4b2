#include "aero/apameres.h"

#include "core/designedit.h"
#include "core/parastruct.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLowestCp = -1.5;

bool isNumberChar(QChar c)
{
    return c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('E') ||
           c == QLatin1Char('+');
}

// Reads the sections of resultSections into a record of its own; the caller
// takes the record over only when the whole file was read.
class ResultReader
{
public:
    ResultReader(QTextStream* in, const QString& path) : in_(in), path_(path) { line_ = in_->readLine(); }

    bool ok() const { return ok_; }
    const QString& problem() const { return problem_; }

    void count(const char* keyword, int& n)
    {
        if (!seek(keyword) || !valueLine(keyword, 1))
            return;
        if (!integerField(1, &n) || n < 0)
            fail(QStringLiteral("%1 gives no count of its own (\"%2\")").arg(QLatin1String(keyword), line_));
    }

    void cases(const char* keyword, int& n, double* alpha, double* beta)
    {
        count(keyword, n);
        if (!ok_)
            return;
        // A count above the record's cases fills cases 0 .. 12 only.
        caseNum_ = std::clamp(n, 0, kResultCases);
        numberLine(keyword, alpha);
        numberLine(keyword, beta);
    }

    void coefficients(const char* keyword, double* values)
    {
        if (seek(keyword))
            numberLine(keyword, values);
    }

    void nodes(const char* keyword, int n, QList<QVector3D>& list)
    {
        list.clear();
        if (!seek(keyword))
            return;
        for (int k = 0; k < n; ++k) {
            double v[3];
            if (!row(keyword, k, n, 3) || !realFields(1, 3, v))
                return rowCountProblem(keyword, k, n);
            list.append(QVector3D(float(v[0]), float(v[1]), float(v[2])));
        }
    }

    void panels(const char* keyword, int n, QList<PanelInfo>& list)
    {
        list.clear();
        if (!seek(keyword))
            return;
        for (int k = 0; k < n; ++k) {
            PanelInfo p;
            p.id = k + 1;
            // The type and four node numbers at least; neighbours the line
            // does not reach are none.
            if (!row(keyword, k, n, 5) || !integerField(1, &p.type))
                return rowCountProblem(keyword, k, n);
            for (int c = 0; c < 4; ++c) {
                if (!integerField(2 + c, &p.nodes[c]))
                    return rowCountProblem(keyword, k, n);
                if (6 + c < reached_ && !fields_[6 + c].isEmpty() && !integerField(6 + c, &p.neighbours[c]))
                    return rowCountProblem(keyword, k, n);
            }
            list.append(p);
        }
    }

    void normals(const char* keyword, int n, QList<QVector3D>& list)
    {
        list.clear();
        if (!seek(keyword))
            return;
        for (int k = 0; k < n; ++k) {
            double v[3];
            if (!row(keyword, k, n, 3))
                return;
            for (int f = 0; f < 4; ++f)
                fields_[f] = Rep_NumString(fields_[f]);
            if (!realFields(1, 3, v))
                return rowCountProblem(keyword, k, n);
            list.append(QVector3D(float(v[0]), float(v[1]), float(v[2])));
        }
    }

    void cp(const char* keyword, int n, int caseNum, QList<ArrDouble>& list)
    {
        list.clear();
        if (!seek(keyword))
            return;
        const int cases = std::clamp(caseNum, 0, kResultCases);
        for (int k = 0; k < n; ++k) {
            ArrDouble a;
            if (!row(keyword, k, n, cases) || !realFields(1, cases, a.values))
                return rowCountProblem(keyword, k, n);
            for (int c = 0; c < cases; ++c) {
                if (!(a.values[c] >= kLowestCp))
                    a.values[c] = kLowestCp;
            }
            list.append(a);
        }
    }

private:
    void fail(const QString& why)
    {
        if (ok_)
            problem_ = QStringLiteral("The solver results %1 are refused: %2.").arg(path_, why);
        ok_ = false;
    }

    void rowCountProblem(const char* keyword, int rows, int n)
    {
        fail(QStringLiteral("the %1 section ends after %2 of the %3 rows the file announces")
                 .arg(QLatin1String(keyword))
                 .arg(rows)
                 .arg(n));
    }

    void nextLine()
    {
        // Past the end every line reads as empty.
        line_ = in_->atEnd() ? QString() : in_->readLine();
    }

    // Forward from the current line to the first that holds the keyword.
    bool seek(const char* keyword)
    {
        if (!ok_)
            return false;
        while (!KeyWordFound(QLatin1String(keyword), line_)) {
            if (in_->atEnd()) {
                fail(QStringLiteral("there is no %1 section").arg(QLatin1String(keyword)));
                return false;
            }
            line_ = in_->readLine();
        }
        return true;
    }

    // The next line, split; false when it does not reach field `last`.
    bool valueLine(const char* keyword, int last)
    {
        nextLine();
        reached_ = SubStrFromLine(line_, fields_);
        if (last > 0 && reached_ <= last) {
            fail(QStringLiteral("the line after %1 holds no values (\"%2\")").arg(QLatin1String(keyword), line_));
            return false;
        }
        return true;
    }

    bool row(const char* keyword, int k, int n, int last)
    {
        nextLine();
        reached_ = SubStrFromLine(line_, fields_);
        if (reached_ <= last) {
            rowCountProblem(keyword, k, n);
            return false;
        }
        return true;
    }

    bool integerField(int f, int* v)
    {
        bool good = false;
        *v = fields_[f].toInt(&good);
        return good;
    }

    bool realFields(int first, int count, double* out)
    {
        for (int c = 0; c < count; ++c) {
            bool good = false;
            out[c] = fields_[first + c].toDouble(&good);
            if (!good)
                return false;
        }
        return true;
    }

    // One line of per-case reals in fields 1 .. cases.
    void numberLine(const char* keyword, double* values)
    {
        if (!ok_ || !valueLine(keyword, caseNum_))
            return;
        if (!realFields(1, caseNum_, values))
            fail(QStringLiteral("the values of %1 are no numbers (\"%2\")").arg(QLatin1String(keyword), line_));
    }

    QTextStream* in_;
    QString path_;
    QString line_;
    QString fields_[kLineFields];
    int reached_ = 0;
    int caseNum_ = 0;
    bool ok_ = true;
    QString problem_;
};

// Node and neighbour numbers must name what the file holds.
QString referenceProblem(const ApameRes& r)
{
    if (r.panelNumNoWake > r.panelNum)
        return QStringLiteral("it announces %1 surface panels among %2 panels").arg(r.panelNumNoWake).arg(r.panelNum);
    for (const PanelInfo& p : r.panels) {
        const int corners = p.type == 2 ? 3 : 4;
        for (int c = 0; c < 4; ++c) {
            const int lowest = c < corners ? 1 : 0;
            if (p.nodes[c] < lowest || p.nodes[c] > r.nodeNum)
                return QStringLiteral("panel %1 names node %2 of %3").arg(p.id).arg(p.nodes[c]).arg(r.nodeNum);
            if (p.neighbours[c] < 0 || p.neighbours[c] > r.panelNum)
                return QStringLiteral("panel %1 names neighbour %2 of %3").arg(p.id).arg(p.neighbours[c]).arg(r.panelNum);
        }
    }
    return QString();
}

} // namespace

AnalysisSource Results_File_Identity(const QString& path)
{
    AnalysisSource s;
    const QFileInfo info(path);
    s.file = info.absoluteFilePath();
    s.fileSize = info.exists() ? info.size() : -1;
    s.fileModified = info.exists() ? info.lastModified().toMSecsSinceEpoch() : 0;
    return s;
}

AnalysisSource Analysis_Source_Of(const ParaStruct& design)
{
    AnalysisSource s;
    s.known = true;
    s.revision = design.geometryChanged.revision();
    s.twist = design.maxTwistAngle;
    s.alignment = design.profileAlignment;
    s.smooth = design.smoothModel;
    return s;
}

QString Results_Design_Mismatch(const ApameRes& res, const ParaStruct& design)
{
    if (!res.hasResults())
        return QString();
    const QString rerun = QStringLiteral("Press RECALCULATE in the CFD analysis for results of the design shown.");
    const AnalysisSource& was = res.source;
    if (!was.known)
        return QStringLiteral("The solver results %1 are not known to belong to the design shown: they were not "
                              "computed from it here, and the solver input beside them does not match it. %2")
            .arg(was.file.isEmpty() ? QString() : QStringLiteral("in ") + was.file, rerun)
            .simplified();
    const AnalysisSource now = Analysis_Source_Of(design);
    QStringList changes;
    auto degrees = [](double v) { return QString::number(v, 'f', 2); };
    if (was.twist != now.twist)
        changes << QStringLiteral("twist %1 deg, now %2 deg").arg(degrees(was.twist), degrees(now.twist));
    if (was.alignment != now.alignment)
        changes << QStringLiteral("profile alignment %1 %, now %2 %").arg(degrees(was.alignment), degrees(now.alignment));
    if (was.smooth != now.smooth)
        changes << QStringLiteral("%1 model, now %2").arg(was.smooth ? QStringLiteral("smooth") : QStringLiteral("inflated"),
                                                          now.smooth ? QStringLiteral("smooth") : QStringLiteral("inflated"));
    if (was.revision != now.revision)
        changes << QStringLiteral("the wing has been changed since");
    if (changes.isEmpty())
        return QString();
    return QStringLiteral("The solver results were computed for an earlier state of the design (%1). %2")
        .arg(changes.join(QStringLiteral("; ")), rerun);
}

void Apply_Edit_Keeping_Results(ParaStruct* design, ApameRes* res, DesignEdit what)
{
    const bool current = res->hasResults() && Results_Design_Mismatch(*res, *design).isEmpty();
    Apply_Edit(design, what);
    if (current)
        res->source.revision = design->geometryChanged.revision();
}

ApameRes* GetApameClass()
{
    static ApameRes* record = new ApameRes;
    return record;
}

bool KeyWordFound(const QString& keyword, const QString& line)
{
    return line.contains(keyword, Qt::CaseSensitive);
}

int SubStrFromLine(const QString& line, QString* fields)
{
    if (line.size() < 2) {
        fields[1].clear();
        return 0;
    }
    int field = 0;
    fields[0].clear();
    bool inSeparators = false;
    for (const QChar c : line) {
        if (isNumberChar(c)) {
            inSeparators = false;
            if (field < kLineFields)
                fields[field] += c;
        } else if (!inSeparators) {
            inSeparators = true;
            ++field;
            if (field < kLineFields)
                fields[field].clear();
        }
    }
    return std::min(field + 1, kLineFields);
}

QString Rep_NumString(QString s)
{
    if (s.startsWith(QLatin1Char('.')))
        s.replace(QLatin1String("."), QLatin1String("0."));
    else
        s.replace(QLatin1String("-."), QLatin1String("-0."));
    return s;
}

double safeRatio(double a, double b)
{
    return std::fabs(b) > 0 ? a / b : 0.0;
}

bool Read_Apame_Results(const QString& path, ApameRes* res, QString* problem)
{
    auto refuse = [problem](const QString& why) {
        if (problem)
            *problem = why;
        return false;
    };
    QFile file(path);
    if (!file.exists())
        return refuse(QStringLiteral("There are no solver results: %1 does not exist.").arg(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return refuse(QStringLiteral("The solver results %1 cannot be read: %2.").arg(path, file.errorString()));
    QTextStream in(&file);
    if (in.atEnd())
        return refuse(QStringLiteral("The solver results %1 are empty.").arg(path));

    ApameRes read;
    ResultReader reader(&in, path);
    apameresult::resultSections(reader, read);
    if (!reader.ok())
        return refuse(reader.problem());
    const QString why = referenceProblem(read);
    if (!why.isEmpty())
        return refuse(QStringLiteral("The solver results %1 are refused: %2.").arg(path, why));

    read.projectPath = res->projectPath;
    read.chartKind = res->chartKind;
    const AnalysisSource seen = Results_File_Identity(path);
    if (res->source.file == seen.file && res->source.fileSize == seen.fileSize
        && res->source.fileModified == seen.fileModified)
        read.source = res->source;
    else
        read.source = seen;
    *res = read;
    if (problem)
        problem->clear();
    return true;
}

bool ReadToApameClass(const ParaStruct* /*design*/, GlobClass* glob, ApameRes* res, QString* problem)
{
    res->projectPath = glob->prgPath;
    return Read_Apame_Results(QDir(glob->dxfDir).filePath(QStringLiteral("wings.res")), res, problem);
}
