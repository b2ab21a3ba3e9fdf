// Turns the user manual from Markdown into the PDF the monitor's Help menu opens.
// Usage: zelmanual INPUT.md OUTPUT.pdf
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char* argv[]) {
    // Fonts and page metrics need a GUI application, never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: zelmanual INPUT.md OUTPUT.pdf\n");
        return 2;
    }
    QFile input(args[1]);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "zelmanual: cannot read %s: %s\n", qPrintable(args[1]),
                     qPrintable(input.errorString()));
        return 1;
    }
    QTextDocument document;
    document.setMarkdown(QString::fromUtf8(input.readAll()));

    QPdfWriter writer(args[2]);
    writer.setTitle(QStringLiteral("ZEL Monitor User Manual"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    document.print(&writer);
    if (QFile(args[2]).size() == 0) {
        std::fprintf(stderr, "zelmanual: could not write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
