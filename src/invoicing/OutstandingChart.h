#pragma once

#include "invoicing/Declarations.h"

#include <QImage>
#include <QMargins>
#include <QWidget>

#include <vector>

class QChart;
class QChartView;
class QHBoxLayout;
class QGraphicsSimpleTextItem;
class QHorizontalBarSeries;
class QLabel;

namespace talveros::panes {
class MainWindowAccess;
}

namespace talveros::invoicing {

// The money outstanding as two bar charts side by side: what each client has yet to
// pay and what each consultant is yet to be paid, largest first, each bar with its sum
// written at its end; under each chart what it leaves out. A window of its own beside
// the main window, which may stay open while the administrator works on; it is drawn
// anew whenever the payment overview is loaded.
class OutstandingChart : public QWidget {
    Q_OBJECT
public:
    explicit OutstandingChart(panes::MainWindowAccess &main);
    ~OutstandingChart() override;

    // Reads the declarations again and draws both charts from them.
    void refresh();
    void draw(const OutstandingPanels &panels);

    // The two charts with their notes as one picture on white, `scale` times the size
    // they have on screen.
    QImage picture(qreal scale) const;
    void savePng();
    void print();

private:
    struct Panel {
        QString title;
        QColor colour;
        QLabel *heading = nullptr;
        QChartView *view = nullptr;
        QChart *chart = nullptr;
        QLabel *notes = nullptr;
        QHorizontalBarSeries *series = nullptr;
        // One name and one sum a bar, bottom to top. The chart's own axis would cut a
        // long name short to keep its share of the width; these take the room they need.
        std::vector<QGraphicsSimpleTextItem *> names;
        std::vector<QGraphicsSimpleTextItem *> amounts;
        QGraphicsSimpleTextItem *nothing = nullptr; // in place of bars that are not there
        qreal namesWidth = 0;
        QMargins margins; // the chart's own, without room for names
    };
    void setUpPanel(Panel &panel, const char *name);
    void drawPanel(Panel &panel, const OutstandingSums &sums);
    // Puts every name before its bar and every sum beside the end of its bar, or inside
    // it where the chart ends first.
    void placeTexts(Panel &panel);

    panes::MainWindowAccess &m_main;
    QWidget *m_content = nullptr;
    QHBoxLayout *m_columns = nullptr;
    Panel m_clients;
    Panel m_consultants;
};

} // namespace talveros::invoicing
