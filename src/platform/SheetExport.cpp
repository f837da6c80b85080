#include "platform/SheetExport.h"

#include "platform/RowList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace talveros::platform {

namespace {

// Progress is told every this many rows: often enough for a bar that moves, seldom
// enough to cost nothing beside the writing.
constexpr int kProgressEvery = 1024;
// A sheet holds this many lines, the header line included.
constexpr qint64 kMaxSheetLines = LXW_ROW_MAX;
// An Excel cell holds at most this many characters.
constexpr qsizetype kMaxCellChars = 32767;

// The file under a passing name beside the target, removed unless it was put in the
// target's place.
class PassingFile {
public:
    explicit PassingFile(const QString &target) : m_target(target)
    {
        const QFileInfo info(target);
        if (info.isDir())
            throw ExportFailure(exportFailureText(target, QStringLiteral("er staat al een map met die naam")));
        m_name = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()
                                   + QStringLiteral(".XXXXXX"));
        m_fd = ::mkstemp(m_name.data());
        if (m_fd < 0)
            fail(errno);
        m_created = true;
    }
    ~PassingFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_created && !m_placed)
            ::unlink(m_name.constData());
    }
    PassingFile(const PassingFile &) = delete;
    PassingFile &operator=(const PassingFile &) = delete;

    int fd() const { return m_fd; }
    const char *name() const { return m_name.constData(); }
    [[noreturn]] void fail(int error) const { failBecause(writeFailureReason(error)); }
    [[noreturn]] void failBecause(const QString &reason) const
    {
        throw ExportFailure(exportFailureText(m_target, reason));
    }

    void writeAll(const QByteArray &bytes)
    {
        const char *at = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            const ssize_t n = ::write(m_fd, at, size_t(left));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                fail(errno);
            }
            at += n;
            left -= n;
        }
    }
    // Lets another writer open the file by its name.
    void closeFd()
    {
        if (m_fd >= 0) {
            const int fd = m_fd;
            m_fd = -1;
            if (::close(fd) != 0)
                fail(errno);
        }
    }
    // On the disk, with the permissions the target had (or a new file gets), in the
    // target's place.
    void place()
    {
        if (m_fd < 0) { // written by another writer, by name
            m_fd = ::open(m_name.constData(), O_RDONLY | O_CLOEXEC);
            if (m_fd < 0)
                fail(errno);
        }
        if (::fsync(m_fd) != 0)
            fail(errno);
        closeFd();
        const QByteArray target = QFile::encodeName(QFileInfo(m_target).absoluteFilePath());
        struct stat was {};
        mode_t mode;
        if (::stat(target.constData(), &was) == 0) {
            mode = was.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        ::chmod(m_name.constData(), mode);
        if (::rename(m_name.constData(), target.constData()) != 0)
            fail(errno);
        m_placed = true;
    }

private:
    QString m_target;
    QByteArray m_name;
    int m_fd = -1;
    bool m_created = false;
    bool m_placed = false;
};

bool writeCsv(const ListRows &rows, PassingFile &file, const ExportProgress &progress)
{
    constexpr qsizetype kFlushAt = 1 << 20;
    QByteArray buffer(kUtf8ByteOrderMark);
    buffer.reserve(kFlushAt + 4096);
    buffer += csvLine(rows.columnNames());
    const int count = rows.count();
    for (int r = 0; r < count; ++r) {
        if (r % kProgressEvery == 0 && !progress(r))
            return false;
        buffer += csvLine(rows.fields(r));
        if (buffer.size() >= kFlushAt) {
            file.writeAll(buffer);
            buffer.clear();
        }
    }
    file.writeAll(buffer);
    return progress(count);
}

bool isHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// A workbook stores a character XML cannot hold as "_xHHHH_" (the writer does that for
// control characters), so a value that itself holds such a run would come back as that
// character: its underscore is stored as "_x005F_" to come back as itself.
QString workbookText(const QString &value)
{
    qsizetype at = value.indexOf(QLatin1String("_x"));
    if (at < 0)
        return value;
    QString out;
    qsizetype from = 0;
    for (; at >= 0; at = value.indexOf(QLatin1String("_x"), at + 1)) {
        if (at + 7 > value.size() || value[at + 6] != u'_' || !isHex(value[at + 2]) || !isHex(value[at + 3])
            || !isHex(value[at + 4]) || !isHex(value[at + 5]))
            continue;
        out += QStringView(value).sliced(from, at - from);
        out += QLatin1String("_x005F");
        from = at;
    }
    out += QStringView(value).sliced(from);
    return out;
}

