// widget-gallery: shows each self-drawn widget with controls for its main
// properties. `--screenshot FILE` saves a picture of every page and quits.
#include <QApplication>
#include <QCommandLineParser>
#include <QTabWidget>
#include <QTimer>

#include "gallery_pages.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser cli;
    cli.addHelpOption();
    QCommandLineOption shot(QStringLiteral("screenshot"),
                            QStringLiteral("Save PNGs of the pages (FILE-<n>.png) and quit."),
                            QStringLiteral("FILE"));
    cli.addOption(shot);
    cli.process(app);

    QTabWidget tabs;
    tabs.setWindowTitle(QStringLiteral("Widget gallery"));
    tabs.addTab(gallery::labelsPage(), QStringLiteral("Labels"));
    tabs.addTab(gallery::meterPage(), QStringLiteral("Needle meter"));
    tabs.addTab(gallery::odometerPage(), QStringLiteral("Odometer"));
    tabs.addTab(gallery::chartPage(), QStringLiteral("Chart"));
    tabs.addTab(gallery::gridPage(), QStringLiteral("Grid"));
    tabs.addTab(gallery::scatterPage(), QStringLiteral("Scatter"));
    tabs.addTab(gallery::historyPage(), QStringLiteral("History"));
    tabs.resize(640, 480);
    tabs.show();

    if (cli.isSet(shot)) {
        const QString base = cli.value(shot);
        QTimer::singleShot(300, &tabs, [&tabs, base] {
            for (int i = 0; i < tabs.count(); ++i) {
                tabs.setCurrentIndex(i);
                tabs.grab().save(QStringLiteral("%1-%2.png").arg(base).arg(i));
            }
            QApplication::quit();
        });
    }
    return app.exec();
}
