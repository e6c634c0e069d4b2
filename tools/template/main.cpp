// Builds the default design and writes it as a project file.
//   wl_template [--cells N] [--name NAME] OUTPUT
// Prints the design's figures; fails (exit code 1) when the design does not
// pass its checks or the file cannot be written. The same arguments always
// give the same bytes.

#include "tools/template/defaultdesign.h"
#include "core/openfile.h"
#include "core/parastruct.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int cells = 34;
    QString name = QStringLiteral("template");
    QString output;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--cells") && !args.isEmpty())
            cells = args.takeFirst().toInt();
        else if (a == QLatin1String("--name") && !args.isEmpty())
            name = args.takeFirst();
        else
            output = a;
    }
    if (output.isEmpty() || cells < 2 || cells > 120) {
        std::fprintf(stderr, "usage: wl_template [--cells 2..120] [--name NAME] OUTPUT\n");
        return 2;
    }

    auto design = Build_Default_Design(cells);
    design->projectName = name;
    std::printf("%s\n%s", qPrintable(output), qPrintable(Default_Design_Figures(*design)));
    const QStringList problems = Check_Default_Design(*design);
    for (const QString& p : problems)
        std::fprintf(stderr, "wl_template: %s\n", qPrintable(p));
    if (!problems.isEmpty())
        return 1;

    myOpenFile file;
    if (!file.WriteParaStream(output, *design)) {
        std::fprintf(stderr, "wl_template: cannot write %s\n", qPrintable(output));
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
