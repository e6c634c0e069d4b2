// Builds the default design and writes it as a project file, and its design
// lines beside it (OUTPUT's base name with ".dsg": "template.dsg" beside
// "template.ini"), where the main program takes them from with the design.
//   wl_template [--cells N] [--name NAME] OUTPUT
// Prints the design's figures; fails (exit code 1) when the design does not
// pass its checks (the shipped 34 cells also those of its figures) or a file
// cannot be written. The same arguments always give the same bytes.

#include "tools/template/defaultdesign.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "graphics/pattspline.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const char* usage = "usage: wl_template [--cells 2..120] [--name NAME] OUTPUT\n";
    int cells = 34;
    QString name = QStringLiteral("template");
    QString output;
    // Anything the usage does not name is refused: an option taken for the
    // output would write a project called "--help".
    bool understood = true;
    while (!args.isEmpty() && understood) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::printf("%s", usage);
            return 0;
        }
        if (a == QLatin1String("--cells") && !args.isEmpty())
            cells = args.takeFirst().toInt(&understood);
        else if (a == QLatin1String("--name") && !args.isEmpty())
            name = args.takeFirst();
        else if (a.startsWith(QLatin1Char('-')) || !output.isEmpty())
            understood = false;
        else
            output = a;
    }
    if (!understood || output.isEmpty() || cells < 2 || cells > 120) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }

    auto design = Build_Default_Design(cells);
    design->projectName = name;
    std::printf("%s\n%s", qPrintable(output), qPrintable(Default_Design_Figures(*design)));
    const QStringList problems = Check_Default_Design(*design);
    for (const QString& p : problems)
        std::fprintf(stderr, "wl_template: %s\n", qPrintable(p));
    // The shipped wing keeps its figures; another count is told where it
    // departs from them, and written.
    const QStringList figures = Check_Default_Figures(*design);
    for (const QString& f : figures)
        std::fprintf(stderr, cells == kShippedCells ? "wl_template: %s\n" : "wl_template: note: %s\n",
                     qPrintable(f));
    if (!problems.isEmpty() || (cells == kShippedCells && !figures.isEmpty()))
        return 1;

    myOpenFile file;
    if (!file.WriteParaStream(output, *design)) {
        std::fprintf(stderr, "wl_template: cannot write %s\n", qPrintable(output));
        return 1;
    }
    const QFileInfo info(output);
    const QString lines = info.absolutePath() + "/" + info.completeBaseName() + ".dsg";
    QSaveFile dsg(lines);
    if (dsg.open(QIODevice::WriteOnly)) {
        QDataStream out(&dsg);
        out << design->designSplines;
    }
    if (!dsg.commit()) {
        std::fprintf(stderr, "wl_template: cannot write %s\n", qPrintable(lines));
        return 1;
    }
    // What is written must read back through the checks of File > Open.
    QFile in(output);
    auto read = std::make_unique<ParaStruct>();
    QString reason;
    if (!in.open(QIODevice::ReadOnly) || !Read_Project(&in, read.get(), &reason)) {
        std::fprintf(stderr, "wl_template: %s does not read back: %s\n", qPrintable(output), qPrintable(reason));
        return 1;
    }
    return 0;
}
