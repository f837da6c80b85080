#include "messages/Presence.h"

#include "data/BoundSource.h"
#include "data/Session.h"
#include "data/DbError.h"
#include "data/ServerWait.h"
#include "data/SideBySide.h"
#include "data/TextForms.h"
#include "messages/PresenceLines.h"
#include "panes/MainWindowAccess.h"
#include "platform/Action.h"
#include "platform/ListExport.h"
#include "platform/PictureButton.h"
#include "platform/RowList.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <exception>
#include <future>
#include <numeric>
#include <thread>
#include <vector>

namespace talveros::messages {

namespace {

const QString kConsultants = QStringLiteral("TALVERO_consultants");

QString liveTrackingPausedText()
{
    return QStringLiteral("Live volgen wacht tot de server weer antwoordt.");
}

// The presence columns are read as text: a NULL there is a data error, where an empty
// name column is simply an empty name.
const char16_t *const kPresenceColumns[] = {u"isAANGEMELD", u"isAFGEMELD", u"isONLINE"};

// The columns of a list's fields: the table's, in the order the line shows them.
QStringList presenceColumns(bool client)
{
    return {QStringLiteral("isONLINE"),
            QStringLiteral("isAANGEMELD"),
            QStringLiteral("isAFGEMELD"),
            client ? QStringLiteral("Opdrachtgevernummer") : QStringLiteral("Consultantnummer"),
            QStringLiteral("Titel1"),
            QStringLiteral("voornaam"),
            QStringLiteral("tussenvoegsel"),
            QStringLiteral("naam")};
}

// What a list's lines were made of, kept for an export of the list as listed: the
// fields of every row in one compact copy, in the table's order (at every live-tracking
// tick a text per value would cost as much as the lines themselves), and each line's
// row there.
struct LineFields {
    std::shared_ptr<const data::RowStore> rows;
    std::vector<std::uint32_t> rowOfLine;
};

// A list's lines, sorted.
struct Lines {
    QStringList texts;
    LineFields fields;
};

Lines presenceLines(const data::BoundSource &source, QStringView numberColumn, bool client)
{
    const int number = source.columnIndex(numberColumn), title = source.columnIndex(u"Titel1"),
              firstName = source.columnIndex(u"voornaam"), prefix = source.columnIndex(u"tussenvoegsel"),
              surname = source.columnIndex(u"naam");
    int presence[3];
    for (int i = 0; i < 3; ++i)
        presence[i] = source.columnIndex(kPresenceColumns[i]);

    QStringList lines;
    lines.reserve(qsizetype(source.rowCount()));
    for (size_t row = 0; row < source.rowCount(); ++row) {
        for (int i = 0; i < 3; ++i) {
            if (source.isNullAt(row, presence[i]))
                throw data::DbError(QStringLiteral("22002"), 0,
                                    missingPresenceValueText(QString::fromUtf16(kPresenceColumns[i]), client,
                                                             source.fieldAt(row, number)));
        }
        lines << presenceLine({source.fieldAt(row, number), source.fieldAt(row, title), source.fieldAt(row, firstName),
                               source.fieldAt(row, prefix), source.fieldAt(row, surname),
                               source.fieldAt(row, presence[0]), source.fieldAt(row, presence[1]),
                               source.fieldAt(row, presence[2])});
    }
    Lines sorted;
    // In the order of presenceColumns.
    sorted.fields.rows = std::make_shared<const data::RowStore>(source.copyOfColumns(
        {presence[2], presence[0], presence[1], number, title, firstName, prefix, surname}));
    std::vector<std::uint32_t> &order = sorted.fields.rowOfLine;
    order.resize(size_t(lines.size()));
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&lines](std::uint32_t a, std::uint32_t b) { return presenceLineBefore(lines[a], lines[b]); });
    sorted.texts.reserve(lines.size());
    for (const std::uint32_t i : order)
        sorted.texts << lines[i];
    return sorted;
}

Lines consultantLines(const data::BoundSource &source) { return presenceLines(source, u"Consultantnummer", false); }
Lines clientLines(const data::BoundSource &source) { return presenceLines(source, u"opdrachtgevernummer", true); }

