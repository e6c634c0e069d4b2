#include "aero/apameinput.h"

#include "aero/apameres.h"

#include "core/filesave.h"
#include "core/parastruct.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace apameinput {

namespace {

// A placeholder at `at` ("%" and one or two digits): its number, or 0.
int placeholderAt(const QString& pattern, int at, int* length)
{
    if (pattern.at(at) != QLatin1Char('%') || at + 1 >= pattern.size() || !pattern.at(at + 1).isDigit())
        return 0;
    int n = pattern.at(at + 1).digitValue();
    int len = 2;
    if (at + 2 < pattern.size() && pattern.at(at + 2).isDigit()) {
        n = 10 * n + pattern.at(at + 2).digitValue();
        len = 3;
    }
    *length = len;
    return n;
}

// The pattern cut into literal pieces and the placeholder numbers between
// them: literals.size() == numbers.size() + 1.
void splitPattern(const QString& pattern, QStringList* literals, QList<int>* numbers)
{
    QString literal;
    for (int at = 0; at < pattern.size();) {
        int length = 0;
        const int n = placeholderAt(pattern, at, &length);
        if (n > 0) {
            literals->append(literal);
            numbers->append(n);
            literal.clear();
            at += length;
        } else {
            literal += pattern.at(at++);
        }
    }
    literals->append(literal);
}

struct Writer {
    QByteArray out;

    void text(const QString& line)
    {
        out += line.toLatin1();
        out += '\n';
    }
    void real(const char* pattern, double v) { text(fillPattern(pattern, {realText(v)})); }
    void integer(const char* pattern, int v) { text(fillPattern(pattern, {integerText(v)})); }
    void nodes(const char* pattern, const QList<NodeInfo>& list)
    {
        integer(pattern, int(list.size()));
        for (const NodeInfo& n : list)
            text(nodeLine(n));
    }
    void panels(const char* pattern, const QList<PanelInfo>& list)
    {
        // Panels of a kind the solver has no line for still count.
        integer(pattern, int(list.size()));
        int position = 0;
        for (const PanelInfo& p : list) {
            const QString line = panelLine(p, ++position);
            if (!line.isEmpty())
                text(line);
        }
    }
    void last(const char* line) { out += line; }
};

struct Reader {
    QStringList lines;
    int at = 0;
    bool ok = true;
    QString problem;

    void fail(const QString& why)
    {
        if (ok)
            problem = QStringLiteral("line %1: %2").arg(at).arg(why);
        ok = false;
    }
    bool next(QString* line)
    {
        if (!ok)
            return false;
        if (at >= lines.size()) {
            ++at;
            fail(QStringLiteral("the file ends early"));
            return false;
        }
        *line = lines.at(at++);
        return true;
    }
    // The numbers of one line of the pattern, each written the way the
    // writer writes it: a real with six decimals or a plain integer.
    bool fields(const QString& pattern, QStringList* f)
    {
        QString line;
        if (!next(&line))
            return false;
        if (!matchPattern(pattern, line, f)) {
            fail(QStringLiteral("\"%1\" does not follow \"%2\"").arg(line, pattern));
            return false;
        }
        return true;
    }
    bool toInt(const QString& s, int* v)
    {
        bool good = false;
        *v = s.toInt(&good);
        if (!good || integerText(*v) != s)
            fail(QStringLiteral("\"%1\" is not an integer as written").arg(s));
        return ok;
    }
    bool toReal(const QString& s, double* v)
    {
        bool good = false;
        *v = s.toDouble(&good);
        if (!good || realText(*v) != s)
            fail(QStringLiteral("\"%1\" is not a real with six decimals").arg(s));
        return ok;
    }

