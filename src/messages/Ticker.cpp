#include "messages/Ticker.h"

#include "data/Connection.h"
#include "data/RecordSet.h"
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
    connect(m_tab.Image25, &platform::PictureButton::clicked, this, [this] {
        platform::runAction(m_dialogs, [this] { send(); });
    });
    connect(m_tab.Image26, &platform::PictureButton::clicked, this, [this] {
        platform::runAction(m_dialogs, [this] { stop(); });
    });
    const QRadioButton *options[] = {m_tab.Option1, m_tab.Option2, m_tab.Option3};
    for (int i = 0; i < 3; ++i) {
        connect(options[i], &QRadioButton::clicked, this, [this, i] {
            platform::runAction(m_dialogs, [this, i] { takePreset(i + 1); });
        });
    }
}

void Ticker::load()
{
    data::Connection conn(data::Database::Main);
    data::RecordSet rs(conn, kTable);
    rs.moveFirst();
    const QString text = rs.eof() ? QString() : rs.field(u"Bericht");
    rs.close();
    conn.close();
    platform::setBoxText(m_tab.Text144, text);
    if (text.isEmpty())
        showStopped();
    else
        showRunning();
}

bool Ticker::isRunning() const
{
    // Whether the stop button is shown, not whether it is on screen: the window may
    // still be hidden.
    return !m_tab.Image26->isHidden();
}

void Ticker::showRunning()
{
    m_tab.Image25->hide();
    m_tab.Label11->hide();
    m_tab.Image26->show();
    m_tab.Label12->show();
    setBackground(m_tab.Text144, platform::colours::kPaleGreen);
    m_tab.Label9->setText(QStringLiteral("Bericht versturen aan alle gebruikers (lichtkrant LOOPT)"));
}

void Ticker::showStopped()
{
    m_tab.Image25->show();
    m_tab.Label11->show();
    m_tab.Image26->hide();
    m_tab.Label12->hide();
    setBackground(m_tab.Text144, platform::colours::kPaleRed);
    m_tab.Label9->setText(QStringLiteral("Bericht versturen aan alle gebruikers (lichtkrant GESTOPT)"));
}

bool Ticker::store(const QString &text)
{
    data::Connection conn(data::Database::Main);
    data::RecordSet rs(conn, kTable);
    rs.moveFirst();
    if (rs.eof()) {
        rs.close();
        conn.close();
        m_dialogs.message(missingMessageRowText(), QString::fromLatin1(platform::kAppTitle),
                          platform::Icon::Exclamation, platform::Buttons::Ok);
        return false;
    }
    rs.setField(u"Bericht", text);
    rs.update();
    rs.close();
    conn.close();
    return true;
}

void Ticker::send()
{
    const QString text = platform::boxText(m_tab.Text144);
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
    const QRadioButton *option = preset == 1 ? m_tab.Option1 : preset == 2 ? m_tab.Option2 : m_tab.Option3;
    platform::setBoxText(m_tab.Text144, option->text());
    if (isRunning())
        send();
}

} // namespace talveros::messages