class Workbook {
public:
    explicit Workbook(PassingFile &file) : m_file(file)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE; // each row goes to disk as it is written
        errno = 0;
        m_book = workbook_new_opt(file.name(), &options);
        if (!m_book)
            file.fail(errno ? errno : EIO);
        m_sheet = workbook_add_worksheet(m_book, "Lijst");
        m_header = workbook_add_format(m_book);
        if (!m_sheet || !m_header)
            throw std::bad_alloc();
        format_set_bold(m_header);
    }
    ~Workbook()
    {
        if (m_book)
            lxw_workbook_free(m_book);
    }
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    void writeRow(lxw_row_t row, const QStringList &fields, const QStringList &names, lxw_format *format = nullptr)
    {
        for (qsizetype c = 0; c < fields.size(); ++c) {
            const QString &value = fields[c];
            if (value.isEmpty())
                continue;
            if (value.size() > kMaxCellChars)
                throw ExportFailure(
                    QStringLiteral("De lijst kan niet als Excel-werkmap worden opgeslagen: de waarde in regel %1, "
                                   "kolom \u201c%2\u201d, is langer dan de %3 tekens die een cel kan bevatten. Sla de "
                                   "lijst op als CSV.")
                        .arg(row)
                        .arg(names.value(c))
                        .arg(kMaxCellChars));
            const lxw_error e = worksheet_write_string(m_sheet, row, lxw_col_t(c), workbookText(value).toUtf8().constData(),
                                                   format);
            if (e != LXW_NO_ERROR)
                throw ExportFailure(QStringLiteral("De lijst kan niet als Excel-werkmap worden opgeslagen: %1.")
                                        .arg(QString::fromUtf8(lxw_strerror(e))));
        }
    }
    lxw_format *header() const { return m_header; }
    lxw_worksheet *sheet() const { return m_sheet; }

    // Writes the workbook out whole.
    void close()
    {
        lxw_workbook *book = m_book;
        m_book = nullptr;
        errno = 0;
        const lxw_error e = workbook_close(book);
        if (e != LXW_NO_ERROR) {
            const int error = errno;
            if (error)
                m_file.fail(error);
            m_file.failBecause(QString::fromUtf8(lxw_strerror(e)));
        }
    }

private:
    PassingFile &m_file;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_header = nullptr;
};

bool writeXlsx(const ListRows &rows, PassingFile &file, const ExportProgress &progress)
{
    const int count = rows.count();
    if (count + 1 > kMaxSheetLines)
        throw ExportFailure(QStringLiteral("De lijst heeft %1 regels; een Excel-werkblad bevat er ten hoogste %2. Sla de "
                                           "lijst op als CSV.")
                                .arg(count)
                                .arg(kMaxSheetLines - 1));
    file.closeFd();
    Workbook book(file);
    const QStringList names = rows.columnNames();
    // Columns as wide as their header or the widest of the first rows, within reason.
    std::vector<qsizetype> widths;
    for (const QString &name : names)
        widths.push_back(name.size());
    for (int r = 0; r < std::min(count, 200); ++r) {
        const QStringList fields = rows.fields(r);
        for (qsizetype c = 0; c < fields.size() && c < qsizetype(widths.size()); ++c)
            widths[size_t(c)] = std::max(widths[size_t(c)], fields[c].size());
    }
    for (size_t c = 0; c < widths.size(); ++c)
        worksheet_set_column(book.sheet(), lxw_col_t(c), lxw_col_t(c), double(std::clamp<qsizetype>(widths[c], 8, 60)) + 2,
                             nullptr);
    worksheet_freeze_panes(book.sheet(), 1, 0);

    book.writeRow(0, names, names, book.header());
    for (int r = 0; r < count; ++r) {
        if (r % kProgressEvery == 0 && !progress(r))
            return false;
        book.writeRow(lxw_row_t(r) + 1, rows.fields(r), names);
    }
    if (!progress(count))
        return false;
    book.close();
    return true;
}

} // namespace

QByteArray csvLine(const QStringList &fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ';';
        const QByteArray value = fields[i].toUtf8();
        if (value.contains(';') || value.contains('"') || value.contains('\r') || value.contains('\n')) {
            line += '"';
            for (const char c : value) {
                if (c == '"')
                    line += '"';
                line += c;
            }
            line += '"';
        } else {
            line += value;
        }
    }
    // A row of one empty field is a quoted nothing, not an empty line that readers skip.
    if (fields.size() == 1 && fields[0].isEmpty())
        line += "\"\"";
    line += "\r\n";
    return line;
}

bool writeSheet(const ListRows &rows, const QString &path, SheetFormat format, const ExportProgress &progress)
{
    PassingFile file(path);
    const bool complete = format == SheetFormat::Csv ? writeCsv(rows, file, progress) : writeXlsx(rows, file, progress);
    if (complete)
        file.place();
    return complete;
}

QString exportFailureText(const QString &path, const QString &reason)
{
    return QStringLiteral("De lijst kon niet worden opgeslagen in \u201c%1\u201d: %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString writeFailureReason(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("de map bestaat niet");
    case EACCES:
    case EPERM:
        return QStringLiteral("u hebt geen toestemming om in die map te schrijven");
    case EROFS:
        return QStringLiteral("de map is alleen te lezen");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("de schijf is vol");
    case EISDIR:
        return QStringLiteral("er staat al een map met die naam");
    case ENAMETOOLONG:
        return QStringLiteral("de naam is te lang");
    default:
        return QStringLiteral("het systeem meldt \u201c%1\u201d").arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

} // namespace talveros::platform
