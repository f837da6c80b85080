#include "messages/Ticker.h"

#include "data/Session.h"
#include "data/UnknownWrites.h"
#include "messages/CommunicationTab.h"
#include "platform/Action.h"
#include "platform/Colours.h"
#include "platform/TextBox.h"

namespace talveros::messages {

namespace {
const QString kTable = QStringLiteral("TALVERO_berichten");

void setBackground(QWidget *box, const QColor &colour)
{
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, colour);
    box->setPalette(pal);
}
} // namespace

QString missingMessageRowText()
{
    return QStringLiteral("De tabel TALVERO_berichten bevat geen berichtregel. Het bericht is niet opgeslagen.");
}

Ticker::Ticker(CommunicationTab &tab, platform::Dialogs &dialogs, QObject *parent)
    : QObject(parent), m_tab(tab), m_dialogs(dialogs)
{
    connect(m_tab.sendButton, &platform::PictureButton::clicked, this, [this] {
        platform::runAction(m_dialogs, [this] { send(); });
    });
    connect(m_tab.stopButton, &platform::PictureButton::clicked, this, [this] {
        platform::runAction(m_dialogs, [this] { stop(); });
    });
    const QRadioButton *options[] = {m_tab.presetGeneral, m_tab.presetMaintenance, m_tab.presetHoliday};
    for (int i = 0; i < 3; ++i) {
        connect(options[i], &QRadioButton::clicked, this, [this, i] {
            platform::runAction(m_dialogs, [this, i] { takePreset(i + 1); });
        });
    }
}

void Ticker::load()
{
    data::Session session;
    data::RecordSet rs = session.records(kTable);
    rs.moveFirst();
    const QString text = rs.eof() ? QString() : rs.field(u"Bericht");
    rs.close();
    session.close();
    platform::setBoxText(m_tab.messageBox, text);
    if (text.isEmpty())
        showStopped();
    else
        showRunning();
}

bool Ticker::isRunning() const
{
    // Whether the stop button is shown, not whether it is on screen: the window may
    // still be hidden.
    return !m_tab.stopButton->isHidden();
}

void Ticker::showRunning()
{
    m_tab.sendButton->hide();
    m_tab.sendCaption->hide();
    m_tab.stopButton->show();
    m_tab.stopCaption->show();
    setBackground(m_tab.messageBox, platform::colours::kPaleGreen);
    m_tab.tickerStateHeading->setText(QStringLiteral("Bericht versturen aan alle gebruikers (lichtkrant LOOPT)"));
}

void Ticker::showStopped()
{
    m_tab.sendButton->show();
    m_tab.sendCaption->show();
    m_tab.stopButton->hide();
    m_tab.stopCaption->hide();
    setBackground(m_tab.messageBox, platform::colours::kPaleRed);
    m_tab.tickerStateHeading->setText(QStringLiteral("Bericht versturen aan alle gebruikers (lichtkrant GESTOPT)"));
}

namespace {
const QString kMessageColumn = QStringLiteral("Bericht");

data::DbError messageNotKnown(const data::DbError &e, const QString &said)
{
    return e.retold(said + QStringLiteral("\n(%1)").arg(e.text()));
}

// The message row as a fresh connection reads it; nullopt when it holds none.
std::optional<data::SqlValue> storedMessage()
{
    data::Session session;
    const data::RowStore rows = session.read("select `Bericht` from `TALVERO_berichten`");
    session.close();
    if (rows.rowCount() == 0)
        return std::nullopt;
    return rows.row(0)[0];
}
} // namespace

QString messageNotStoredText()
{
    return QStringLiteral("De verbinding met de databaseserver ging verloren; het bericht is niet opgeslagen. U kunt "
                          "het opnieuw proberen.");
}

QString messageOutcomeUnknownText()
{
    return QStringLiteral("De verbinding met de databaseserver ging verloren tijdens het opslaan van het bericht: of "
                          "het is opgeslagen, is niet bekend. Verstuurt u het opnieuw zodra de server weer antwoordt.");
}

QString messageChangedMeanwhileText()
{
    return QStringLiteral("De verbinding met de databaseserver ging verloren, en intussen staat er een ander bericht "
                          "in TALVERO_berichten: uw bericht is niet opgeslagen.");
}

bool Ticker::store(const QString &text)
{
    // A message sent earlier whose session could not be ended might still overwrite this
    // one afterwards; it is ended first.
    if (!data::unknownwrites::endSessions(data::UnknownWrite::Kind::Update, kTable))
        throw data::DbError(data::ErrorKind::Unreachable, QStringLiteral("08S01"), 0,
                            messageOutcomeUnknownText());
    for (const data::UnknownWrite &earlier : data::unknownwrites::of(data::UnknownWrite::Kind::Update, kTable))
        data::unknownwrites::forget(earlier.id);

    data::Session session;
    data::RecordSet rs = session.records(kTable);
    rs.moveFirst();
    if (rs.eof()) {
        rs.close();
        session.close();
        m_dialogs.message(missingMessageRowText(), QString::fromLatin1(platform::kAppTitle),
                          platform::Icon::Exclamation, platform::Buttons::Ok);
        return false;
    }
    const data::SqlValue before = rs.isNull(kMessageColumn) ? data::SqlValue() : data::SqlValue(rs.field(kMessageColumn).toUtf8());
    rs.setField(kMessageColumn, text);
    try {
        rs.update();
    } catch (const data::DbError &e) {
        if (e.kind() != data::ErrorKind::Unreachable)
            throw;
        if (e.stillRunning()) {
            data::unknownwrites::remember({data::UnknownWrite::Kind::Update, kTable, {}, e.stillRunning(), false, 0});
            throw messageNotKnown(e, messageOutcomeUnknownText());
        }
        // Nothing sent can still run: the row tells.
        std::optional<data::SqlValue> now;
        try {
            now = storedMessage();
        } catch (const data::DbError &) {
            throw messageNotKnown(e, messageOutcomeUnknownText());
        }
        if (now && *now == data::SqlValue(text.toUtf8()))
            return true;
        throw messageNotKnown(e, now && *now == before ? messageNotStoredText() : messageChangedMeanwhileText());
    }
    rs.close();
    session.close();
    return true;
}

void Ticker::send()
{
    const QString text = platform::boxText(m_tab.messageBox);
    if (!store(text))
        return;
    // An empty message stops the users' ticker, so that is the state to show.
    if (text.isEmpty())
        showStopped();
    else
        showRunning();
}

void Ticker::stop()
{
    if (store(QString()))
        showStopped();
}

void Ticker::takePreset(int preset)
{
    const QRadioButton *option = preset == 1   ? m_tab.presetGeneral
                                 : preset == 2 ? m_tab.presetMaintenance
                                               : m_tab.presetHoliday;
    platform::setBoxText(m_tab.messageBox, option->text());
    if (isRunning())
        send();
}

} // namespace talveros::messages