// Kept beside the list rather than in its items, which would cost a value per line.
class ListedFields final : public QObject {
public:
    explicit ListedFields(QListWidget &list) : QObject(&list) { setObjectName(QStringLiteral("listedFields")); }
    LineFields fields;
};

ListedFields &listedFields(const QListWidget &list)
{
    if (auto *kept = list.findChild<QObject *>(QStringLiteral("listedFields"), Qt::FindDirectChildrenOnly))
        return *static_cast<ListedFields *>(kept);
    return *new ListedFields(const_cast<QListWidget &>(list));
}

// The list's lines as shown, each with the fields it was made of.
class ListedLines final : public platform::ListRows {
public:
    ListedLines(QStringList texts, LineFields fields, bool client)
        : m_texts(std::move(texts)), m_fields(std::move(fields)), m_columns(presenceColumns(client))
    {
    }
    int count() const override { return int(m_texts.size()); }
    QString text(int row) const override { return m_texts.at(row); }
    QStringList columnNames() const override { return m_columns; }
    QStringList fields(int row) const override
    {
        if (!m_fields.rows || size_t(row) >= m_fields.rowOfLine.size())
            return {text(row)};
        QStringList values;
        for (int c = 0; c < m_fields.rows->columnCount(); ++c)
            values << m_fields.rows->text(m_fields.rowOfLine[size_t(row)], c);
        return values;
    }

private:
    QStringList m_texts;
    LineFields m_fields;
    QStringList m_columns;
};

std::shared_ptr<const platform::ListRows> listedRows(const QListWidget &list, bool client)
{
    QStringList texts;
    texts.reserve(list.count());
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return std::make_shared<ListedLines>(std::move(texts), listedFields(list).fields, client);
}

// All lines in one go; the administrator reading further down is not thrown back to
// the top by every live-tracking tick.
void show(QListWidget &list, Lines lines)
{
    const int scrolled = list.verticalScrollBar()->value();
    list.setUpdatesEnabled(false);
    list.clear();
    list.addItems(lines.texts);
    listedFields(list).fields = std::move(lines.fields);
    list.verticalScrollBar()->setValue(scrolled);
    list.setUpdatesEnabled(true);
}

// Clears a flag however the scope is left.
class BusyScope {
public:
    explicit BusyScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_flag;
};

} // namespace

void refreshPresenceLists(data::BoundSource &consultants, data::BoundSource &clients, QListWidget &consultantList,
                          QListWidget &clientList)
{
    data::BoundSource::refreshTogether({&consultants, &clients});
    // The two tables' lines are made side by side; the consultants' list is filled
    // before a failure among the clients is reported, as the lists are read.
    auto lines = data::readSideBySide<data::BoundSource, Lines>(
        {{consultantLines, &consultants}, {clientLines, &clients}});
    show(consultantList, lines[0].take());
    show(clientList, lines[1].take());
}

PresenceController::PresenceController(PresenceTab &tab, panes::MainWindowAccess &main, QObject *parent)
    : QObject(parent), m_tab(tab), m_main(main)
{
    connect(tab.trackingIndicator, &platform::PictureButton::doubleClicked, this,
            [this] { refresh(Trigger::Picture); });
    connect(tab.presenceTimer, &QTimer::timeout, this, &PresenceController::tick);
    connect(&main, &panes::MainWindowAccess::signOffAsked, this, &PresenceController::signOff);
    // A box closing would otherwise start a refresh that opens it again: the refresh
    // waits for the event that brought the administrator to the strip to end.
    connect(&main, &panes::MainWindowAccess::tabStripEntered, this,
            [this] { QTimer::singleShot(0, this, [this] { refresh(Trigger::Focus); }); });

    platform::Dialogs &dialogs = main.services().dialogs;
    platform::offerExport(tab.consultantPresenceList, dialogs, QStringLiteral("Aanwezigheid consultants"),
                          [list = tab.consultantPresenceList] { return listedRows(*list, false); });
    platform::offerExport(tab.clientPresenceList, dialogs, QStringLiteral("Aanwezigheid opdrachtgevers"),
                          [list = tab.clientPresenceList] { return listedRows(*list, true); });

    tab.presenceTimer->start();
}

struct PresenceController::ServerProbe {
    std::atomic<bool> running{false};
    std::atomic<bool> answered{false};
};