    void text(const QString& expected)
    {
        QString line;
        if (next(&line) && line != expected)
            fail(QStringLiteral("\"%1\" where \"%2\" belongs").arg(line, expected));
    }
    void real(const char* pattern, double& v)
    {
        QStringList f;
        if (fields(pattern, &f))
            toReal(f.at(0), &v);
    }
    void integer(const char* pattern, int& v)
    {
        QStringList f;
        if (fields(pattern, &f))
            toInt(f.at(0), &v);
    }
    void nodes(const char* pattern, QList<NodeInfo>& list)
    {
        int count = 0;
        integer(pattern, count);
        list.clear();
        for (int k = 0; ok && k < count; ++k) {
            QStringList f;
            if (!fields(kNodeLine, &f))
                return;
            double x = 0, y = 0, z = 0;
            NodeInfo n;
            if (toReal(f.at(0), &x) && toReal(f.at(1), &y) && toReal(f.at(2), &z) && toInt(f.at(3), &n.id)) {
                n.x = float(x);
                n.y = float(y);
                n.z = float(z);
                list.append(n);
            }
        }
    }
    void panels(const char* pattern, QList<PanelInfo>& list)
    {
        int count = 0;
        integer(pattern, count);
        list.clear();
        for (int k = 0; ok && k < count; ++k) {
            QString line;
            if (!next(&line))
                return;
            QStringList f;
            PanelInfo p;
            int position = 0;
            const bool quad = matchPattern(kQuadLine, line, &f);
            if (quad || matchPattern(kTriangleLine, line, &f)) {
                const int corners = quad ? 4 : 3;
                bool good = toInt(f.at(0), &p.type);
                for (int c = 0; good && c < corners; ++c)
                    good = toInt(f.at(1 + c), &p.nodes[c]) && toInt(f.at(1 + corners + c), &p.neighbours[c]);
                if (good && toInt(f.last(), &position)) {
                    p.id = position;
                    list.append(p);
                }
            } else {
                fail(QStringLiteral("\"%1\" is no panel line").arg(line));
            }
        }
    }
    void last(const char* expected)
    {
        QString line;
        if (!next(&line))
            return;
        if (line != QLatin1String(expected))
            fail(QStringLiteral("\"%1\" where \"%2\" belongs").arg(line, QLatin1String(expected)));
        else if (at != lines.size())
            fail(QStringLiteral("the file goes on after its last line"));
    }
};

} // namespace

QString fillPattern(const QString& pattern, const QStringList& fields)
{
    QString out;
    for (int at = 0; at < pattern.size();) {
        int length = 0;
        const int n = placeholderAt(pattern, at, &length);
        if (n > 0 && n <= fields.size()) {
            out += fields.at(n - 1);
            at += length;
        } else {
            out += pattern.at(at++);
        }
    }
    return out;
}

bool matchPattern(const QString& pattern, const QString& line, QStringList* fields)
{
    QStringList literals;
    QList<int> numbers;
    splitPattern(pattern, &literals, &numbers);
    fields->clear();
    for (int k = 0; k < numbers.size(); ++k)
        fields->append(QString());

    if (!line.startsWith(literals.first()))
        return false;
    int at = int(literals.first().size());
    for (int k = 0; k < numbers.size(); ++k) {
        const QString& after = literals.at(k + 1);
        // A field is one run of non-blank characters.
        int end = at;
        while (end < line.size() && line.at(end) != QLatin1Char(' '))
            ++end;
        if (end == at || line.mid(end, after.size()) != after)
            return false;
        const int n = numbers.at(k);
        if (n > fields->size())
            return false;
        (*fields)[n - 1] = line.mid(at, end - at);
        at = end + int(after.size());
    }
    return at == line.size();
}

QString realText(double v)
{
    return QString::number(v, 'f', 6);
}

QString integerText(int v)
{
    return QString::number(v);
}

QString nodeLine(const NodeInfo& n)
{
    return fillPattern(kNodeLine, {realText(n.x), realText(n.y), realText(n.z), integerText(n.id)});
}

QString panelLine(const PanelInfo& p, int position)
{
    QStringList f;
    int corners = 0;
    const char* pattern = nullptr;
    if (p.type == 1 || p.type == 10) {
        corners = 4;
        pattern = kQuadLine;
    } else if (p.type == 2) {
        corners = 3;
        pattern = kTriangleLine;
    } else {
        return QString();
    }
    f << integerText(p.type);
    for (int c = 0; c < corners; ++c)
        f << integerText(p.nodes[c]);
    for (int c = 0; c < corners; ++c)
        f << integerText(p.neighbours[c]);
    f << integerText(position);
    return fillPattern(pattern, f);
}

