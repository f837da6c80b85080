#pragma once

#include "platform/Failure.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QImage;
class QWidget;

namespace talveros::platform {

// Puts lines of fixed-pitch text on paper or into a PDF file: the same pages both
// ways, a page break only ever between two lines. A failure is thrown as an exception
// whose text tells the administrator what went wrong. Pictures go on paper too.
class PageOutput {
public:
    virtual ~PageOutput() = default;

    // Prints on the printer of that device name.
    virtual void print(const QStringList &lines, const QString &printerName) = 0;
    virtual void writePdf(const QStringList &lines, const QString &fileName) = 0;
    // Asks where a PDF goes; empty when the administrator cancels.
    virtual std::optional<QString> askPdfFileName(QWidget *parent, const QString &suggestedName) = 0;
    // Prints a picture on one page of that printer, as large as the page takes it
    // without changing its proportions, turned to the page's long side if it is wider
    // than high. An output that has no paper (the benchmarks') refuses.
    virtual void printPicture(const QImage & /*picture*/, const QString & /*printerName*/,
                              const QString & /*documentName*/)
    {
        throw Failure(QStringLiteral("Afbeeldingen kunnen hier niet worden afgedrukt."));
    }
};

// Splits lines into pages of at most `linesPerPage` lines, only ever between two lines.
// A run of lines between empty lines (one invoice block) moves whole to the next page
// when it would not fit on the rest of this one but fits on a page of its own.
QList<QStringList> pagesOf(const QStringList &lines, int linesPerPage);

} // namespace talveros::platform
