#include "gallery_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "stand_in_art.h"
#include "widgets/history_plot.h"
#include "widgets/label_3d_border.h"
#include "widgets/meter_x.h"
#include "widgets/odometer.h"
#include "widgets/pz_label.h"
#include "widgets/scatter_plot.h"
#include "widgets/string_grid.h"
#include "widgets/xy_plot.h"

namespace gallery {

namespace {

using namespace orlimo;

QComboBox* combo(const QStringList& items, int current)
{
    auto* c = new QComboBox;
    c->addItems(items);
    c->setCurrentIndex(current);
    return c;
}

QSpinBox* spin(int min, int max, int value)
{
    auto* s = new QSpinBox;
    s->setRange(min, max);
    s->setValue(value);
    return s;
}

// A page: the shown widgets on a dark stage at the left, controls at the right.
QWidget* page(QWidget* stage, QFormLayout* controls)
{
    auto* w = new QWidget;
    auto* row = new QHBoxLayout(w);
    row->addWidget(stage, 1);
    auto* side = new QWidget;
    side->setLayout(controls);
    side->setMaximumWidth(260);
    row->addWidget(side);
    return w;
}

QWidget* darkStage(QSize size)
{
    auto* s = new QWidget;
    s->setMinimumSize(size);
    s->setAutoFillBackground(true);
    QPalette pal = s->palette();
    pal.setColor(QPalette::Window, QColor(0x15, 0x2B, 0x21));
    s->setPalette(pal);
    return s;
}

}  // namespace

QWidget* labelsPage()
{
    QWidget* stage = darkStage({330, 260});
    auto* readout = new TpzLabel(stage);
    readout->setGeometry(20, 20, 143, 25);
    readout->setCaption(QStringLiteral("N 24\xB0" "47.1234'"));
    readout->setAlignment(TAlignment::taRightJustify);
    readout->setBevelOuter(TLabelBevel::lbRaised);
    readout->setColor(Qt::black);
    readout->setFontColor(QColor(0xFF, 0xB3, 0xB3));
    QFont mono(QStringLiteral("Courier New"));
    mono.setPixelSize(15);
    mono.setBold(true);
    readout->setFont(mono);

    auto* tag = new TLabel3DBorder(stage);
    tag->move(20, 70);
    tag->setCaption(QStringLiteral("COM Port"));
    tag->setColor(QColor(0x37, 0x37, 0x37));
    tag->setFontColor(QColor(0xFF, 0xB3, 0xB3));
    tag->setBorderStyle(TLabel3DBorderStyle::bsFrame);
    tag->setVerticalAlign(TVerticalAlign::vaCenter);
    tag->setAlignment(TAlignment::taCenter);

    auto* big = new TpzLabel(stage);
    big->setGeometry(20, 110, 280, 120);
    big->setCaption(QStringLiteral("Embossed caption that wraps over several lines"));
    big->setWordWrap(true);
    big->setBevelOuter(TLabelBevel::lbRaised);
    big->setBevelWidth(3);
    big->setLabelStyle(TLabelStyle::lsRaised);
    big->setColor(QColor(0x40, 0x50, 0x60));
    big->setFontColor(Qt::white);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(18);
    f.setBold(true);
    big->setFont(f);

    auto* form = new QFormLayout;
    auto* caption = new QLineEdit(readout->caption());
    QObject::connect(caption, &QLineEdit::textChanged, readout, &TpzLabel::setCaption);
    form->addRow(QStringLiteral("Caption"), caption);
    const QStringList bevels{QStringLiteral("lbNone"), QStringLiteral("lbLowered"), QStringLiteral("lbRaised")};
    auto* outer = combo(bevels, 2);
    QObject::connect(outer, &QComboBox::currentIndexChanged, [=](int i) {
        readout->setBevelOuter(TLabelBevel(i));
        big->setBevelOuter(TLabelBevel(i));
    });
    form->addRow(QStringLiteral("BevelOuter"), outer);
    auto* inner = combo(bevels, 1);
    QObject::connect(inner, &QComboBox::currentIndexChanged, [=](int i) {
        readout->setBevelInner(TLabelBevel(i));
        big->setBevelInner(TLabelBevel(i));
    });
    form->addRow(QStringLiteral("BevelInner"), inner);
    auto* width = spin(1, 8, 3);
    QObject::connect(width, &QSpinBox::valueChanged, big, &TpzLabel::setBevelWidth);
    form->addRow(QStringLiteral("BevelWidth (big)"), width);
    auto* valign = combo({QStringLiteral("vaTop"), QStringLiteral("vaCenter"), QStringLiteral("vaBottom")}, 1);
    QObject::connect(valign, &QComboBox::currentIndexChanged,
                     [=](int i) { big->setVerticalAlignment(TVerticalAlignment(i)); });
    form->addRow(QStringLiteral("VerticalAlignment"), valign);
    auto* style = combo({QStringLiteral("lsNone"), QStringLiteral("lsLowered"), QStringLiteral("lsRaised")}, 2);
    QObject::connect(style, &QComboBox::currentIndexChanged,
                     [=](int i) { big->setLabelStyle(TLabelStyle(i)); });
    form->addRow(QStringLiteral("LabelStyle"), style);
    auto* border = combo({QStringLiteral("bsNone"), QStringLiteral("bsLight"), QStringLiteral("bsMedium"),
                          QStringLiteral("bsHeavy"), QStringLiteral("bsFrame"), QStringLiteral("bsRaisedFrame")},
                         4);
    QObject::connect(border, &QComboBox::currentIndexChanged,
                     [=](int i) { tag->setBorderStyle(TLabel3DBorderStyle(i)); });
    form->addRow(QStringLiteral("BorderStyle (tag)"), border);
    auto* enabled = new QCheckBox;
    enabled->setChecked(true);
    QObject::connect(enabled, &QCheckBox::toggled, [=](bool on) {
        readout->setEnabled(on);
        tag->setEnabled(on);
        big->setEnabled(on);
    });
    form->addRow(QStringLiteral("Enabled"), enabled);
    auto* transparent = new QCheckBox;
    QObject::connect(transparent, &QCheckBox::toggled, [=](bool on) {
        readout->setTransparent(on);
        big->setTransparent(on);
        tag->setTransparent(on);
    });
    form->addRow(QStringLiteral("Transparent"), transparent);
    return page(stage, form);
}

QWidget* meterPage()
{
    QWidget* stage = darkStage({250, 250});
    auto* dialPicture = new QLabel(stage);
    dialPicture->setPixmap(QPixmap::fromImage(dial(246, 360)));
    dialPicture->setGeometry(0, 0, 246, 246);

    auto* course = new TqvMeterX(stage);
    course->setGeometry(-4, -5, 250, 250);
    course->setMeterSize(250);
    course->setHeading(0);
    course->setNeedleLength(96);
    course->setNeedleLen0(94);
    course->setNeedleWidth(1);
    course->setOuterCircleWidth(1);
    course->setCenterCircleWidth(2);
    course->setNeedleColor(QColor(0x80, 0xBF, 0xFF));
    course->setArrAngle(5);
    course->setArrLen(8);
    course->setArrAngleLen(92);
    course->setArrFill(true);
    course->setArrFillColor(QColor(0x80, 0xFF, 0xFF));

    auto* speed = new TqvMeterX(stage);
    speed->setGeometry(2, 1, 240, 240);
    speed->setMeterSize(240);
    speed->setHeading(225);
    speed->setNeedleLength(78);
    speed->setCenterCircleWidth(20);
    speed->setCenterCircleColor(QColor(0x80, 0x00, 0x80));
    speed->setNeedleColor(QColor(0xFF, 0x80, 0x80));

    auto* form = new QFormLayout;
    auto* needle = new QSlider(Qt::Horizontal);
    needle->setRange(0, 360);
    QObject::connect(needle, &QSlider::valueChanged, [=](int v) {
        const int a = 225 + v * 3 / 4;
        speed->setHeading(a > 495 ? 135 : a);
        speed->setColor(a > 495 ? QColor(0xFF, 0x00, 0x80) : QColor(0x80, 0x80, 0x80));
    });
    form->addRow(QStringLiteral("Speed (0-400)"), needle);
    auto* heading = new QSlider(Qt::Horizontal);
    heading->setRange(0, 720);
    QObject::connect(heading, &QSlider::valueChanged, course, &TqvMeterX::setHeading);
    form->addRow(QStringLiteral("Course Heading"), heading);
    auto* arrAngle = spin(0, 45, 5);
    QObject::connect(arrAngle, &QSpinBox::valueChanged, course, &TqvMeterX::setArrAngle);
    form->addRow(QStringLiteral("ArrAngle"), arrAngle);
    auto* fill = new QCheckBox;
    fill->setChecked(true);
    QObject::connect(fill, &QCheckBox::toggled, course, &TqvMeterX::setArrFill);
    form->addRow(QStringLiteral("ArrFill"), fill);
    auto* width = spin(0, 8, 2);
    QObject::connect(width, &QSpinBox::valueChanged, speed, &TqvMeterX::setNeedleWidth);
    form->addRow(QStringLiteral("NeedleWidth"), width);
    auto* len0 = spin(0, 100, 0);
    QObject::connect(len0, &QSpinBox::valueChanged, speed, &TqvMeterX::setNeedleLen0);
    form->addRow(QStringLiteral("NeedleLen0"), len0);
    return page(stage, form);
}

QWidget* odometerPage()
{
    QWidget* stage = darkStage({260, 120});
    auto* odo = new TdkOdometer(stage);
    odo->move(20, 40);
    odo->setDigitStrip(digitStrip(QColor(0x40, 0x40, 0x40)));
    odo->setRedDigitStrip(digitStrip(QColor(0xC0, 0x00, 0x00)));
    odo->setDigitCount(6);
    odo->setRedDigitCount(1);
    odo->setAnimationType(TAnimationType::atAsynchronous);
    odo->setFrameInterval(40);

    auto* form = new QFormLayout;
    auto* value = spin(0, 2147483647, 0);
    QObject::connect(value, &QSpinBox::valueChanged, [=](int v) {
        odo->setValue(static_cast<quint32>(v));
        value->setToolTip(QString::number(odo->value()));
    });
    form->addRow(QStringLiteral("Value"), value);
    auto* buttons = new QHBoxLayout;
    auto* down = new QPushButton(QStringLiteral("-1"));
    auto* up = new QPushButton(QStringLiteral("+1"));
    QObject::connect(up, &QPushButton::clicked, [=] { value->setValue(int(odo->value()) + 1); });
    QObject::connect(down, &QPushButton::clicked, [=] { value->setValue(std::max(0, int(odo->value()) - 1)); });
    buttons->addWidget(down);
    buttons->addWidget(up);
    form->addRow(QStringLiteral("Step"), buttons);
    auto* base = combo({QStringLiteral("btBinary"), QStringLiteral("btDecimal"), QStringLiteral("btHexadecimal")}, 1);
    QObject::connect(base, &QComboBox::currentIndexChanged, [=](int i) { odo->setBaseType(TBaseType(i)); });
    form->addRow(QStringLiteral("BaseType"), base);
    auto* digits = spin(1, 12, 6);
    QObject::connect(digits, &QSpinBox::valueChanged, odo, &TdkOdometer::setDigitCount);
    form->addRow(QStringLiteral("DigitCount"), digits);
    auto* red = spin(0, 12, 1);
    QObject::connect(red, &QSpinBox::valueChanged, odo, &TdkOdometer::setRedDigitCount);
    form->addRow(QStringLiteral("RedDigitCount"), red);
    auto* anim = combo({QStringLiteral("atNone"), QStringLiteral("atSynchronous"), QStringLiteral("atAsynchronous")}, 2);
    QObject::connect(anim, &QComboBox::currentIndexChanged,
                     [=](int i) { odo->setAnimationType(TAnimationType(i)); });
    form->addRow(QStringLiteral("AnimationType"), anim);
    auto* interval = spin(0, 255, 40);
    QObject::connect(interval, &QSpinBox::valueChanged, odo, &TdkOdometer::setFrameInterval);
    form->addRow(QStringLiteral("FrameInterval"), interval);
    auto* dir = new QCheckBox;
    QObject::connect(dir, &QCheckBox::toggled, odo, &TdkOdometer::setIncTopToBottom);
    form->addRow(QStringLiteral("IncTopToBottom"), dir);
    return page(stage, form);
}

QWidget* chartPage()
{
    QWidget* stage = darkStage({355, 140});
    auto* plot = new Tkx_XYPlot(stage);
    plot->setGeometry(3, 3, 349, 128);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(9);
    plot->setFont(f);
    plot->setFontColor(QColor(0x80, 0xFF, 0xFF));
    plot->setColor(QColor(0x00, 0x00, 0x40));
    plot->setFieldColor(QColor(0x00, 0x00, 0x40));
    plot->setBufferedDisplay(true);
    const QColor green(0x32, 0xC9, 0x48);
    for (Tkx_Axis* a : {plot->leftAxis(), plot->rightAxis(), plot->bottomAxis(), plot->topAxis()}) {
        a->lineAttr()->setColor(green);
        a->lineAttr()->setWidth(2);
        a->setTicksLines(false);
    }
    plot->leftAxis()->setMargin(14);
    plot->leftAxis()->setCaption(QStringLiteral("dB-Hz"));
    plot->leftAxis()->setMax(60);
    plot->leftAxis()->setTicksCount(13);
    plot->leftAxis()->gridAttr()->setColor(green);
    plot->bottomAxis()->setMargin(0);
    plot->bottomAxis()->setMax(276);
    plot->bottomAxis()->setTicksCount(13);
    plot->bottomAxis()->setNoTicksLabel(true);
    plot->bottomAxis()->setTicksAdjusted(false);
    plot->bottomAxis()->gridAttr()->setColor(green);
    plot->topAxis()->setMargin(2);
    plot->topAxis()->setTicksCount(0);

    auto levels = std::make_shared<std::vector<int>>(12, 0);
    const QImage strip = signalStrip();
    plot->setOnFieldDraw([levels, strip](Tkx_XYPlot& sender) {
        QPainter* p = sender.DrawCanvas();
        for (int i = 0; i < int(levels->size()); ++i) {
            const int y = std::max(0, strip.height() - 2 * (*levels)[size_t(i)]);
            p->drawImage(QRect(QPoint(38 + 26 * i, y + 6), QPoint(49 + 26 * i, 124)), strip,
                         QRect(QPoint(0, y), QPoint(12, strip.height() - 1)));
        }
    });
    auto shuffle = [levels, plot] {
        for (int& v : *levels)
            v = QRandomGenerator::global()->bounded(0, 62);
        plot->redraw();
    };
    shuffle();

    auto* form = new QFormLayout;
    auto* again = new QPushButton(QStringLiteral("New levels"));
    QObject::connect(again, &QPushButton::clicked, shuffle);
    form->addRow(again);
    auto* max = spin(1, 100, 60);
    QObject::connect(max, &QSpinBox::valueChanged, [=](int v) { plot->leftAxis()->setMax(v); });
    form->addRow(QStringLiteral("Left Max"), max);
    auto* ticks = spin(0, 30, 13);
    QObject::connect(ticks, &QSpinBox::valueChanged, plot->leftAxis(), &Tkx_Scale::setTicksCount);
    form->addRow(QStringLiteral("Left TicksCount"), ticks);
    auto* marks = new QCheckBox;
    QObject::connect(marks, &QCheckBox::toggled, plot->leftAxis(), &Tkx_Scale::setTicksLines);
    form->addRow(QStringLiteral("Left TicksLines"), marks);
    auto* grid = new QCheckBox;
    grid->setChecked(true);
    QObject::connect(grid, &QCheckBox::toggled, plot->bottomAxis()->gridAttr(), &Tkx_LineAttr::setVisible);
    form->addRow(QStringLiteral("Bottom grid"), grid);
    return page(stage, form);
}

QWidget* gridPage()
{
    QWidget* stage = darkStage({355, 100});
    auto* g = new TXStringGrid(stage);
    g->setGeometry(1, 10, 349, 81);
    g->setColCount(13);
    g->setRowCount(4);
    g->setFixedRows(0);
    g->setFixedCols(1);
    g->setDefaultRowHeight(18);
    g->setDefaultColWidth(25);
    g->setColWidth(0, 30);
    g->setColWidth(12, 27);
    g->setOptions(goFixedVertLine | goFixedHorzLine | goVertLine);
    g->setFixedColor(QColor(0x1A, 0x30, 0x55));
    g->setGridLineColor(QColor(0x80, 0x80, 0x80));
    g->setSelectedColor(Qt::black);
    g->setSelectedTextColor(QColor(0x00, 0x80, 0x00));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    f.setBold(true);
    g->setFont(f);
    g->setFontColor(Qt::yellow);
    for (int c = 0; c < 13; ++c) {
        TXStringColumnItem* item = g->column(c);
        item->setColor(Qt::black);
        item->setFont(f);
        item->setFontColor(c == 0 ? QColor(Qt::yellow) : QColor(0x00, 0x80, 0x00));
        item->setAlignment(c == 0 ? TAlignment::taCenter : TAlignment::taRightJustify);
    }
    g->setColumnText(0, QStringLiteral("C/No\r\nSV\r\nAz\r\nEl"));
    const int snr[] = {42, 40, 38, 35, 33, 30, 21, 28, 16, 0};
    for (int c = 1; c <= 10; ++c) {
        g->setCell(c, 0, QString::number(snr[c - 1]));
        g->setCell(c, 1, QString::number(c * 3));
        g->setCell(c, 2, QString::number(c * 31 % 360));
        g->setCell(c, 3, QString::number(c * 7 % 90));
    }
    auto shown = std::make_shared<int>(10);
    g->setOnSelectCell([](TXStringGrid&, int, int, bool& can) { can = false; });
    g->setOnCellProps([shown](TXStringGrid& grid, TCellCanvas& canvas, TAlignment&, QString&, unsigned,
                              int row, int col) {
        if (col <= 0 || col > *shown)
            return;
        if (row <= 1) {
            const int s = grid.cell(col, 0).toInt();
            canvas.brushColor = col % 3 == 0 ? QColor(0xBB, 0xFF, 0x77)
                                : s > 0      ? QColor(0x80, 0xBF, 0xFF)
                                             : QColor(0xFF, 0x80, 0xC0);
        } else if (row == 2) {
            canvas.brushColor = QColor(0x01, 0x28, 0x45);
            canvas.fontColor = QColor(0xFF, 0xFF, 0xB9);
        } else {
            canvas.brushColor = QColor(0x37, 0x37, 0x37);
            canvas.fontColor = Qt::white;
        }
    });

    auto* form = new QFormLayout;
    auto* count = spin(0, 12, 10);
    QObject::connect(count, &QSpinBox::valueChanged, [=](int v) {
        *shown = v;
        g->update();
    });
    form->addRow(QStringLiteral("Coloured columns"), count);
    auto* multi = new QCheckBox;
    QObject::connect(multi, &QCheckBox::toggled, g, &TXStringGrid::setMultiLine);
    form->addRow(QStringLiteral("MultiLine"), multi);
    return page(stage, form);
}

QWidget* scatterPage()
{
    QWidget* stage = darkStage({310, 310});
    auto* plot = new TScatterPlot(stage);
    plot->setGeometry(5, 5, 300, 300);
    auto* count = spin(1, 20000, 2000);
    auto* sigma = spin(1, 500, 100);  // centimetres
    auto scatter = [=] {
        const double s = sigma->value() / 100.0;
        std::vector<QPointF> points;
        for (int i = 0; i < count->value(); ++i) {
            const double a = QRandomGenerator::global()->generateDouble() * 2 * std::numbers::pi;
            const double r = s * std::sqrt(-2 * std::log(1 - QRandomGenerator::global()->generateDouble()));
            points.emplace_back(r * std::cos(a), r * std::sin(a));
        }
        plot->SetPoints(points);
        plot->SetLastPoint(points.back());
        // Rayleigh radii for 50 % and 95 % of the points.
        const double cep50 = 1.1774 * s, cep95 = 2.4477 * s;
        plot->SetCircles({{cep50, QStringLiteral("50 % %1 m").arg(cep50, 0, 'f', 2), QColor(0x00, 0x90, 0x00)},
                          {cep95, QStringLiteral("95 % %1 m").arg(cep95, 0, 'f', 2), QColor(0xC0, 0x70, 0x00)}});
    };
    scatter();

    auto* form = new QFormLayout;
    auto* again = new QPushButton(QStringLiteral("New points"));
    QObject::connect(again, &QPushButton::clicked, scatter);
    form->addRow(again);
    QObject::connect(count, &QSpinBox::valueChanged, scatter);
    form->addRow(QStringLiteral("Points"), count);
    QObject::connect(sigma, &QSpinBox::valueChanged, scatter);
    form->addRow(QStringLiteral("Sigma (cm)"), sigma);
    return page(stage, form);
}

QWidget* historyPage()
{
    QWidget* stage = darkStage({410, 230});
    auto* plot = new THistoryPlot(stage);
    plot->setGeometry(5, 5, 400, 220);
    plot->SetTitle(QStringLiteral("Level (dB)"));
    auto series = std::make_shared<std::vector<THistorySeries>>();
    const QColor colours[] = {Qt::blue, Qt::darkGreen, Qt::red, Qt::darkMagenta};
    for (int k = 0; k < 4; ++k)
        series->push_back({QStringLiteral("line %1").arg(k + 1), colours[k], k == 1, {}});
    auto now = std::make_shared<double>(0);
    auto tick = [=] {
        *now += 1;
        for (size_t k = 0; k < series->size(); ++k) {
            auto& pts = (*series)[k].points;
            if (k == 3 && std::fmod(*now, 240) > 200)
                continue;  // a dropout, drawn as a gap
            pts.emplace_back(*now, 30 + 4 * double(k) + 5 * std::sin(*now / 50 + double(k)));
            while (!pts.empty() && pts.front().x() < *now - 3600)
                pts.erase(pts.begin());
        }
        plot->SetSeries(*series);
        plot->SetTimeWindow(*now - 600, *now);
    };
    for (int i = 0; i < 700; ++i)
        tick();
    auto* timer = new QTimer(plot);
    QObject::connect(timer, &QTimer::timeout, tick);

    auto* form = new QFormLayout;
    auto* live = new QCheckBox;
    QObject::connect(live, &QCheckBox::toggled, [=](bool on) { on ? timer->start(100) : timer->stop(); });
    form->addRow(QStringLiteral("Live (10 samples/s)"), live);
    auto* painted = new QLabel;
    QObject::connect(timer, &QTimer::timeout, [=] { painted->setNum(plot->PaintCount()); });
    form->addRow(QStringLiteral("Paints"), painted);
    return page(stage, form);
}

}  // namespace gallery
