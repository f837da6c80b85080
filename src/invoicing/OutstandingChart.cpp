#include "invoicing/OutstandingChart.h"

#include "invoicing/DeclarationText.h"
#include "panes/MainWindowAccess.h"
#include "platform/Colours.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QMargins>
#include <QtMath>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace talveros::invoicing {

namespace {

// Room beyond the largest bar for its sum, as a share of that bar.
constexpr qreal kLabelRoom = 0.35;
// Printed pages get the picture at this many times its size on screen: sharp on paper.
constexpr qreal kPrintScale = 2;
constexpr int kGap = 6;
// What a chart needs besides its names: its bars, their sums and its margins.
constexpr int kBarsWidth = 420;

const QLocale kDutch(QLocale::Dutch, QLocale::Netherlands);

QString nothingToShow(const OutstandingSums &sums)
{
    return sums.declarations == 0 ? QStringLiteral("Geen openstaande declaraties.")
                                  : QStringLiteral("Geen bedrag om te tonen: zie de toelichting hieronder.");
}

QString titleOf(const QString &title, const OutstandingSums &sums)
{
    return sums.bars.empty() ? title : title + QStringLiteral(": ") + euroText(sums.total);
}

QString declarationsText(int count)
{
    return count == 1 ? QStringLiteral("1 declaratie") : QStringLiteral("%1 declaraties").arg(count);
}

} // namespace