bool PresenceController::serverMayAnswer()
{
    if (!m_probe)
        return true;
    if (m_probe->answered)
        return true;
    // Whether the server answers again is found out beside the window, never by holding
    // it for a connection that cannot come.
    if (!m_probe->running.exchange(true)) {
        std::thread([probe = m_probe] {
            try {
                // Asked, not only connected: a connection kept from before may be one the
                // server has ended since.
                data::Session session;
                session.read("SELECT 1");
                probe->answered = true;
            } catch (...) {
            }
            probe->running = false;
        }).detach();
    }
    return false;
}

bool PresenceController::refresh(Trigger trigger)
{
    // Never inside another refresh, nor inside an action that waits for the server or
    // has a box open: that action may still be walking the same sources.
    if (m_busy || data::waitingForServer() || (trigger != Trigger::Picture && QApplication::activeModalWidget()))
        return false;
    // While the server cannot be reached, a refresh that comes on its own would only wait
    // for the same failure again.
    if (trigger != Trigger::Picture && !serverMayAnswer())
        return false;
    BusyScope busy(m_busy);
    bool done = false;
    platform::runAction(m_main.services().dialogs, [&] {
        try {
            refreshPresenceLists(m_main.consultantSource(), m_main.clientSource(), *m_tab.consultantPresenceList,
                                 *m_tab.clientPresenceList);
        } catch (const data::DbError &e) {
            if (e.kind() != data::ErrorKind::Unreachable) {
                m_probe.reset();
                if (isRepeated(trigger, e))
                    return;
                throw;
            }
            const bool first = !m_probe;
            m_probe = std::make_shared<ServerProbe>();
            if (!first && trigger != Trigger::Picture)
                return;
            m_lastFailure = QString::fromUtf8(e.what());
            throw data::DbError(e.kind(), e.sqlState(), e.nativeCode(),
                                e.text() + QStringLiteral("\r\n\r\n") + liveTrackingPausedText());
        } catch (const std::exception &e) {
            if (isRepeated(trigger, e))
                return;
            throw;
        }
        m_probe.reset();
        m_lastFailure.clear();
        done = true;
    });
    return done;
}

bool PresenceController::isRepeated(Trigger trigger, const std::exception &e)
{
    const QString failure = QString::fromUtf8(e.what());
    // A box at every tick would leave the administrator no moment to mend it.
    if (trigger != Trigger::Picture && failure == m_lastFailure)
        return true;
    m_lastFailure = failure;
    return false;
}

void PresenceController::tick()
{
    if (!m_tab.liveTrackingBox->isChecked()) {
        showIndicator(true);
        return;
    }
    if (!refresh(Trigger::Tick))
        return;
    if (!m_tab.trackingIndicator->isHidden()) {
        showIndicator(false);
        return;
    }
    BusyScope busy(m_busy);
    showIndicator(true);
    m_main.services().sound.playLiveTrackingSound();
    showIndicator(false);
}

void PresenceController::showIndicator(bool shown)
{
    QWidget *indicator = m_tab.trackingIndicator;
    if (indicator->isHidden() != shown)
        return;
    indicator->setHidden(!shown);
    if (m_tab.isVisible())
        m_tab.repaint(indicator->geometry());
}

void PresenceController::signOff()
{
    platform::runAction(m_main.services().dialogs, [this] {
        // An edit that could not be stored (the box has said why) is lost by ending:
        // only when the administrator says so, as when closing the window.
        if (!m_main.storePendingEditsOrLetGo(unsavedEditSignOffQuestion()))
            return;
        const QString shown = m_main.consultantSource().field(u"nummer");
        data::Session session;
        // The key narrows the read to the one row (the server compares numerically, so
        // "01" would pass it); the text must still be the one shown.
        data::RecordSet rs = session.records(kConsultants, data::Rows::matching("`nummer` = ?", {shown.toUtf8()}));
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            if (rs.fieldOrEmpty(u"nummer") == shown) {
                rs.setField(u"isAFGEMELD", data::dateTimeText(m_main.services().clock.now()));
                rs.setField(u"isONLINE", QStringLiteral("OFFLINE"));
                rs.update();
                break;
            }
        }
        rs.close();
        session.close();
        m_main.services().app.quit(0);
    });
}

} // namespace talveros::messages
