#pragma once

#include "platform/PageOutput.h"

class QPrinter;

namespace talveros::platform {

// Pages over Qt PrintSupport: the printing system (CUPS) for paper, Qt's own PDF
// writer for files, A4 portrait in "Courier New".
class QtPageOutput final : public PageOutput {
public:
    void print(const QStringList &lines, const QString &printerName) override;
    void writePdf(const QStringList &lines, const QString &fileName) override;
    std::optional<QString> askPdfFileName(QWidget *parent, const QString &suggestedName) override;
    void printPicture(const QImage &picture, const QString &printerName, const QString &documentName) override;

private:
    // `failed` is what the administrator is told when the pages cannot be made.
    static void paint(QPrinter &printer, const QStringList &lines, const QString &failed);
};

} // namespace talveros::platform