OutstandingChart::OutstandingChart(panes::MainWindowAccess &main)
    : QWidget(main.window(), Qt::Window), m_main(main)
{
    setObjectName(QStringLiteral("outstandingChart"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Openstaande bedragen"));

    m_clients.title = QStringLiteral("Nog te ontvangen van opdrachtgevers");
    m_clients.colour = platform::colours::kYellow;
    m_consultants.title = QStringLiteral("Nog te betalen aan consultants");
    m_consultants.colour = platform::colours::kLightGreen;

    // What a picture of the window holds: the charts and their notes, on white.
    m_content = new QWidget(this);
    m_content->setObjectName(QStringLiteral("chartContent"));
    m_content->setAutoFillBackground(true);
    QPalette white = m_content->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    m_content->setPalette(white);
    m_columns = new QHBoxLayout(m_content);
    m_columns->setContentsMargins(kGap, kGap, kGap, kGap);
    m_columns->setSpacing(2 * kGap);
    for (auto [panel, name] : {std::pair{&m_clients, "clients"}, std::pair{&m_consultants, "consultants"}}) {
        setUpPanel(*panel, name);
        auto *column = new QVBoxLayout;
        column->addWidget(panel->heading);
        column->addWidget(panel->view, 1);
        column->addWidget(panel->notes);
        m_columns->addLayout(column, 1);
    }

    auto *save = new QPushButton(QStringLiteral("Opslaan als PNG\u2026"), this);
    save->setObjectName(QStringLiteral("savePngButton"));
    auto *print = new QPushButton(QStringLiteral("Afdrukken"), this);
    print->setObjectName(QStringLiteral("printChartButton"));
    auto *close = new QPushButton(QStringLiteral("Sluiten"), this);
    close->setObjectName(QStringLiteral("closeChartButton"));
    connect(save, &QPushButton::clicked, this, [this] { m_main.act([this] { savePng(); }); });
    connect(print, &QPushButton::clicked, this, [this] { m_main.act([this] { OutstandingChart::print(); }); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // The keys the administrator knows for the same.
    auto *saveKey = new QAction(this);
    saveKey->setShortcut(QKeySequence::Save);
    connect(saveKey, &QAction::triggered, save, &QPushButton::click);
    auto *printKey = new QAction(this);
    printKey->setShortcut(QKeySequence::Print);
    connect(printKey, &QAction::triggered, print, &QPushButton::click);
    auto *closeKey = new QAction(this);
    closeKey->setShortcut(QKeySequence::Cancel);
    connect(closeKey, &QAction::triggered, this, &QWidget::close);
    addActions({saveKey, printKey, closeKey});

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(print);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(kGap, kGap, kGap, kGap);
    root->addWidget(m_content, 1);
    root->addLayout(buttons);

    // Wide enough for long names and their sums side by side, where the screen allows.
    QSize size(1400, 820);
    if (const QScreen *screen = main.window() ? main.window()->screen() : nullptr)
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
}

OutstandingChart::~OutstandingChart() = default;

void OutstandingChart::setUpPanel(Panel &panel, const char *name)
{
    panel.chart = new QChart;
    panel.chart->setObjectName(QString::fromLatin1(name) + QStringLiteral("Chart"));
    panel.chart->legend()->hide();
    panel.chart->setLocale(kDutch);
    panel.chart->setLocalizeNumbers(true);
    panel.chart->setBackgroundRoundness(0);
    // The margins leave room for the bars' sums and the last amount on the money axis.
    panel.chart->setMargins(QMargins(kGap, kGap, 4 * kGap, kGap));
    // Above the chart rather than in it: the chart would centre its title over the bars
    // and cut it short where long names take the room.
    panel.heading = new QLabel(m_content);
    panel.heading->setObjectName(QString::fromLatin1(name) + QStringLiteral("Heading"));
    panel.heading->setAlignment(Qt::AlignCenter);
    panel.heading->setTextFormat(Qt::PlainText);
    QFont heading = panel.heading->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.15);
    panel.heading->setFont(heading);
    panel.view = new QChartView(panel.chart, m_content);
    panel.view->setObjectName(QString::fromLatin1(name) + QStringLiteral("ChartView"));
    panel.view->setRenderHint(QPainter::Antialiasing);
    panel.view->setMinimumSize(420, 360);
    panel.margins = panel.chart->margins();
    panel.notes = new QLabel(m_content);
    panel.notes->setObjectName(QString::fromLatin1(name) + QStringLiteral("Notes"));
    panel.notes->setWordWrap(true);
    panel.notes->setTextFormat(Qt::PlainText);
    panel.notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(panel.chart, &QChart::plotAreaChanged, this, [this, &panel] { placeTexts(panel); });
}

void OutstandingChart::refresh() { draw(readOutstanding()); }

void OutstandingChart::draw(const OutstandingPanels &panels)
{
    drawPanel(m_clients, panels.clients);
    drawPanel(m_consultants, panels.consultants);
    // Each chart as wide as its names need beside bars of the same length.
    m_columns->setStretch(0, int(m_clients.namesWidth) + kBarsWidth);
    m_columns->setStretch(1, int(m_consultants.namesWidth) + kBarsWidth);
}

void OutstandingChart::drawPanel(Panel &panel, const OutstandingSums &sums)
{
    QChart *chart = panel.chart;
    for (auto *items : {&panel.names, &panel.amounts}) {
        for (QGraphicsSimpleTextItem *item : *items)
            delete item;
        items->clear();
    }
    panel.namesWidth = 0;
    chart->setMargins(panel.margins);
    delete panel.nothing;
    panel.nothing = nullptr;
    chart->removeAllSeries();
    panel.series = nullptr;
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    panel.heading->setText(titleOf(panel.title, sums));

    QStringList notes;
    if (const QString rest = restNote(sums); !rest.isEmpty())
        notes << rest;
    if (const QString unread = unreadNote(sums.unread); !unread.isEmpty())
        notes << unread;
    panel.notes->setText(notes.join(QLatin1Char('\n')));
    panel.notes->setVisible(!notes.isEmpty());

    std::vector<OutstandingBar> bars = sums.bars;
    if (sums.rest)
        bars.push_back(*sums.rest);
    if (bars.empty()) {
        panel.nothing = new QGraphicsSimpleTextItem(nothingToShow(sums), chart);
        panel.nothing->setData(0, QStringLiteral("nothing"));
        QFont font = chart->font();
        font.setPointSizeF(font.pointSizeF() * 1.15);
        panel.nothing->setFont(font);
        chart->layout()->activate();
        placeTexts(panel);
        return;
    }

    // A horizontal chart counts its categories from the bottom; the largest goes on top.
    const QStringList labels = barLabels(sums);
    QStringList categories;
    auto *set = new QBarSet(panel.title);
    set->setColor(panel.colour);
    set->setBorderColor(panel.colour.darker(170));
    std::int64_t most = 0, least = 0;
    for (size_t k = bars.size(); k-- > 0;) {
        categories << labels[qsizetype(k)];
        *set << qreal(bars[k].cents) / 100;
        most = std::max(most, bars[k].cents);
        least = std::min(least, bars[k].cents);
    }
    panel.series = new QHorizontalBarSeries;
    panel.series->setBarWidth(0.7);
    panel.series->append(set);
    chart->addSeries(panel.series);
    auto *names = new QBarCategoryAxis;
    names->append(categories);
    names->setLabelsVisible(false);
    chart->addAxis(names, Qt::AlignLeft);
    panel.series->attachAxis(names);
    auto *money = new QValueAxis;
    money->setLabelFormat(QStringLiteral("%.0f"));
    const qreal top = std::max<qreal>(1, qreal(most) / 100 * (1 + kLabelRoom));
    const qreal bottom = least < 0 ? qreal(least) / 100 * (1 + kLabelRoom) : 0;
    money->setRange(bottom, top);
    money->applyNiceNumbers();
    money->setTitleText(QStringLiteral("euro"));
    money->setTruncateLabels(false);
    chart->addAxis(money, Qt::AlignBottom);
    panel.series->attachAxis(money);

    auto text = [chart](const QString &shown, const char *role) {
        auto *item = new QGraphicsSimpleTextItem(shown, chart);
        item->setFont(chart->font());
        item->setZValue(10);
        item->setData(0, QString::fromLatin1(role));
        return item;
    };
    for (const QString &category : categories) {
        panel.names.push_back(text(category, "name"));
        panel.namesWidth = std::max(panel.namesWidth, panel.names.back()->boundingRect().width());
    }
    for (size_t k = bars.size(); k-- > 0;)
        panel.amounts.push_back(text(euroText(bars[k].cents), "amount"));
    QMargins room = panel.margins;
    room.setLeft(room.left() + qCeil(panel.namesWidth) + kGap);
    chart->setMargins(room);
    // The whole name and what the bar holds, also for a name shortened to fit.
    connect(set, &QBarSet::hovered, this, [bars, labels](bool over, int index) {
        if (!over || index < 0 || size_t(index) >= bars.size()) {
            QToolTip::hideText();
            return;
        }
        const size_t k = bars.size() - 1 - size_t(index);
        const OutstandingBar &bar = bars[k];
        const QString name = bar.name.isEmpty() ? labels[qsizetype(k)] : oneLine(bar.name);
        QToolTip::showText(QCursor::pos(), QStringLiteral("%1\n%2 (%3)")
                                               .arg(name, euroText(bar.cents), declarationsText(bar.declarations)));
    });
    chart->layout()->activate();
    placeTexts(panel);
}

void OutstandingChart::placeTexts(Panel &panel)
{
    QChart *chart = panel.chart;
    const QRectF area = chart->plotArea();
    if (panel.nothing) {
        const QRectF text = panel.nothing->boundingRect();
        panel.nothing->setPos(area.center() - QPointF(text.width() / 2, text.height() / 2));
        return;
    }
    if (!panel.series || panel.series->barSets().isEmpty())
        return;
    const QBarSet *set = panel.series->barSets().first();
    for (size_t i = 0; i < panel.amounts.size(); ++i) {
        const qreal value = set->at(int(i));
        const QPointF zero = chart->mapToPosition(QPointF(0, qreal(i)), panel.series);
        const QPointF end = chart->mapToPosition(QPointF(value, qreal(i)), panel.series);
        QGraphicsSimpleTextItem *name = panel.names[i];
        name->setPos(area.left() - kGap - name->boundingRect().width(), zero.y() - name->boundingRect().height() / 2);
        QGraphicsSimpleTextItem *amount = panel.amounts[i];
        const QRectF text = amount->boundingRect();
        const qreal y = end.y() - text.height() / 2;
        // Beyond the end of the bar, on the side it grows to; inside it where the plot
        // area ends first.
        qreal x = value >= 0 ? end.x() + kGap : end.x() - kGap - text.width();
        if (value >= 0 && x + text.width() > area.right())
            x = std::max(zero.x() + kGap, end.x() - kGap - text.width());
        else if (value < 0 && x < area.left())
            x = std::min(zero.x() - kGap - text.width(), end.x() + kGap);
        amount->setPos(x, y);
    }
}

QImage OutstandingChart::picture(qreal scale) const
{
    const QSize size = m_content->size();
    QImage image(QSize(qRound(size.width() * scale), qRound(size.height() * scale)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    m_content->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.end();
    return image;
}

void OutstandingChart::savePng()
{
    platform::Dialogs &dialogs = m_main.services().dialogs;
    const QString suggested =
        QStringLiteral("openstaande-bedragen-%1.png").arg(m_main.services().clock.today().toString(Qt::ISODate));
    std::optional<QString> chosen = dialogs.saveFileName(QStringLiteral("Grafiek opslaan als PNG"), suggested,
                                                         {QStringLiteral("PNG-afbeeldingen (*.png)")});
    if (!chosen)
        return;
    QString file = *chosen;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".png");
    // Written beside the file and put in its place only when whole: a failure leaves
    // nothing behind, and an earlier file of that name as it was.
    QSaveFile out(file);
    const QImage image = picture(1);
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit())
        dialogs.message(QStringLiteral("Het bestand '%1' kan niet worden geschreven.").arg(file),
                        QString::fromLatin1(platform::kAppTitle), platform::Icon::Exclamation, platform::Buttons::Ok);
}

void OutstandingChart::print()
{
    const QString printer = m_main.printerOrSayNone();
    if (printer.isEmpty())
        return;
    m_main.services().pages.printPicture(picture(kPrintScale), printer, windowTitle());
}

} // namespace talveros::invoicing
