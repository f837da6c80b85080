#include "platform/QtPageOutput.h"

#include "platform/Failure.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <stdexcept>

namespace talveros::platform {

namespace {

constexpr qreal kPointSize = 8.25;
// The smallest size a long line may shrink the whole text to before it is cut off at
// the margin instead.
constexpr qreal kSmallestPointSize = 5.0;

Failure failure(const QString &text) { return Failure(text); }

void setUpPage(QPrinter &printer)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

} // namespace

QList<QStringList> pagesOf(const QStringList &lines, int linesPerPage)
{
    linesPerPage = std::max(1, linesPerPage);
    QList<QStringList> pages;
    QStringList page;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool startsRun = !lines[i].isEmpty() && (i == 0 || lines[i - 1].isEmpty());
        if (startsRun && !page.isEmpty()) {
            qsizetype run = i;
            while (run < lines.size() && !lines[run].isEmpty())
                ++run;
            const qsizetype length = run - i;
            if (length <= linesPerPage && page.size() + length > linesPerPage) {
                pages << page;
                page.clear();
            }
        }
        if (page.size() == linesPerPage) {
            pages << page;
            page.clear();
        }
        page << lines[i];
    }
    if (!page.isEmpty())
        pages << page;
    return pages;
}

void QtPageOutput::paint(QPrinter &printer, const QStringList &lines, const QString &failed)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw failure(failed);

    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(kPointSize);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution()).translated(
        -printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());

    // A line wider than the page makes the whole text smaller, so that the columns of
    // every line keep lining up.
    qsizetype widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, line.size());
    painter.setFont(font);
    qreal charWidth = QFontMetricsF(painter.font(), &printer).horizontalAdvance(QLatin1Char('M'));
    if (widest > 0 && charWidth * qreal(widest) > page.width()) {
        font.setPointSizeF(std::max(kSmallestPointSize, kPointSize * page.width() / (charWidth * qreal(widest))));
        painter.setFont(font);
    }
    const QFontMetricsF metrics(painter.font(), &printer);
    const qreal lineHeight = metrics.lineSpacing();
    const QList<QStringList> pages = pagesOf(lines, int(page.height() / lineHeight));
    for (qsizetype p = 0; p < pages.size(); ++p) {
        if (p > 0 && !printer.newPage())
            throw failure(failed);
        for (qsizetype i = 0; i < pages[p].size(); ++i)
            painter.drawText(QPointF(page.left(), page.top() + qreal(i) * lineHeight + metrics.ascent()), pages[p][i]);
    }
    if (!painter.end())
        throw failure(failed);
}

void QtPageOutput::print(const QStringList &lines, const QString &printerName)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (printerName.isEmpty() || info.isNull())
        throw failure(QStringLiteral("De printer '%1' is niet gevonden.").arg(printerName));
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Factuur"));
    setUpPage(printer);
    paint(printer, lines, QStringLiteral("Het afdrukken op de printer '%1' is niet gelukt.").arg(printerName));
}

void QtPageOutput::printPicture(const QImage &picture, const QString &printerName, const QString &documentName)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (printerName.isEmpty() || info.isNull())
        throw failure(QStringLiteral("De printer '%1' is niet gevonden.").arg(printerName));
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(documentName);
    setUpPage(printer);
    if (picture.width() > picture.height())
        printer.setPageOrientation(QPageLayout::Landscape);
    const QString failed = QStringLiteral("Het afdrukken op de printer '%1' is niet gelukt.").arg(printerName);
    QPainter painter;
    if (!painter.begin(&printer))
        throw failure(failed);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    painter.drawImage(QRect(QPoint(0, 0), picture.size().scaled(page, Qt::KeepAspectRatio)), picture);
    if (!painter.end())
        throw failure(failed);
}

void QtPageOutput::writePdf(const QStringList &lines, const QString &fileName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    printer.setDocName(QFileInfo(fileName).completeBaseName());
    printer.setCreator(QStringLiteral("Talveros"));
    setUpPage(printer);
    const QString failed = QStringLiteral("Het bestand '%1' kan niet worden geschreven.").arg(fileName);
    paint(printer, lines, failed);
    if (!QFileInfo::exists(fileName))
        throw failure(failed);
}

std::optional<QString> QtPageOutput::askPdfFileName(QWidget *parent, const QString &suggestedName)
{
    QString name = QFileDialog::getSaveFileName(parent, QStringLiteral("Factuur opslaan als PDF"), suggestedName,
                                                QStringLiteral("PDF-bestanden (*.pdf)"));
    if (name.isEmpty())
        return std::nullopt;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".pdf");
    return name;
}

} // namespace talveros::platform