QByteArray Input_File_Bytes(const InputValues& values)
{
    Writer w;
    inputFile(w, values);
    return w.out;
}

bool Read_Input_File(const QByteArray& bytes, InputValues* values, QString* problem)
{
    Reader r;
    r.lines = QString::fromLatin1(bytes).split(QLatin1Char('\n'));
    inputFile(r, *values);
    if (problem)
        *problem = r.problem;
    return r.ok;
}

} // namespace apameinput

QByteArray Apame_Input_Bytes(ParaStruct* design, int velOrder, bool smooth, int J, const int* stations,
                             QString* problem)
{
    const QString why = Mesh_Input_Problem(design, smooth, J, stations);
    if (problem)
        *problem = why;
    if (!why.isEmpty())
        return QByteArray();
    WingMeshData mesh;
    Build_Wing_Mesh(design, smooth, J, stations, &mesh);
    apameinput::InputValues values;
    values.span = design->span;
    values.mac = design->flatArea / design->span;
    values.surface = design->flatArea;
    values.velOrder = velOrder;
    values.nodes = mesh.nodes;
    values.panels = mesh.panels;
    return apameinput::Input_File_Bytes(values);
}

bool CreateApameInputFile(ParaStruct* design, GlobClass* glob, int velOrder, bool smooth, int J,
                          const int* stations, QString* problem)
{
    auto refuse = [problem](const QString& why) {
        if (problem)
            *problem = why;
        return false;
    };
    const QString why = Mesh_Input_Problem(design, smooth, J, stations);
    if (!why.isEmpty())
        return refuse(why);
    if (!glob || glob->dxfDir.isEmpty())
        return refuse(QStringLiteral("The project has no output directory for the solver input."));

    const QByteArray bytes = Apame_Input_Bytes(design, velOrder, smooth, J, stations);

    // Written aside and moved into place: a failed write never leaves a
    // half-written input for the solver.
    const QString path = QDir(glob->dxfDir).filePath(QStringLiteral("wings.inp"));
    const FileSaveResult saved = Save_File(path, bytes);
    if (!saved.ok())
        return refuse(QStringLiteral("The solver input %1 cannot be written: %2. %3")
                          .arg(path, saved.reason(), saved.advice()));
    if (problem)
        problem->clear();
    return true;
}

bool Adopt_Results_Of_Input(ParaStruct* design, GlobClass* glob, ApameRes* res)
{
    if (!res->hasResults())
        return false;
    if (res->source.known)
        return true;
    if (!glob || glob->dxfDir.isEmpty() || res->source.file.isEmpty())
        return false;
    const QDir dir(glob->dxfDir);
    const QFileInfo results(res->source.file);
    if (results.absoluteFilePath() != QFileInfo(dir.filePath(QStringLiteral("wings.res"))).absoluteFilePath())
        return false;
    // The solver writes its results after reading its input: an input
    // newer than the results was written for a run that made none.
    QFile input(dir.filePath(QStringLiteral("wings.inp")));
    const QFileInfo inputInfo(input);
    if (!inputInfo.exists() || inputInfo.lastModified().toMSecsSinceEpoch() > res->source.fileModified)
        return false;
    if (!input.open(QIODevice::ReadOnly))
        return false;
    const QByteArray solved = input.readAll();
    const QByteArray now = Apame_Input_Bytes(design, kApameVelOrder, design->smoothModel, design->chordStationCount,
                                             design->chordStations);
    if (now.isEmpty() || solved != now)
        return false;
    const AnalysisSource file = res->source;
    res->source = Analysis_Source_Of(*design);
    res->source.file = file.file;
    res->source.fileSize = file.fileSize;
    res->source.fileModified = file.fileModified;
    return true;
}
