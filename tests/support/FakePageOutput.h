#pragma once

#include "platform/Failure.h"

#include "platform/PageOutput.h"

#include <QImage>

#include <stdexcept>
#include <vector>

namespace talveros::test {

// Records what would have been printed or written; a name to answer the file dialog
// with (none: cancelled), and a failure to throw when `failWith` is set.
class FakePageOutput final : public platform::PageOutput {
public:
    struct Job {
        QStringList lines;
        QString target; // printer name or file name
    };

    void print(const QStringList &lines, const QString &printerName) override
    {
        if (!failWith.isEmpty())
            throw platform::Failure(failWith);
        printed.push_back({lines, printerName});
    }
    void writePdf(const QStringList &lines, const QString &fileName) override
    {
        if (!failWith.isEmpty())
            throw platform::Failure(failWith);
        written.push_back({lines, fileName});
    }
    void printPicture(const QImage &picture, const QString &printerName, const QString &documentName) override
    {
        if (!failWith.isEmpty())
            throw platform::Failure(failWith);
        pictures.push_back({picture, printerName, documentName});
    }
    std::optional<QString> askPdfFileName(QWidget *, const QString &suggestedName) override
    {
        suggested << suggestedName;
        return pdfFileName;
    }

    std::vector<Job> printed;
    std::vector<Job> written;
    struct PictureJob {
        QImage picture;
        QString printer;
        QString document;
    };
    std::vector<PictureJob> pictures;
    QStringList suggested;
    std::optional<QString> pdfFileName;
    QString failWith;
};

} // namespace talveros::test
