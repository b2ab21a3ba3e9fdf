// Turns the user manual from Markdown into the PDF the monitor's Help menu opens.
// Usage: zelmanual INPUT.md OUTPUT.pdf
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

// The pictures, drawn at the screen's size, would spill over the page's margins.
constexpr double kMaxPictureWidth = 560;

// Pictures are named relative to the manual's folder; each is shrunk to fit the page's width.
void addPictures(QTextDocument& document, const QDir& folder) {
    // Formats are changed after the walk: changing one may merge the fragments walked.
    std::vector<std::pair<QTextFragment, QTextImageFormat>> shrunk;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage image(folder.filePath(format.name()));
            if (image.isNull()) {
                std::fprintf(stderr, "zelmanual: cannot read the picture %s\n",
                             qPrintable(format.name()));
                continue;
            }
            document.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
            if (image.width() <= kMaxPictureWidth) continue;
            format.setWidth(kMaxPictureWidth);
            format.setHeight(kMaxPictureWidth * image.height() / image.width());
            shrunk.emplace_back(fragment, format);
        }
    }
    for (const auto& [fragment, format] : shrunk) {
        QTextCursor cursor(&document);
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

}  // namespace

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
    addPictures(document, QFileInfo(args[1]).absoluteDir());

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
